// A second language reaches the windows: with German chosen in config.ini, the main window, its
// menus and its message boxes show the German texts of the shipped language file.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/language_table.h"
#include "ui/main/main_window_fixture.h"
#include "ui/popups/menu_wnd.h"
#include "ui/support/ui_test_support.h"

namespace forge::ui::test {
namespace {

TEST_F(MainWindowTest, GermanTextsReachTheMainWindowItsMenusAndItsMessages) {
  ASSERT_EQ(LanguageTable::Instance().ActiveLanguage(), "German");
  Start();
  EXPECT_EQ(TextOf("OptByteBackup"), QStringLiteral("Byte-Sicherung"));
  EXPECT_EQ(TextOf("BtnEmptyReport"), QStringLiteral("Alle Berichte löschen"));
  EXPECT_EQ(TextOf("HdrFileListSize"), QStringLiteral("Größe"));

  Click(Window(), QStringLiteral("BtnHelp"));
  ASSERT_TRUE(ProcessEventsUntil([] { return CMenuWindow::OpenMenuCount() == 1; }));
  auto* menu = dynamic_cast<CMenuWindow*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->FindControl(QStringLiteral("ItemHelp"))->Text(),
            QStringLiteral("Benutzerhandbuch"));
  CMenuWindow::CloseAllMenus();
  ASSERT_TRUE(ProcessEventsUntil([] { return CMenuWindow::OpenMenuCount() == 0; }));

  Choose("OptReport");
  QString message;
  ModalWatch watch([&](SkinWindow& box) {
    message = box.FindControl(QStringLiteral("message"))->Text();
    Click(box, QStringLiteral("okbtn"));
  });
  Click(Window(), QStringLiteral("BtnExportReport"));
  EXPECT_EQ(message, QStringLiteral("Bitte wählen Sie zuerst einen Bericht aus."));
}

}  // namespace
}  // namespace forge::ui::test
