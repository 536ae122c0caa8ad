#include "ui/popups/welcome_wnd.h"

namespace forge::ui {

void CWelComeWnd::OnClick(Notification& notification) {
  if (notification.sender && notification.sender->Name() == u"BtnOk") {
    Close(PopupDone);
    return;
  }
  SkinWindow::OnClick(notification);
}

}  // namespace forge::ui
