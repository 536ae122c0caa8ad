// CMenuWindow, the program's popup menus: a borderless popup built from a menu layout
// ("xml\Menu_Creater.xml", "xml\Menu_Extractor.xml", "xml\Menu_Help.xml"), with the texts of
// the language section "MenuWnd" on its elements.
//
// Opening (the opener keeps no reference; the menu frees itself once it has closed):
//   auto* menu = new CMenuWindow(mainWindow);
//   menu->SetSender(list);                                   // the control it was opened over
//   menu->Open(QStringLiteral("Menu_Creater.xml"), screenPoint);  // top left corner there
//
// A click on an element carries out its action, then closes every open menu:
//   MenuCreater:   ItemAddFile, ItemAddFolder, ItemRemove post MenuCommand::AddFiles,
//                  AddFolder, Remove to the owner;
//   MenuExtractor: ItemExtractISOFile posts MenuCommand::Extract with lParam 0 when the sender
//                  is "ExtractFileList", 1 when it is "FileTree" (nothing for other senders);
//   MenuHelp:      ItemHelp and ItemSupport open the user guide and the support page through
//                  the shell opener, ItemExit ends the program's event loop with 0.
// Commands reach the owner as posted calls of MenuCommandTarget::OnMenuCommand, after the menu
// has handled the click. A click outside the menu, the application losing the focus, or Escape
// closes the menu without any action. The right mouse button does nothing in a menu.
//
// Ownership: a menu is a Qt child of its owner's window (it goes at the latest with it) and
// deletes itself after closing. UI thread only.
#pragma once

#include <QPointer>
#include <cstdint>

#include "ui/toolkit/skin_window.h"

namespace forge::ui {

// The commands the menus post to their owner (the values are the owner's message numbers).
enum class MenuCommand : int {
  AddFiles = 1031,
  AddFolder = 1032,
  Remove = 1033,
  LoadImage = 1034,
  Extract = 1035,
};

// The window that receives the menus' commands.
class MenuCommandTarget {
 public:
  virtual ~MenuCommandTarget() = default;
  virtual void OnMenuCommand(MenuCommand command, std::int64_t wParam, std::int64_t lParam) = 0;
};

class CMenuWindow : public SkinWindow {
 public:
  // `owner`: the window whose control opened the menu; it receives the commands.
  explicit CMenuWindow(QWidget* owner);
  ~CMenuWindow() override;

  void SetSender(ControlUI* sender) { sender_ = sender; }
  ControlUI* Sender() const { return sender_; }

  // Loads "xml\<layoutFile>" and shows the menu with its top left corner at `screenPoint`.
  // False when the layout cannot be loaded (the menu has then freed itself).
  bool Open(const QString& layoutFile, QPoint screenPoint);

  // The root menu's name ("MenuHelp", ...); empty before Open.
  QString MenuName() const;

  // Closes every open menu (the context-menu observer's broadcast).
  static void CloseAllMenus();
  // The menus open now.
  static int OpenMenuCount();

 protected:
  QString GetSkinFile() const override { return skinFile_; }
  void InitWindow() override;
  void Notify(Notification& notification) override;
  bool FilterKey(QKeyEvent& event) override;
  Qt::WindowFlags OwnedWindowFlags() const override;
  void OnFinalMessage() override;
  // While a menu is open, presses anywhere come to it first.
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void OnItemClick(const QString& itemName);
  void PostCommand(MenuCommand command, std::int64_t lParam = 0);
  // The width and height the elements need with their current texts.
  QSize MeasureMenu() const;

  QPointer<QWidget> ownerWindow_;
  QPointer<ControlUI> sender_;
  QString skinFile_;
};

}  // namespace forge::ui
