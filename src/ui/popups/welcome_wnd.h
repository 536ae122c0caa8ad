// CWelComeWnd, the welcome popup shown once at start-up: a picture with an OK button "BtnOk",
// which closes it with 1. Escape does nothing; the whole window drags it, except the button.
// Shown with CreatePopup(mainWindow, 576, 366) and RunModal. UI thread only.
#pragma once

#include "ui/popups/popup_wnd.h"

namespace forge::ui {

class CWelComeWnd : public CPopUpWnd {
 protected:
  QString GetSkinFile() const override { return QStringLiteral("xml\\LicenseWnd.xml"); }
  void OnClick(Notification& notification) override;
  bool FilterKey(QKeyEvent&) override { return false; }
};

}  // namespace forge::ui
