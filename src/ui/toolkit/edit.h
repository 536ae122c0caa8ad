// EditUI: a one-line text box (class "EditUI") on Qt's own line edit, drawn inside the skinned
// background and border of the control.
//
// Attributes beyond LabelUI's: readonly, password, maxchar, tipvalue (the grey hint shown
// while the box is empty). Sends "textchanged" when the user edits the text and "return" when
// Return is pressed in it.
//
// UI thread only, except SetText (ControlUI).
#pragma once

#include "ui/toolkit/label.h"

class QLineEdit;

namespace forge::ui {

class EditUI : public LabelUI {
 public:
  explicit EditUI(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("EditUI"); }
  bool SetAttribute(const QString& name, const QString& value) override;

  QLineEdit* LineEdit() const { return edit_; }

 protected:
  void PaintText(QPainter& painter) override;
  void OnTextChanged() override;
  void OnEnabledChanged() override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ApplyLook();
  QLineEdit* edit_;
};

}  // namespace forge::ui
