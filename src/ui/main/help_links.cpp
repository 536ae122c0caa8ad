// The Help button's menu, the sharing buttons and the advert of the welcome page.
#include "platform/shell_open.h"
#include "ui/main/main_wnd.h"
#include "ui/popups/menu_wnd.h"
#include "ui/toolkit/button.h"

namespace forge::ui {

bool CMainWnd::OnHelp(Notification& notification) {
  ControlUI* button = notification.sender;
  if (!button) return false;
  auto* menu = new CMenuWindow(this);
  menu->SetSender(button);
  // Just below the button, left-aligned with it.
  menu->Open(QStringLiteral("Menu_Help.xml"), button->mapToGlobal(QPoint(0, button->height())));
  return true;
}

void CMainWnd::OpenShareLink(const std::string& service, bool randomLink) {
  const auto found = shareLinks_.find(service);
  if (found == shareLinks_.end() || found->second.empty()) return;
  const auto& links = found->second;
  // Seeded with the current second: clicks within one second open the same link.
  const std::size_t index = randomLink ? DrawNumber(NowSeconds()) % links.size() : 0;
  GetShellOpener().Open(links[index]);
}

bool CMainWnd::OnAdvert(Notification&) {
  if (btnAdUrl_ && !btnAdUrl_->UserData().isEmpty()) {
    GetShellOpener().Open(btnAdUrl_->UserData().toStdString());
  }
  return true;
}

}  // namespace forge::ui
