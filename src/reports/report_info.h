// The record of the current job's report values, and the writing of reports from templates.
// Used from the interface thread only.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/formatting.h"
#include "reports/report_templates.h"

namespace forge {

class LanguageTable;
class ShellOpener;

// What a report record needs from its surroundings; Instance() uses the real ones.
struct ReportEnvironment {
  std::filesystem::path reportFolder;   // where reports are written; created when missing
  std::filesystem::path programFolder;  // holds ReportTheme/
  LanguageTable* language = nullptr;    // gives the program version ("MainWnd", "Version")
  std::string computer;
  std::string user;
  ShellOpener* opener = nullptr;        // null: GetShellOpener() at the time of opening
  std::function<LocalTime()> clock;     // null: LocalTimeNow
};

class ReportInfo {
 public:
  // The process-wide record: reports go to <app data>/Norvessa Image Forge/Report/.
  static ReportInfo& Instance();

  // Creates the report folder (when missing), then takes the computer and user names and the
  // program version and lists the reports already in the folder. When the folder cannot be
  // created, names and version stay empty and no reports are listed.
  explicit ReportInfo(ReportEnvironment environment);
  ReportInfo(const ReportInfo&) = delete;
  ReportInfo& operator=(const ReportInfo&) = delete;

  // Reads the template once per process; a file that cannot be read is tried again next time.
  void LoadReportTemplate(ReportTemplate kind);

  void SetAction(std::string text) { action_ = std::move(text); }
  void SetBackupType(std::string text) { backupType_ = std::move(text); }
  void SetState(std::string text) { state_ = std::move(text); }
  void SetErrors(std::string text) { errors_ = std::move(text); }
  void SetFileLocation(std::string text) { fileLocation_ = std::move(text); }
  void SetInfoTitle(std::string text) { infoTitle_ = std::move(text); }
  void SetObjectTitle(std::string text) { objectTitle_ = std::move(text); }
  void MarkStarted() { started_ = Now(); }
  void MarkFinished() { finished_ = Now(); }
  void ClearObjects() { objects_.clear(); }
  void AddObject(std::string line) { objects_.push_back(std::move(line)); }

  // Fills the template with the record's values (HTML-escaped), writes it as
  // <report folder>/<YYYY-MM-DD hh_mm_ss>.html in UTF-8 with CRLF line ends, appends the path
  // to the report list (also when writing failed) and opens it. Returns the path.
  std::filesystem::path WriteReport(ReportTemplate kind);

  // The same filling without writing: the page as it would be written (LF line ends).
  std::string FillTemplate(ReportTemplate kind) const;

  // Deletes every listed report that exists and empties the list. True when every deletion
  // that was tried worked.
  bool DeleteAllReports();

  const std::vector<std::filesystem::path>& ReportFiles() const { return reportFiles_; }
  const std::filesystem::path& ReportFolder() const { return environment_.reportFolder; }
  const std::string& ProgramVersion() const { return programVersion_; }
  const std::string& Computer() const { return computer_; }
  const std::string& User() const { return user_; }

 private:
  LocalTime Now() const;

  ReportEnvironment environment_;
  std::vector<std::string> objects_;
  std::vector<std::filesystem::path> reportFiles_;
  std::string programVersion_;
  std::string computer_;
  std::string user_;
  std::string action_;
  std::string backupType_;
  LocalTime started_;
  LocalTime finished_;
  std::string state_;
  std::string errors_;
  std::string fileLocation_;
  std::string infoTitle_;
  std::string objectTitle_;
  std::string templateTexts_[4];
};

}  // namespace forge
