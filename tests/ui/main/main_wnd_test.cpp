// The main window's frame: first show, navigation, frame behaviour, commands from the menus and
// device changes, on the real window with the program's English texts.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <map>
#include <string>
#include <QTest>

#include "ui/main/main_window_fixture.h"
#include "ui/support/ui_test_support.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/container.h"
#include "ui/toolkit/progress.h"

namespace forge::ui::test {
namespace {

bool Shown(CMainWnd& window, const char* name) {
  auto* control = window.FindControl(QString::fromUtf8(name));
  return control && control->IsVisible();
}

int CurrentTab(CMainWnd& window) {
  return window.FindControl<TabLayoutUI>(QStringLiteral("TabPage"))->CurrentIndex();
}

QString Logo(CMainWnd& window) { return window.FindControl(QStringLiteral("LblLogo"))->BkImage(); }

TEST_F(MainWindowTest, FirstShowHidesTheWindowBehindTheWelcomeWindowThenShowsTheWelcomePage) {
  PutReport("2014-06-01 09_30_12.html", "<html></html>");
  Start();
  EXPECT_TRUE(hiddenWhileWelcome_);
  EXPECT_TRUE(Window().isVisible());
  EXPECT_EQ(Window().size(), QSize(1000, 650));
  EXPECT_EQ(Window().windowTitle(), QStringLiteral("Norvessa Image Forge"));
  EXPECT_EQ(Window().PageModeValue(), PageWelcome);
  EXPECT_EQ(Window().FileSystemChoice(), 0);
  EXPECT_EQ(CurrentTab(Window()), TabWelcome);
  EXPECT_EQ(Logo(Window()), QString::fromUtf16(kLogoWelcome));
  // The "MainWnd" texts of the language file replace the layout's.
  EXPECT_EQ(TextOf("LblBuildDiscTitle"), QStringLiteral("Create an ISO file from files and folders"));
  EXPECT_EQ(TextOf("BtnEmptyReport"), QStringLiteral("Delete All Reports"));
  EXPECT_EQ(TextOf("HdrFileListPath"), QStringLiteral("Location"));
  EXPECT_EQ(TextOf("Version"), QStringLiteral("1.0.0"));
  // The report list is filled at first show.
  EXPECT_EQ(ReportList().RowCount(), 1);
}

TEST_F(MainWindowTest, WelcomePageShowsEitherTheSharingButtonsOrTheAdvert) {
  struct Case {
    bool even;
    bool advert;
  };
  for (const Case c : {Case{true, true}, Case{false, false}}) {
    SCOPED_TRACE(c.even ? "even number" : "odd number");
    window_.reset();
    Start(SeedWithParity(c.even));
    EXPECT_EQ(Shown(Window(), "PageAD"), c.advert);
    EXPECT_EQ(Shown(Window(), "PageShare"), !c.advert);
    const QString advertLink = Window().FindControl(QStringLiteral("BtnADUrl"))->UserData();
    EXPECT_EQ(advertLink.isEmpty(), !c.advert);
    if (c.advert) {
      EXPECT_TRUE(advertLink.endsWith(QStringLiteral("/Help/backup/image-forge-free-user-guide.html")))
          << advertLink.toStdString();
    }
  }
}

TEST_F(MainWindowTest, NavigationSetsPageModeTabLogoAndTheControlsOfCreatorOrBurner) {
  struct Case {
    const char* option;
    std::int32_t mode;
    int tab;
    std::vector<const char*> shown;
    std::vector<const char*> hidden;
  };
  const Case cases[] = {
      {"OptByteBackup", PageByteBackup, TabByteBackup, {}, {}},
      {"OptExtractor", PageExtractor, TabExtractor, {}, {}},
      {"OptCreator",
       PageCreator,
       TabCreatorBurner,
       {"LblBuildDiscTitle", "ToolBar1", "ToolBar3", "BtnCreateFileISO"},
       {"LblBurnISOTitle", "ToolBar2", "BtnBurnISO"}},
      {"OptBurner",
       PageBurner,
       TabCreatorBurner,
       {"LblBurnISOTitle", "ToolBar1", "ToolBar2", "ToolBar3", "BtnBurnISO"},
       {"LblBuildDiscTitle", "BtnCreateFileISO"}},
      // The Report page keeps the mode of the tool shown before it.
      {"OptReport", PageBurner, TabReport, {}, {}},
      {"OptCreator",
       PageCreator,
       TabCreatorBurner,
       {"LblBuildDiscTitle", "BtnCreateFileISO"},
       {"LblBurnISOTitle", "ToolBar2", "BtnBurnISO"}},
  };
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.option);
    Choose(c.option);
    EXPECT_EQ(Window().PageModeValue(), c.mode);
    EXPECT_EQ(CurrentTab(Window()), c.tab);
    EXPECT_EQ(Logo(Window()), QString::fromUtf16(kLogoTools));
    for (const char* name : c.shown) EXPECT_TRUE(Shown(Window(), name)) << name;
    for (const char* name : c.hidden) EXPECT_FALSE(Shown(Window(), name)) << name;
  }
}

TEST_F(MainWindowTest, CapacityDisplayMeasuresAgainstTheCreatorLimitOrTheChosenDisc) {
  Start();
  Choose("OptCreator");
  EXPECT_EQ(TextOf("LblCurCapacity"), QStringLiteral("Total Size: 0 Bytes"));
  EXPECT_EQ(TextOf("LblMaxCapacity"), QStringLiteral("Max Size: 5.00 GB"));
  // The burner without a disc type has no limit; the bar stays empty.
  Choose("OptBurner");
  EXPECT_EQ(TextOf("LblMaxCapacity"), QStringLiteral("Max Size: 0 Bytes"));
  EXPECT_EQ(Window().FindControl<ProgressUI>(QStringLiteral("ISOCapacity"))->Value(), 0);
}

TEST_F(MainWindowTest, FileSystemOptionsChooseTheFileSystem) {
  Start();
  Choose("OptCreator");
  for (const auto& [option, choice] : {std::pair{"OptISOT3", 2}, {"OptISOT2", 1}, {"OptISOT1", 0}}) {
    Choose(option);
    EXPECT_EQ(Window().FileSystemChoice(), choice) << option;
  }
}

TEST_F(MainWindowTest, EscapeAndReturnNeverCloseTheWindow) {
  Start();
  for (int key : {Qt::Key_Escape, Qt::Key_Return}) {
    PressKey(Window(), key);
    QCoreApplication::processEvents();
  }
  EXPECT_FALSE(Window().HasEnded());
  EXPECT_TRUE(Window().isVisible());
  EXPECT_TRUE(quitCodes_.empty());
}

TEST_F(MainWindowTest, ClosingTheWindowEndsTheProgramWithZero) {
  Start();
  Click(Window(), QStringLiteral("closebtn"));
  ASSERT_TRUE(ProcessEventsUntil([this] { return Window().HasEnded(); }));
  EXPECT_EQ(quitCodes_, std::vector<int>{0});
}

TEST_F(MainWindowTest, CaptionBandDragsExceptOverButtonsAndNoEdgeResizes) {
  Start();
  auto centreOf = [this](const char* name) {
    auto* control = Window().FindControl(QString::fromUtf8(name));
    return control->mapTo(&Window(), control->rect().center());
  };
  struct Case {
    const char* what;
    QPoint point;
    HitArea::Kind kind;
  };
  const Case cases[] = {
      {"logo", centreOf("LblLogo"), HitArea::Kind::Caption},
      {"empty header", QPoint(600, 45), HitArea::Kind::Caption},
      {"Help button", centreOf("BtnHelp"), HitArea::Kind::Client},
      {"close button", centreOf("closebtn"), HitArea::Kind::Client},
      {"below the band", QPoint(600, 120), HitArea::Kind::Client},
      {"left edge", QPoint(1, 300), HitArea::Kind::Client},
      {"bottom right corner", QPoint(998, 648), HitArea::Kind::Client},
  };
  for (const Case& c : cases) EXPECT_EQ(Window().HitTest(c.point).kind, c.kind) << c.what;
  // A double-click in the band leaves the size alone.
  QTest::mouseDClick(&Window(), Qt::LeftButton, {}, QPoint(600, 45));
  QCoreApplication::processEvents();
  EXPECT_FALSE(Window().isMaximized());
  EXPECT_EQ(Window().size(), QSize(1000, 650));
}

TEST_F(MainWindowTest, MenuCommandsAreClicksOnTheirButtonsOnAnyPage) {
  struct Case {
    MenuCommand command;
    const char* button;
    std::int64_t lParam;  // where an extract command came from: 1 the tree, 0 the list
  };
  const Case cases[] = {
      {MenuCommand::AddFiles, "BtnAddFile", 0},
      {MenuCommand::AddFolder, "BtnAddFolder", 0},
      {MenuCommand::Remove, "BtnRemoveFile", 0},
      {MenuCommand::LoadImage, "BtnLoadISO", 0},
      {MenuCommand::Extract, "BtnExtractISO", 1},
      {MenuCommand::Extract, "BtnExtractISO", 0},
  };
  Start();
  std::map<std::string, std::vector<Notification>> clicks;
  for (const Case& c : cases) {
    auto* button = Window().FindControl(QString::fromUtf8(c.button));
    ASSERT_NE(button, nullptr) << c.button;
    if (clicks.emplace(c.button, std::vector<Notification>{}).second) {
      button->AddNotifyHandler([&clicks, name = std::string(c.button)](Notification& n) {
        clicks[name].push_back(n);
        return true;
      });
    }
  }
  // The Report page is shown: none of these buttons is on it.
  Choose("OptReport");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    for (auto& [name, received] : clicks) received.clear();
    Window().OnMenuCommand(c.command, 0, c.lParam);
    for (const auto& [name, received] : clicks) {
      ASSERT_EQ(received.size(), name == c.button ? 1u : 0u) << name;
    }
    const Notification& click = clicks[c.button].front();
    EXPECT_EQ(click.type, QStringLiteral("click"));
    EXPECT_EQ(click.lParam, c.lParam);
  }
}

TEST_F(MainWindowTest, DeviceChangesStartTheDiskListRefreshTimersOnce) {
  Start();
  auto* disks = Window().FindControl(QStringLiteral("DiskList"));
  ASSERT_NE(disks, nullptr);
  EXPECT_FALSE(Window().HasTimer(disks, kDiskArrivalTimer));
  Window().OnDeviceChange(DeviceChangeKind::Arrival);
  Window().OnDeviceChange(DeviceChangeKind::Arrival);
  EXPECT_TRUE(Window().HasTimer(disks, kDiskArrivalTimer));
  EXPECT_FALSE(Window().HasTimer(disks, kDiskRemovalTimer));
  Window().OnDeviceChange(DeviceChangeKind::Removal);
  EXPECT_TRUE(Window().HasTimer(disks, kDiskRemovalTimer));
}

}  // namespace
}  // namespace forge::ui::test
