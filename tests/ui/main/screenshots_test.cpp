// Pictures of every page of the main window and of its menus and boxes, in the language of the
// test program (build/screenshots/<language>_main_*.png), and a check that no text is cut off.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <chrono>
#include <ctime>
#include <filesystem>

#include "app/language_table.h"
#include "ui/main/main_window_fixture.h"
#include "ui/popups/menu_wnd.h"
#include "ui/support/ui_test_support.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/container.h"
#include "ui/toolkit/list.h"

namespace forge::ui::test {
namespace {

QString ShotName(const char* page) {
  const QString language =
      QString::fromStdString(LanguageTable::Instance().ActiveLanguage()).toLower();
  return QStringLiteral("%1_main_%2").arg(language, page);
}

void AddRow(ListUI& list, std::initializer_list<const char*> texts) {
  auto row = std::make_unique<ListRow>();
  int column = 0;
  for (const char* text : texts) row->SetText(column++, QString::fromUtf8(text));
  list.AddRow(std::move(row));
}

class MainWindowPictures : public MainWindowTest {
 protected:
  void Shoot(const char* page) {
    QCoreApplication::processEvents();
    ExpectTextsFit(Window(), page);
    SaveScreenshot(Window(), ShotName(page));
  }

  // The menu opened over `sender` (or by the Help button), pictured and closed.
  void ShootMenu(const char* page) {
    ASSERT_TRUE(ProcessEventsUntil([] { return CMenuWindow::OpenMenuCount() == 1; }));
    auto* menu = dynamic_cast<CMenuWindow*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    ExpectTextsFit(*menu, page);
    SaveScreenshot(*menu, ShotName(page));
    CMenuWindow::CloseAllMenus();
    ASSERT_TRUE(ProcessEventsUntil([] { return CMenuWindow::OpenMenuCount() == 0; }));
  }
};

TEST_F(MainWindowPictures, WelcomePageWithSharingButtons) {
  Start(SeedWithParity(false));
  Shoot("welcome_share");
  Click(Window(), QStringLiteral("BtnHelp"));
  ShootMenu("help_menu");
}

TEST_F(MainWindowPictures, WelcomePageWithAdvert) {
  Start(SeedWithParity(true));
  Shoot("welcome_advert");
}

TEST_F(MainWindowPictures, ToolPages) {
  // Reports whose times match their names, as the jobs would have left them.
  const auto setTime = [](const std::filesystem::path& path, int day, int hour, int minute) {
    std::tm fields{};
    fields.tm_year = 2014 - 1900;
    fields.tm_mon = 5;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_isdst = -1;
    const auto moment = std::chrono::system_clock::from_time_t(std::mktime(&fields));
    std::filesystem::last_write_time(
        path, std::filesystem::file_time_type::clock::from_sys(moment));
  };
  setTime(PutReport("2014-06-01 09_30_12.html", "<html></html>"), 1, 9, 30);
  setTime(PutReport("2014-06-02 18_04_55.html", "<html></html>"), 2, 18, 4);
  const auto vanished = PutReport("2014-06-03 07_15_00.html", "<html></html>");
  Start();
  std::filesystem::remove(vanished);

  Choose("OptByteBackup");
  Shoot("byte_backup");

  Choose("OptExtractor");
  auto* entries = Window().FindControl<ListUI>(QStringLiteral("ExtractFileList"));
  ASSERT_NE(entries, nullptr);
  AddRow(*entries, {"Documents", "", "Folder", "2014-5-30 10:12:00"});
  AddRow(*entries, {"setup.exe", "12.40 MB", ".exe", "2014-5-30 10:12:00"});
  AddRow(*entries, {"readme.txt", "2.13 KB", ".txt", "2014-5-30 10:12:00"});
  Shoot("extractor");
  RightClick(*entries, QPoint(40, 20));
  ShootMenu("extractor_menu");

  Choose("OptCreator");
  auto* files = Window().FindControl<ListUI>(QStringLiteral("FileList"));
  ASSERT_NE(files, nullptr);
  AddRow(*files, {"Holiday 2014", "/home/anna/Pictures/", "1.20 GB", "Folder", "2014-6-1 12:00:00"});
  AddRow(*files, {"thesis-final.pdf", "/home/anna/Documents/", "4.51 MB", ".pdf", "2014-5-28 17:41:09"});
  AddRow(*files, {"music", "/home/anna/", "812.33 MB", "Folder", "2014-6-2 08:03:51"});
  files->SelectRow(1, false);
  Shoot("creator");
  RightClick(*files, QPoint(60, 20));
  ShootMenu("creator_menu");

  Choose("OptBurner");
  Shoot("burner");

  Choose("OptReport");
  ReportList().SelectRow(0, false);
  Shoot("reports");
}

TEST_F(MainWindowPictures, ReportMessage) {
  Start();
  Choose("OptReport");
  bool shown = false;
  ModalWatch watch([&](SkinWindow& box) {
    shown = true;
    ExpectTextsFit(box, "report message");
    SaveScreenshot(box, ShotName("report_message"));
    Click(box, QStringLiteral("okbtn"));
  });
  Click(Window(), QStringLiteral("BtnExportReport"));
  EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace forge::ui::test
