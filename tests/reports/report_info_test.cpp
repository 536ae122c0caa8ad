#include "reports/report_info.h"

#include <gtest/gtest.h>

#include "app/language_table.h"
#include "platform/shell_open.h"
#include "support/test_files.h"

namespace forge {
namespace {

class RecordingOpener : public ShellOpener {
 public:
  void Open(const std::string& target) override { opened.push_back(target); }
  std::vector<std::string> opened;
};

class ReportInfoTest : public ::testing::Test {
 protected:
  ReportInfoTest() {
    test::WriteFile(program_ / "Languages/English.ini", "[MainWnd]\nVersion=9.8.7\n");
    now_ = LocalTime{2014, 3, 5, 7, 9, 5, 0, 0};
  }

  // A program folder whose creator template is `text`.
  void WriteCreatorTemplate(std::string_view text) {
    test::WriteFile(program_ / "ReportTheme/iso-creator.html", text);
  }

  std::unique_ptr<ReportInfo> MakeRecord() {
    language_ = std::make_unique<LanguageTable>(program_.path());
    ReportEnvironment environment;
    environment.reportFolder = data_ / "Norvessa Image Forge/Report/";
    environment.programFolder = program_.path();
    environment.language = language_.get();
    environment.computer = "host<1>";
    environment.user = "alice";
    environment.opener = &opener_;
    environment.clock = [this] { return now_; };
    return std::make_unique<ReportInfo>(environment);
  }

  test::TempFolder program_;
  test::TempFolder data_;
  RecordingOpener opener_;
  LocalTime now_;
  std::unique_ptr<LanguageTable> language_;
};

TEST_F(ReportInfoTest, CreationMakesTheFolderAndTakesNamesAndVersion) {
  auto record = MakeRecord();
  EXPECT_TRUE(std::filesystem::is_directory(data_ / "Norvessa Image Forge/Report"));
  EXPECT_EQ(record->ProgramVersion(), "9.8.7");
  EXPECT_EQ(record->Computer(), "host<1>");
  EXPECT_EQ(record->User(), "alice");
  EXPECT_TRUE(record->ReportFiles().empty());
}

TEST_F(ReportInfoTest, FolderThatCannotBeMadeLeavesTheRecordEmpty) {
  test::WriteFile(data_ / "Norvessa Image Forge", "a file where the folder belongs");
  auto record = MakeRecord();
  EXPECT_EQ(record->ProgramVersion(), "");
  EXPECT_EQ(record->Computer(), "");
  EXPECT_TRUE(record->ReportFiles().empty());
}

TEST_F(ReportInfoTest, FillsEveryPlaceholderInOrderAndEscapes) {
  WriteCreatorTemplate(
      "{Program version}|{Computer}|{User}|{Action}|{BackupType}|{Started}|{Finished}|{State}|"
      "{Errors}|{InfoTitle}|{ObjectTitle}|{Object}|{FileLocation}\n");
  auto record = MakeRecord();
  record->LoadReportTemplate(ReportTemplate::IsoCreator);
  record->SetAction("Create ISO File");
  record->SetBackupType("ISO9660 JOLIET");
  record->MarkStarted();
  now_.second = 42;
  record->MarkFinished();
  record->SetState("Completed");
  record->SetErrors("None");
  record->SetInfoTitle("ISO File Created Successfully");
  record->SetObjectTitle("Object");
  record->AddObject("/data/<script>alert(1)</script>.iso");
  record->AddObject("/data/{State}.iso");
  record->SetFileLocation("/out/a&b.iso");

  EXPECT_EQ(record->FillTemplate(ReportTemplate::IsoCreator),
            "9.8.7|host&lt;1&gt;|alice|Create ISO File|ISO9660 JOLIET|2014-03-07 09:05:00|"
            "2014-03-07 09:05:42|Completed|None|ISO File Created Successfully|Object|"
            "/data/&lt;script&gt;alert(1)&lt;/script&gt;.iso<br/>\n/data/{State}.iso<br/>\n|"
            "/out/a&amp;b.iso\n");
}

TEST_F(ReportInfoTest, PlaceholderOutOfOrderStaysLiteral) {
  WriteCreatorTemplate("{User} {Computer} {Object}");
  auto record = MakeRecord();
  record->LoadReportTemplate(ReportTemplate::IsoCreator);
  EXPECT_EQ(record->FillTemplate(ReportTemplate::IsoCreator), "{User} host&lt;1&gt; ");
}

TEST_F(ReportInfoTest, WritesUtf8WithCrLfAndOpensTheReport) {
  WriteCreatorTemplate("<p>\r\n{State} \xC3\xA9\r\n</p>\n");
  auto record = MakeRecord();
  record->LoadReportTemplate(ReportTemplate::IsoCreator);
  record->SetState("Completed");
  const auto path = record->WriteReport(ReportTemplate::IsoCreator);

  EXPECT_EQ(path, data_ / "Norvessa Image Forge/Report/2014-03-07 09_05_00.html");
  EXPECT_EQ(test::ReadFile(path), "<p>\r\nCompleted \xC3\xA9\r\n</p>\r\n");
  EXPECT_EQ(opener_.opened, std::vector<std::string>{path.string()});
  EXPECT_EQ(record->ReportFiles(), std::vector<std::filesystem::path>{path});
}

TEST_F(ReportInfoTest, TwoReportsInOneSecondShareAName) {
  WriteCreatorTemplate("{State}");
  auto record = MakeRecord();
  record->LoadReportTemplate(ReportTemplate::IsoCreator);
  record->SetState("first");
  const auto first = record->WriteReport(ReportTemplate::IsoCreator);
  record->SetState("second");
  const auto second = record->WriteReport(ReportTemplate::IsoCreator);
  EXPECT_EQ(first, second);
  EXPECT_EQ(test::ReadFile(second), "second");
  EXPECT_EQ(record->ReportFiles().size(), 2u);
}

TEST_F(ReportInfoTest, TemplateIsReadOncePerProcess) {
  WriteCreatorTemplate("old {State}");
  auto record = MakeRecord();
  record->LoadReportTemplate(ReportTemplate::IsoCreator);
  WriteCreatorTemplate("new {State}");
  record->LoadReportTemplate(ReportTemplate::IsoCreator);
  EXPECT_EQ(record->FillTemplate(ReportTemplate::IsoCreator), "old ");
}

TEST_F(ReportInfoTest, MissingTemplateWritesAnEmptyReportAndIsTriedAgain) {
  auto record = MakeRecord();
  record->LoadReportTemplate(ReportTemplate::IsoBurner);
  const auto path = record->WriteReport(ReportTemplate::IsoBurner);
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(test::ReadFile(path), "");

  test::WriteFile(program_ / "ReportTheme/iso-burner.html", "now {State}");
  record->LoadReportTemplate(ReportTemplate::IsoBurner);
  EXPECT_EQ(record->FillTemplate(ReportTemplate::IsoBurner), "now ");
}

TEST_F(ReportInfoTest, ReportThatCannotBeWrittenIsStillListedAndOpened) {
  WriteCreatorTemplate("{State}");
  auto record = MakeRecord();
  record->LoadReportTemplate(ReportTemplate::IsoCreator);
  std::filesystem::remove_all(data_ / "Norvessa Image Forge");
  const auto path = record->WriteReport(ReportTemplate::IsoCreator);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(record->ReportFiles().size(), 1u);
  EXPECT_EQ(opener_.opened.size(), 1u);
}

TEST_F(ReportInfoTest, ListsEarlierReportsAndDeletesThemAll) {
  const auto folder = data_ / "Norvessa Image Forge/Report";
  test::WriteFile(folder / "2014-03-07 09_05_00.html", "a");
  test::WriteFile(folder / "2013-01-01 00_00_00.html", "b");
  auto record = MakeRecord();
  ASSERT_EQ(record->ReportFiles().size(), 2u);
  EXPECT_EQ(record->ReportFiles()[0].filename(), "2013-01-01 00_00_00.html");

  WriteCreatorTemplate("{State}");
  record->LoadReportTemplate(ReportTemplate::IsoCreator);
  record->WriteReport(ReportTemplate::IsoCreator);
  EXPECT_EQ(record->ReportFiles().size(), 3u);
  EXPECT_EQ(record->ReportFiles().back().filename(), "2014-03-07 09_05_00.html");

  EXPECT_TRUE(record->DeleteAllReports());
  EXPECT_TRUE(record->ReportFiles().empty());
  EXPECT_TRUE(std::filesystem::is_empty(folder));
}

}  // namespace
}  // namespace forge
