#include "ui/toolkit/button.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/toolkit/attributes.h"
#include "ui/toolkit/skin_window.h"

namespace forge::ui {

namespace {

QColor Pick(const QColor& preferred, const QColor& fallback) {
  return preferred.isValid() ? preferred : fallback;
}

}  // namespace

ButtonUI::ButtonUI(QWidget* parent) : LabelUI(parent) {
  SetTextAlign(Qt::AlignCenter);
  setCursor(Qt::PointingHandCursor);
}

bool ButtonUI::SetAttribute(const QString& name, const QString& value) {
  if (name == u"normalimage") {
    normalImage_ = value;
  } else if (name == u"hotimage") {
    hotImage_ = value;
  } else if (name == u"pushedimage") {
    pushedImage_ = value;
  } else if (name == u"disabledimage") {
    disabledImage_ = value;
  } else if (name == u"hotbkcolor") {
    return ReadColor(value, hotBkColor_);
  } else if (name == u"pushedbkcolor") {
    return ReadColor(value, pushedBkColor_);
  } else if (name == u"hottextcolor") {
    return ReadColor(value, hotTextColor_);
  } else if (name == u"pushedtextcolor") {
    return ReadColor(value, pushedTextColor_);
  } else if (name == u"hotbordercolor") {
    return ReadColor(value, hotBorderColor_);
  } else {
    return LabelUI::SetAttribute(name, value);
  }
  update();
  return true;
}

bool ButtonUI::Activate() {
  if (!IsVisible() || !isEnabled()) return false;
  Notify(QString::fromUtf16(notify::kClick), 0, 0, lastPress_);
  return true;
}

void ButtonUI::PaintStatusImage(QPainter& painter) {
  if (!isEnabled() && DrawImage(painter, disabledImage_)) return;
  if (isEnabled() && pushed_ && DrawImage(painter, pushedImage_)) return;
  if (isEnabled() && (hot_ || pushed_) && DrawImage(painter, hotImage_)) return;
  DrawImage(painter, normalImage_);
}

QColor ButtonUI::CurrentBkColor() const {
  if (isEnabled() && pushed_ && pushedBkColor_.isValid()) return pushedBkColor_;
  if (isEnabled() && (hot_ || pushed_) && hotBkColor_.isValid()) return hotBkColor_;
  return LabelUI::CurrentBkColor();
}

QColor ButtonUI::CurrentBorderColor() const {
  if (isEnabled() && (hot_ || pushed_)) return Pick(hotBorderColor_, LabelUI::CurrentBorderColor());
  return LabelUI::CurrentBorderColor();
}

QColor ButtonUI::CurrentTextColor() const {
  if (isEnabled() && pushed_ && pushedTextColor_.isValid()) return pushedTextColor_;
  if (isEnabled() && (hot_ || pushed_) && hotTextColor_.isValid()) return hotTextColor_;
  return LabelUI::CurrentTextColor();
}

void ButtonUI::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  pushed_ = true;
  if (auto* window = Window()) lastPress_ = mapTo(window, event->position().toPoint());
  update();
  event->accept();
}

void ButtonUI::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pushed_) {
    event->ignore();
    return;
  }
  pushed_ = false;
  update();
  event->accept();
  if (rect().contains(event->position().toPoint())) Activate();
}

void ButtonUI::enterEvent(QEnterEvent* event) {
  hot_ = true;
  update();
  LabelUI::enterEvent(event);
}

void ButtonUI::leaveEvent(QEvent* event) {
  hot_ = false;
  update();
  LabelUI::leaveEvent(event);
}

void ButtonUI::OnEnabledChanged() {
  if (!IsEnabled()) pushed_ = hot_ = false;
  update();
}

OptionUI::OptionUI(QWidget* parent) : ButtonUI(parent) {}

bool OptionUI::SetAttribute(const QString& name, const QString& value) {
  if (name == u"group") {
    group_ = value;
  } else if (name == u"selected") {
    bool selected = false;
    if (!ReadBool(value, selected)) return false;
    // Layout values set the state without notifying anybody.
    Selected(selected, false);
  } else if (name == u"selectedimage") {
    selectedImage_ = value;
  } else if (name == u"selectedhotimage") {
    selectedHotImage_ = value;
  } else if (name == u"selectedbkcolor") {
    return ReadColor(value, selectedBkColor_);
  } else if (name == u"selectedhotbkcolor") {
    return ReadColor(value, selectedHotBkColor_);
  } else if (name == u"selectedtextcolor") {
    return ReadColor(value, selectedTextColor_);
  } else if (name == u"selectedbordercolor") {
    return ReadColor(value, selectedBorderColor_);
  } else {
    return ButtonUI::SetAttribute(name, value);
  }
  update();
  return true;
}

bool OptionUI::Activate() {
  if (!ButtonUI::Activate()) return false;
  Selected(group_.isEmpty() ? !selected_ : true);
  return true;
}

void OptionUI::Selected(bool selected, bool sendNotification) {
  if (selected_ == selected) return;
  selected_ = selected;
  update();
  if (!group_.isEmpty()) {
    if (!selected) return;
    if (auto* window = Window()) {
      for (auto* widget : window->findChildren<QWidget*>()) {
        auto* other = dynamic_cast<OptionUI*>(widget);
        if (other && other != this && other->group_ == group_)
          other->Selected(false, sendNotification);
      }
    }
  }
  if (sendNotification) Notify(QString::fromUtf16(notify::kSelectChanged));
}

void OptionUI::PaintStatusImage(QPainter& painter) {
  if (selected_) {
    if (isEnabled() && IsHot() && DrawImage(painter, selectedHotImage_)) return;
    if (DrawImage(painter, selectedImage_)) return;
  }
  ButtonUI::PaintStatusImage(painter);
}

QColor OptionUI::CurrentBkColor() const {
  if (selected_) {
    if (isEnabled() && IsHot() && selectedHotBkColor_.isValid()) return selectedHotBkColor_;
    if (selectedBkColor_.isValid()) return selectedBkColor_;
  }
  return ButtonUI::CurrentBkColor();
}

QColor OptionUI::CurrentBorderColor() const {
  if (selected_ && selectedBorderColor_.isValid()) return selectedBorderColor_;
  return ButtonUI::CurrentBorderColor();
}

QColor OptionUI::CurrentTextColor() const {
  if (selected_ && isEnabled() && selectedTextColor_.isValid()) return selectedTextColor_;
  return ButtonUI::CurrentTextColor();
}

}  // namespace forge::ui
