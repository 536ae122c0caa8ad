#include "ui/popups/message_box.h"

namespace forge::ui {

CMessageBox::CMessageBox(const QString& layoutFile) : layoutFile_(layoutFile) {}

void CMessageBox::SetTexts(const QString& title, const QString& message) {
  if (auto* control = FindControl(QStringLiteral("title"))) control->SetText(title);
  if (auto* control = FindControl(QStringLiteral("message"))) control->SetText(message);
}

void CMessageBox::Notify(Notification& notification) {
  if (notification.type != QString::fromUtf16(notify::kClick) || !notification.sender) return;
  const QString name = notification.sender->Name();
  if (name == u"closebtn" || name == u"cancelbtn") {
    Close(2);
  } else if (name == u"okbtn") {
    Close(1);
  }
}

int ShowMessageBox(QWidget* owner, const QString& layoutFile, const QString& title,
                   const QString& message, int width, int height) {
  CMessageBox box(layoutFile);
  if (!box.Create(owner, QSize(width, height))) return 0;
  box.SetTexts(title, message);
  box.CenterWindow();
  return box.RunModal();
}

}  // namespace forge::ui
