// Text controls.
//
//   LabelUI  one line of text (class "LabelUI").
//   TextUI   text broken into lines at word boundaries (class "TextUI").
//
// Attributes beyond ControlUI's: font (index into the window's fonts), textcolor,
// disabledtextcolor, align (left, center, right), valign (top, vcenter, bottom), textpadding
// "l,t,r,b", endellipsis (end a text that does not fit with "..."), showhtml (inline markup, see
// markup.h), wordbreak (break into lines).
//
// UI thread only, except SetText (ControlUI).
#pragma once

#include <QFont>

#include "ui/toolkit/control.h"

namespace forge::ui {

class LabelUI : public ControlUI {
 public:
  explicit LabelUI(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("LabelUI"); }
  bool SetAttribute(const QString& name, const QString& value) override;

  int FontIndex() const { return font_; }
  QFont Font() const;  // the control's font from the window's list
  QColor TextColor() const { return textColor_; }
  // Where the text goes: the control minus its text padding.
  QRect TextRect() const;
  // The size the current text needs (for wrapped text: at the width of TextRect).
  QSize TextExtent() const;
  bool EndEllipsis() const { return endEllipsis_; }
  bool ShowsMarkup() const { return showHtml_; }
  bool WordBreak() const { return wordBreak_; }

 protected:
  void PaintText(QPainter& painter) override;
  virtual QColor CurrentTextColor() const;
  Qt::Alignment TextAlign() const { return align_; }
  void SetTextAlign(Qt::Alignment align) { align_ = align; }
  void SetWordBreak(bool wordBreak) { wordBreak_ = wordBreak; }

 private:
  void PaintWrapped(QPainter& painter, const QRect& area) const;

  int font_ = -1;
  QColor textColor_ = QColor(0xFF1F2933);
  QColor disabledTextColor_ = QColor(0xFF9AA5B1);
  Qt::Alignment align_ = Qt::AlignLeft | Qt::AlignVCenter;
  QMargins textPadding_;
  bool endEllipsis_ = false;
  bool showHtml_ = false;
  bool wordBreak_ = false;
};

class TextUI : public LabelUI {
 public:
  explicit TextUI(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("TextUI"); }
};

}  // namespace forge::ui
