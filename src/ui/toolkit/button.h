// Clickable controls.
//
//   ButtonUI      sends "click" when pressed and released over it (class "ButtonUI").
//   OptionUI      a button with a selected state (class "OptionUI"). Options of one "group"
//                 select one at a time; a click selects. Without a group a click toggles.
//                 "selectchanged" goes out when an option becomes selected, and for options
//                 without a group on every change.
//   CheckBoxUI    an option drawn as a check box (class "CheckBoxUI").
//
// Button attributes beyond LabelUI's: normalimage, hotimage, pushedimage, disabledimage (image
// strings of the states), hotbkcolor, pushedbkcolor, hottextcolor, pushedtextcolor,
// hotbordercolor. Option attributes: group, selected, selectedimage, selectedhotimage,
// selectedbkcolor, selectedhotbkcolor, selectedtextcolor, selectedbordercolor.
//
// UI thread only, except the ControlUI calls marked otherwise.
#pragma once

#include "ui/toolkit/label.h"

namespace forge::ui {

class ButtonUI : public LabelUI {
 public:
  explicit ButtonUI(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("ButtonUI"); }
  bool SetAttribute(const QString& name, const QString& value) override;

  // What a click does: sends "click" (a menu element sends "itemclick"). Nothing happens for a
  // hidden or disabled button. Answers whether the click went out.
  virtual bool Activate();

  bool IsHot() const { return hot_; }
  bool IsPushed() const { return pushed_; }

 protected:
  void PaintStatusImage(QPainter& painter) override;
  QColor CurrentBkColor() const override;
  QColor CurrentBorderColor() const override;
  QColor CurrentTextColor() const override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void OnEnabledChanged() override;

  QString normalImage_, hotImage_, pushedImage_, disabledImage_;
  QColor hotBkColor_, pushedBkColor_, hotTextColor_, pushedTextColor_, hotBorderColor_;
  QPoint lastPress_;

 private:
  bool hot_ = false;
  bool pushed_ = false;
};

class OptionUI : public ButtonUI {
 public:
  explicit OptionUI(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("OptionUI"); }
  bool SetAttribute(const QString& name, const QString& value) override;

  bool Activate() override;
  bool IsSelected() const { return selected_; }
  // Selects or clears the option; selecting one of a group clears the others. With
  // `sendNotification` the change sends "selectchanged" as described above.
  void Selected(bool selected, bool sendNotification = true);
  QString Group() const { return group_; }

 protected:
  void PaintStatusImage(QPainter& painter) override;
  QColor CurrentBkColor() const override;
  QColor CurrentBorderColor() const override;
  QColor CurrentTextColor() const override;

 private:
  QString group_;
  bool selected_ = false;
  QString selectedImage_, selectedHotImage_;
  QColor selectedBkColor_, selectedHotBkColor_, selectedTextColor_, selectedBorderColor_;
};

class CheckBoxUI : public OptionUI {
 public:
  using OptionUI::OptionUI;
  QString GetClass() const override { return QStringLiteral("CheckBoxUI"); }
};

}  // namespace forge::ui
