// The Report page on the real window: the rows, opening, exporting and emptying.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <filesystem>

#include "app/formatting.h"
#include "ui/main/main_window_fixture.h"
#include "ui/popups/message_box.h"
#include "ui/support/ui_test_support.h"

namespace forge::ui::test {
namespace {

namespace fs = std::filesystem;
using forge::test::ReadFile;
using forge::test::WriteFile;

class ReportPageTest : public MainWindowTest {
 protected:
  void SetUp() override {
    first_ = PutReport("2014-06-01 09_30_12.html", "first report");
    second_ = PutReport("2014-06-02 18_04_55.html", "second report");
  }

  // Selects the row and clicks Export with the folder dialog answering `folders`.
  void Export(int row, std::optional<QStringList> folders) {
    dialogs_.folders = std::move(folders);
    ReportList().SelectRow(row, false);
    Click(Window(), QStringLiteral("BtnExportReport"));
  }

  AnsweringDialogs dialogs_;
  fs::path first_;
  fs::path second_;
};

TEST_F(ReportPageTest, RowsShowNameAndTimeAndAReportThatVanishedShowsNoTime) {
  const auto vanishing = PutReport("2014-06-03 07_15_00.html", "third report");
  Start();
  fs::remove(vanishing);
  Choose("OptReport");
  ASSERT_EQ(ReportList().RowCount(), 3);
  const fs::path paths[] = {first_, second_, vanishing};
  for (int i = 0; i < 3; ++i) {
    const ListRow& row = *ReportList().RowAt(i);
    EXPECT_EQ(row.Text(0).toStdString(), paths[i].filename().string());
    EXPECT_EQ(row.UserData().toStdString(), paths[i].string());
  }
  EXPECT_EQ(ReportList().RowAt(0)->Text(1).toStdString(),
            FormatFileTimeText(fs::last_write_time(first_)));
  EXPECT_TRUE(ReportList().RowAt(2)->Text(1).isEmpty());
}

TEST_F(ReportPageTest, DoubleClickOpensTheReport) {
  Start();
  Choose("OptReport");
  DoubleClickRow(ReportList(), 1);
  EXPECT_EQ(opener_.Opened(), std::vector<std::string>{second_.string()});
}

TEST_F(ReportPageTest, ExportCopiesTheSelectedReportIntoTheLastFolderChosen) {
  const fs::path into = folder_ / "into";
  const fs::path other = folder_ / "other";
  fs::create_directories(into);
  fs::create_directories(other);
  // An older copy of the same report is overwritten.
  WriteFile(into / second_.filename(), "an older copy");
  Start();
  Choose("OptReport");

  Export(1, QStringList{QString::fromStdString(other.string()), QString::fromStdString(into.string())});
  EXPECT_EQ(ReadFile(into / second_.filename()), "second report");
  EXPECT_FALSE(fs::exists(other / second_.filename()));

  // Into the report folder itself: the report stays as it is.
  Export(0, QStringList{QString::fromStdString(reportFolder_.string())});
  EXPECT_EQ(ReadFile(first_), "first report");

  // A cancelled folder choice copies nothing.
  Export(0, std::nullopt);
  EXPECT_FALSE(fs::exists(into / first_.filename()));
  EXPECT_EQ(dialogs_.folderRequests, 3);
}

TEST_F(ReportPageTest, ExportWithoutASelectedReportAsksForOne) {
  for (bool withReports : {true, false}) {
    SCOPED_TRACE(withReports ? "reports listed" : "no reports");
    window_.reset();
    if (!withReports) {
      fs::remove(first_);
      fs::remove(second_);
    }
    Start();
    Choose("OptReport");
    QString title;
    QString message;
    QSize size;
    ModalWatch watch([&](SkinWindow& box) {
      title = box.FindControl(QStringLiteral("title"))->Text();
      message = box.FindControl(QStringLiteral("message"))->Text();
      size = box.size();
      Click(box, QStringLiteral("okbtn"));
    });
    Click(Window(), QStringLiteral("BtnExportReport"));
    EXPECT_EQ(title, QString::fromUtf16(kTitleInformation));
    EXPECT_EQ(message, QStringLiteral("Please select a report first."));
    EXPECT_EQ(size, QSize(300, 170));
    EXPECT_EQ(dialogs_.folderRequests, 0);
  }
}

TEST_F(ReportPageTest, EmptyDeletesEveryReportAtOnceWithoutAsking) {
  Start();
  Choose("OptReport");
  bool asked = false;
  ModalWatch watch([](SkinWindow&) { return true; },
                   [&asked](SkinWindow& window) {
                     asked = true;
                     window.Close(2);
                   });
  Click(Window(), QStringLiteral("BtnEmptyReport"));
  QCoreApplication::processEvents();
  EXPECT_FALSE(asked);
  EXPECT_EQ(ReportList().RowCount(), 0);
  EXPECT_FALSE(fs::exists(first_));
  EXPECT_FALSE(fs::exists(second_));
  EXPECT_TRUE(Reports().ReportFiles().empty());
}

TEST_F(ReportPageTest, AReportWrittenMeanwhileAppearsWhenThePageIsChosenAgain) {
  Start();
  Choose("OptReport");
  ASSERT_EQ(ReportList().RowCount(), 2);
  Reports().LoadReportTemplate(ReportTemplate::IsoCreator);
  const fs::path written = Reports().WriteReport(ReportTemplate::IsoCreator);
  EXPECT_EQ(ReportList().RowCount(), 2);
  Choose("OptCreator");
  Choose("OptReport");
  ASSERT_EQ(ReportList().RowCount(), 3);
  EXPECT_EQ(ReportList().RowAt(2)->UserData().toStdString(), written.string());
  EXPECT_FALSE(ReportList().RowAt(2)->Text(1).isEmpty());
}

}  // namespace
}  // namespace forge::ui::test
