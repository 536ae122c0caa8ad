#include "ui/popups/menu_wnd.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <vector>

#include "platform/shell_open.h"
#include "ui/popups/help_pages.h"
#include "ui/popups/window_texts.h"
#include "ui/toolkit/container.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/menu.h"
#include "ui/toolkit/quit.h"

namespace forge::ui {
namespace {

// The context-menu observer: the menus open now.
std::vector<QPointer<CMenuWindow>>& OpenMenus() {
  static std::vector<QPointer<CMenuWindow>> menus;
  std::erase_if(menus, [](const QPointer<CMenuWindow>& menu) { return menu.isNull(); });
  return menus;
}

}  // namespace

CMenuWindow::CMenuWindow(QWidget* owner) : ownerWindow_(owner ? owner->window() : nullptr) {
  if (ownerWindow_) setParent(ownerWindow_, windowFlags());
}

CMenuWindow::~CMenuWindow() = default;

void CMenuWindow::CloseAllMenus() {
  for (const auto& menu : OpenMenus()) {
    if (menu) menu->Close(0);
  }
}

int CMenuWindow::OpenMenuCount() {
  auto& menus = OpenMenus();
  return static_cast<int>(std::count_if(menus.begin(), menus.end(), [](const auto& menu) {
    return menu && !menu->HasEnded();
  }));
}

bool CMenuWindow::Open(const QString& layoutFile, QPoint screenPoint) {
  skinFile_ = QStringLiteral("xml\\") + layoutFile;
  if (!Create(ownerWindow_)) {
    deleteLater();
    return false;
  }
  OpenMenus().emplace_back(this);
  // Another application taking the focus closes the menus, as a click outside them does.
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [](Qt::ApplicationState state) {
    if (state != Qt::ApplicationActive) CloseAllMenus();
  });
  resize(MeasureMenu());
  move(screenPoint);
  show();
  raise();
  activateWindow();
  setFocus();
  return true;
}

QString CMenuWindow::MenuName() const { return Root() ? Root()->Name() : QString(); }

Qt::WindowFlags CMenuWindow::OwnedWindowFlags() const {
  return Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint;
}

void CMenuWindow::InitWindow() {
  // The texts are put on before the menu is measured and shown, so it never shows the
  // layout's own texts first.
  ApplyLanguageTexts(*this, "MenuWnd");
}

QSize CMenuWindow::MeasureMenu() const {
  QSize size = LayoutInfo().size;
  auto* menu = dynamic_cast<ContainerUI*>(Root());
  if (!menu) return size;
  int width = 0;
  int height = menu->Inset().top() + menu->Inset().bottom();
  for (int i = 0; i < menu->Count(); ++i) {
    auto* element = dynamic_cast<LabelUI*>(menu->ItemAt(i));
    if (!element || !element->IsVisible()) continue;
    const int padding = element->width() - element->TextRect().width();
    width = std::max(width, element->TextExtent().width() + padding);
    height += element->Layout().height + menu->ChildPadding();
  }
  if (menu->Count() > 0) height -= menu->ChildPadding();
  width += menu->Inset().left() + menu->Inset().right();
  return {std::max(size.width(), width), std::max(size.height(), height)};
}

void CMenuWindow::Notify(Notification& notification) {
  if (notification.type != QString::fromUtf16(notify::kItemClick) || !notification.sender) return;
  OnItemClick(notification.sender->Name());
  CloseAllMenus();
}

void CMenuWindow::OnItemClick(const QString& item) {
  const QString menu = MenuName();
  if (menu == u"MenuCreater") {
    if (item == u"ItemAddFile") {
      PostCommand(MenuCommand::AddFiles);
    } else if (item == u"ItemAddFolder") {
      PostCommand(MenuCommand::AddFolder);
    } else if (item == u"ItemRemove") {
      PostCommand(MenuCommand::Remove);
    }
  } else if (menu == u"MenuExtractor") {
    if (item != u"ItemExtractISOFile" || !sender_) return;
    if (sender_->Name() == u"ExtractFileList") {
      PostCommand(MenuCommand::Extract, 0);
    } else if (sender_->Name() == u"FileTree") {
      PostCommand(MenuCommand::Extract, 1);
    }
  } else if (menu == u"MenuHelp") {
    if (item == u"ItemHelp") {
      GetShellOpener().Open(UserGuidePage().string());
    } else if (item == u"ItemSupport") {
      GetShellOpener().Open(SupportPage().string());
    } else if (item == u"ItemExit") {
      RequestQuit(0);
    }
  }
}

void CMenuWindow::PostCommand(MenuCommand command, std::int64_t lParam) {
  QPointer<QWidget> owner = ownerWindow_;
  if (!owner) return;
  QMetaObject::invokeMethod(
      owner,
      [owner, command, lParam] {
        if (auto* target = dynamic_cast<MenuCommandTarget*>(owner.data())) {
          target->OnMenuCommand(command, 0, lParam);
        }
      },
      Qt::QueuedConnection);
}

bool CMenuWindow::FilterKey(QKeyEvent& event) {
  if (event.key() == Qt::Key_Escape) {
    Close(0);
    return true;
  }
  return false;
}

void CMenuWindow::mousePressEvent(QMouseEvent* event) {
  if (!rect().contains(event->position().toPoint())) {
    // A press outside: the menus close without any action.
    event->accept();
    CloseAllMenus();
    return;
  }
  SkinWindow::mousePressEvent(event);
}

void CMenuWindow::OnFinalMessage() { deleteLater(); }

}  // namespace forge::ui
