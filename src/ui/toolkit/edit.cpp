#include "ui/toolkit/edit.h"

#include <QEvent>
#include <QLineEdit>
#include <QPalette>

#include "ui/toolkit/attributes.h"
#include "ui/toolkit/skin_window.h"

namespace forge::ui {

EditUI::EditUI(QWidget* parent) : LabelUI(parent), edit_(new QLineEdit(this)) {
  edit_->setFrame(false);
  edit_->setAttribute(Qt::WA_MacShowFocusRect, false);
  setCursor(Qt::IBeamCursor);
  QObject::connect(edit_, &QLineEdit::textEdited, this, [this](const QString& text) {
    SetText(text);
    Notify(QString::fromUtf16(notify::kTextChanged));
  });
  QObject::connect(edit_, &QLineEdit::returnPressed, this,
                   [this] { Notify(QString::fromUtf16(notify::kReturn)); });
  ApplyLook();
}

bool EditUI::SetAttribute(const QString& name, const QString& value) {
  if (name == u"readonly" || name == u"password") {
    const auto flag = ParseBool(value);
    if (!flag) return false;
    if (name == u"readonly") {
      edit_->setReadOnly(*flag);
    } else {
      edit_->setEchoMode(*flag ? QLineEdit::Password : QLineEdit::Normal);
    }
    return true;
  }
  if (name == u"maxchar") {
    const auto number = ParseInt(value);
    if (!number || *number <= 0) return false;
    edit_->setMaxLength(*number);
    return true;
  }
  if (name == u"tipvalue") {
    edit_->setPlaceholderText(value);
    return true;
  }
  if (!LabelUI::SetAttribute(name, value)) return false;
  ApplyLook();
  return true;
}

void EditUI::PaintText(QPainter&) {
  // The line edit draws the text.
}

void EditUI::OnTextChanged() {
  if (edit_->text() != Text()) edit_->setText(Text());
}

void EditUI::OnEnabledChanged() {
  ApplyLook();
  update();
}

void EditUI::resizeEvent(QResizeEvent* event) {
  LabelUI::resizeEvent(event);
  edit_->setGeometry(TextRect());
}

void EditUI::changeEvent(QEvent* event) {
  LabelUI::changeEvent(event);
  // The window's fonts are known once the control sits in it.
  if (event->type() == QEvent::ParentChange) ApplyLook();
}

void EditUI::ApplyLook() {
  edit_->setFont(Font());
  QPalette palette = edit_->palette();
  palette.setColor(QPalette::Base, Qt::transparent);
  palette.setColor(QPalette::Text, CurrentTextColor());
  QColor hint = CurrentTextColor();
  hint.setAlpha(110);
  palette.setColor(QPalette::PlaceholderText, hint);
  edit_->setPalette(palette);
  edit_->setGeometry(TextRect());
}

}  // namespace forge::ui
