// The popup menus of the main window: where they open, their texts, what their items do and how
// they close.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTreeView>
#include <filesystem>
#include <map>

#include "ui/main/main_window_fixture.h"
#include "ui/popups/help_pages.h"
#include "ui/popups/menu_wnd.h"
#include "ui/support/ui_test_support.h"

namespace forge::ui::test {
namespace {

class MenusTest : public MainWindowTest {
 protected:
  CMenuWindow* OpenMenu() {
    if (!ProcessEventsUntil([] { return CMenuWindow::OpenMenuCount() == 1; })) return nullptr;
    return dynamic_cast<CMenuWindow*>(QApplication::activePopupWidget());
  }
  CMenuWindow* OpenHelpMenu() {
    Click(Window(), QStringLiteral("BtnHelp"));
    return OpenMenu();
  }
  static bool AllClosed() {
    return ProcessEventsUntil([] { return CMenuWindow::OpenMenuCount() == 0; });
  }
};

TEST_F(MenusTest, HelpMenuOpensBelowTheHelpButtonWithTheLanguageTexts) {
  Start();
  CMenuWindow* menu = OpenHelpMenu();
  ASSERT_NE(menu, nullptr);
  auto* button = Window().FindControl(QStringLiteral("BtnHelp"));
  EXPECT_EQ(menu->pos(), button->mapToGlobal(QPoint(0, button->height())));
  EXPECT_EQ(menu->MenuName(), QStringLiteral("MenuHelp"));
  EXPECT_EQ(menu->Sender(), button);
  for (const auto& [item, text] : {std::pair{"ItemHelp", "User Guide"},
                                  {"ItemSupport", "Support"},
                                  {"ItemExit", "Exit"}}) {
    EXPECT_EQ(menu->FindControl(QString::fromUtf8(item))->Text(), QString::fromUtf8(text));
  }
}

TEST_F(MenusTest, HelpItemsOpenTheLocalPagesOrEndTheProgram) {
  struct Case {
    const char* item;
    std::filesystem::path opened;  // empty: nothing opened
    bool quits;
  };
  Start();
  const Case cases[] = {
      {"ItemHelp", UserGuidePage(), false},
      {"ItemSupport", SupportPage(), false},
      {"ItemExit", {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    const auto openedBefore = opener_.Opened().size();
    quitCodes_.clear();
    CMenuWindow* menu = OpenHelpMenu();
    ASSERT_NE(menu, nullptr);
    Click(*menu, QString::fromUtf8(c.item));
    ASSERT_TRUE(AllClosed());
    const auto opened = opener_.Opened();
    if (c.opened.empty()) {
      EXPECT_EQ(opened.size(), openedBefore);
    } else {
      ASSERT_EQ(opened.size(), openedBefore + 1);
      EXPECT_EQ(opened.back(), c.opened.string());
      // The pages ship in the program folder.
      EXPECT_TRUE(std::filesystem::is_regular_file(c.opened)) << c.opened;
    }
    EXPECT_EQ(quitCodes_, c.quits ? std::vector<int>{0} : std::vector<int>{});
    // Exit ends the event loop without closing the window first.
    EXPECT_FALSE(Window().HasEnded());
  }
}

TEST_F(MenusTest, ContextMenuItemsArriveAsClicksOnThePageButtons) {
  struct Case {
    const char* list;
    const char* item;
    const char* button;
    std::int64_t lParam;
  };
  const Case cases[] = {
      {"FileList", "ItemAddFile", "BtnAddFile", 0},
      {"FileList", "ItemAddFolder", "BtnAddFolder", 0},
      {"FileList", "ItemRemove", "BtnRemoveFile", 0},
      {"ExtractFileList", "ItemExtractISOFile", "BtnExtractISO", 0},
      {"FileTree", "ItemExtractISOFile", "BtnExtractISO", 1},
  };
  Start();
  std::map<std::string, std::vector<std::int64_t>> clicks;
  for (const Case& c : cases) {
    if (!clicks.emplace(c.button, std::vector<std::int64_t>{}).second) continue;
    Window().FindControl(QString::fromUtf8(c.button))->AddNotifyHandler(
        [&clicks, name = std::string(c.button)](Notification& n) {
          if (n.type == u"click") clicks[name].push_back(n.lParam);
          return true;
        });
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.list) + " " + c.item);
    for (auto& [name, received] : clicks) received.clear();
    auto* list = Window().FindControl<ListUI>(QString::fromUtf8(c.list));
    RightClick(*list, QPoint(20, 20));
    CMenuWindow* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->Sender(), list);
    // Its top left corner is at the mouse.
    EXPECT_EQ(menu->pos(), list->View()->viewport()->mapToGlobal(QPoint(20, 20)));
    Click(*menu, QString::fromUtf8(c.item));
    // The command is posted: it arrives once the menu has handled the click.
    ASSERT_TRUE(ProcessEventsUntil([&] { return !clicks[c.button].empty(); }));
    ASSERT_TRUE(AllClosed());
    for (const auto& [name, received] : clicks) {
      EXPECT_EQ(received.size(), name == c.button ? 1u : 0u) << name;
    }
    EXPECT_EQ(clicks[c.button].front(), c.lParam);
  }
}

TEST_F(MenusTest, EscapeOrAClickOutsideClosesAMenuWithoutAction) {
  Start();
  for (bool escape : {true, false}) {
    SCOPED_TRACE(escape ? "Escape" : "click outside");
    CMenuWindow* menu = OpenHelpMenu();
    ASSERT_NE(menu, nullptr);
    if (escape) {
      QTest::keyClick(menu, Qt::Key_Escape);
    } else {
      // Through the window system, as a real click arrives: on an empty spot of the main
      // window, away from the menu below the Help button.
      const QPoint empty(600, 450);
      ASSERT_FALSE(menu->geometry().contains(Window().mapToGlobal(empty)));
      QTest::mouseClick(Window().windowHandle(), Qt::LeftButton, {}, empty);
    }
    ASSERT_TRUE(AllClosed());
  }
  EXPECT_TRUE(opener_.Opened().empty());
  EXPECT_TRUE(quitCodes_.empty());
  EXPECT_FALSE(Window().HasEnded());
}

}  // namespace
}  // namespace forge::ui::test
