#include "reports/report_info.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string_view>

#include "app/language_table.h"
#include "app/paths.h"
#include "platform/host_info.h"
#include "platform/shell_open.h"
#include "reports/html_fill.h"
#include "reports/report_store.h"

namespace forge {
namespace {

std::string FormatReportTime(const LocalTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

std::string ReportFileName(const LocalTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d_%02d_%02d.html", t.year, t.month, t.day,
                t.hour, t.minute, t.second);
  return text;
}

std::string ReadTemplateText(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return {};
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return ToLineFeeds(bytes);
}

}  // namespace

ReportInfo& ReportInfo::Instance() {
  static ReportInfo record([] {
    ReportEnvironment environment;
    const auto dataFolder = GetProgramDataFolder();
    if (!dataFolder.empty()) environment.reportFolder = dataFolder / "Report" / "";
    environment.programFolder = GetModuleFolder();
    environment.language = &LanguageTable::Instance();
    environment.computer = GetComputerName();
    environment.user = GetUserName();
    return environment;
  }());
  return record;
}

ReportInfo::ReportInfo(ReportEnvironment environment) : environment_(std::move(environment)) {
  const std::string folder = environment_.reportFolder.string();
  std::error_code error;
  if (folder.empty() ||
      (!std::filesystem::is_directory(environment_.reportFolder, error) &&
       !CreateFolderPath(folder.back() == '/' ? folder : folder + "/"))) {
    return;
  }
  computer_ = environment_.computer;
  user_ = environment_.user;
  if (environment_.language != nullptr) {
    programVersion_ = LanguageTable::LookupText(environment_.language->GetSection("MainWnd"), "Version");
  }
  reportFiles_ = ListReportFiles(environment_.reportFolder);
}

LocalTime ReportInfo::Now() const {
  return environment_.clock ? environment_.clock() : LocalTimeNow();
}

void ReportInfo::LoadReportTemplate(ReportTemplate kind) {
  std::string& text = templateTexts_[static_cast<int>(kind)];
  if (!text.empty()) return;
  text = ReadTemplateText(environment_.programFolder / ReportTemplateOf(kind).relativePath);
}

std::string ReportInfo::FillTemplate(ReportTemplate kind) const {
  std::string objectLines;
  for (const auto& line : objects_) objectLines += EscapeHtml(line) + "<br/>\n";

  const PlaceholderValue values[] = {
      {"{Program version}", EscapeHtml(programVersion_)},
      {"{Computer}", EscapeHtml(computer_)},
      {"{User}", EscapeHtml(user_)},
      {"{Action}", EscapeHtml(action_)},
      {"{BackupType}", EscapeHtml(backupType_)},
      {"{Started}", EscapeHtml(FormatReportTime(started_))},
      {"{Finished}", EscapeHtml(FormatReportTime(finished_))},
      {"{State}", EscapeHtml(state_)},
      {"{Errors}", EscapeHtml(errors_)},
      {"{InfoTitle}", EscapeHtml(infoTitle_)},
      {"{ObjectTitle}", EscapeHtml(objectTitle_)},
      {"{Object}", objectLines},
      {"{FileLocation}", EscapeHtml(fileLocation_)},
  };
  return FillPlaceholdersInOrder(templateTexts_[static_cast<int>(kind)], values);
}

std::filesystem::path ReportInfo::WriteReport(ReportTemplate kind) {
  const auto path = environment_.reportFolder / ReportFileName(Now());
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file) file << ToCrLf(FillTemplate(kind));
  }
  reportFiles_.push_back(path);
  ShellOpener& opener = environment_.opener != nullptr ? *environment_.opener : GetShellOpener();
  opener.Open(path.string());
  return path;
}

bool ReportInfo::DeleteAllReports() {
  const bool allDeleted = DeleteReportFiles(reportFiles_);
  reportFiles_.clear();
  return allDeleted;
}

}  // namespace forge
