#include "ui/toolkit/label.h"

#include <QFontMetrics>
#include <QPainter>

#include "ui/toolkit/attributes.h"
#include "ui/toolkit/markup.h"
#include "ui/toolkit/skin_window.h"

namespace forge::ui {

LabelUI::LabelUI(QWidget* parent) : ControlUI(parent) {}

bool LabelUI::SetAttribute(const QString& name, const QString& value) {
  if (name == u"font") {
    const auto index = ParseInt(value);
    if (!index) return false;
    font_ = *index;
  } else if (name == u"textcolor" || name == u"disabledtextcolor") {
    const auto color = ParseColor(value);
    if (!color) return false;
    (name == u"textcolor" ? textColor_ : disabledTextColor_) = *color;
  } else if (name == u"align") {
    align_ &= ~Qt::AlignHorizontal_Mask;
    if (value == u"left") {
      align_ |= Qt::AlignLeft;
    } else if (value == u"center") {
      align_ |= Qt::AlignHCenter;
    } else if (value == u"right") {
      align_ |= Qt::AlignRight;
    } else {
      return false;
    }
  } else if (name == u"valign") {
    align_ &= ~Qt::AlignVertical_Mask;
    if (value == u"top") {
      align_ |= Qt::AlignTop;
    } else if (value == u"vcenter" || value == u"center") {
      align_ |= Qt::AlignVCenter;
    } else if (value == u"bottom") {
      align_ |= Qt::AlignBottom;
    } else {
      return false;
    }
  } else if (name == u"textpadding") {
    const auto edges = ParseEdges(value);
    if (!edges) return false;
    textPadding_ = *edges;
  } else if (name == u"endellipsis" || name == u"showhtml" || name == u"wordbreak") {
    const auto flag = ParseBool(value);
    if (!flag) return false;
    (name == u"endellipsis" ? endEllipsis_ : name == u"showhtml" ? showHtml_ : wordBreak_) =
        *flag;
  } else {
    return ControlUI::SetAttribute(name, value);
  }
  update();
  return true;
}

QFont LabelUI::Font() const {
  auto* window = Window();
  return window ? window->Font(font_) : font();
}

QRect LabelUI::TextRect() const { return rect().marginsRemoved(textPadding_); }

QSize LabelUI::TextExtent() const {
  auto* window = Window();
  if (showHtml_ && window) {
    return MeasureMarkup(ParseMarkup(Text()), [window](int i) { return window->Font(i); },
                         window->Package());
  }
  const QFontMetrics metrics(Font());
  if (wordBreak_) {
    return metrics.boundingRect(QRect(0, 0, std::max(1, TextRect().width()), 100000),
                                Qt::TextWordWrap, Text())
        .size();
  }
  return QSize(metrics.horizontalAdvance(Text()), metrics.height());
}

QColor LabelUI::CurrentTextColor() const { return isEnabled() ? textColor_ : disabledTextColor_; }

void LabelUI::PaintText(QPainter& painter) {
  if (Text().isEmpty()) return;
  const QRect area = TextRect();
  auto* window = Window();
  if (showHtml_ && window) {
    MarkupStyle style;
    style.color = CurrentTextColor();
    style.align = align_;
    style.elide = endEllipsis_;
    DrawMarkup(painter, area, ParseMarkup(Text()), [window](int i) { return window->Font(i); },
               window->Package(), style);
    return;
  }
  painter.save();
  painter.setFont(Font());
  painter.setPen(CurrentTextColor());
  painter.setClipRect(area, Qt::IntersectClip);
  if (wordBreak_) {
    painter.drawText(area, static_cast<int>(align_) | Qt::TextWordWrap, Text());
  } else {
    QString text = Text();
    if (endEllipsis_) text = painter.fontMetrics().elidedText(text, Qt::ElideRight, area.width());
    painter.drawText(area, static_cast<int>(align_) | Qt::TextSingleLine, text);
  }
  painter.restore();
}

TextUI::TextUI(QWidget* parent) : LabelUI(parent) {
  SetWordBreak(true);
  SetTextAlign(Qt::AlignLeft | Qt::AlignTop);
}

}  // namespace forge::ui
