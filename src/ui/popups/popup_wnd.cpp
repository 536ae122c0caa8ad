#include "ui/popups/popup_wnd.h"

#include <QKeyEvent>

#include "ui/popups/window_texts.h"

namespace forge::ui {

bool CPopUpWnd::CreatePopup(QWidget* parent, int width, int height) {
  if (!Create(parent, QSize(width, height))) return false;
  CenterWindow();
  return true;
}

void CPopUpWnd::ApplyLanguage(const std::string& sectionName) {
  ApplyLanguageTexts(*this, sectionName);
}

HitArea CPopUpWnd::HitTest(QPoint clientPoint) const {
  // Whatever size box a layout declares, popups keep the size their caller gave.
  return CaptionHitTest(clientPoint);
}

void CPopUpWnd::OnWindowInit(Notification&) {}

void CPopUpWnd::Notify(Notification& notification) {
  if (notification.type == QString::fromUtf16(notify::kWindowInit)) {
    OnWindowInit(notification);
  } else if (notification.type == QString::fromUtf16(notify::kClick)) {
    OnClick(notification);
  } else {
    SkinWindow::Notify(notification);
  }
}

void CPopUpWnd::OnClick(Notification& notification) {
  if (!notification.sender) return;
  const QString name = notification.sender->Name();
  if (name == u"closebtn" || name == u"cancelbtn") {
    Close(PopupCancelled);
  } else if (name == u"okbtn") {
    Close(PopupDone);
  }
}

bool CPopUpWnd::FilterKey(QKeyEvent& event) {
  if (event.key() == Qt::Key_Escape) {
    Close(PopupCancelled);
    return true;
  }
  return false;
}

QStringList CPopUpWnd::CaptionBlockingClasses() const {
  return {QStringLiteral("ButtonUI"), QStringLiteral("OptionUI"), QStringLiteral("TextUI"),
          QStringLiteral("FadeButtonUI")};
}

}  // namespace forge::ui
