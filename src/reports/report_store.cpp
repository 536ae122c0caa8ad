#include "reports/report_store.h"

#include <algorithm>
#include <system_error>

namespace forge {

std::vector<std::filesystem::path> ListReportFiles(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  std::filesystem::directory_iterator entries(folder, error);
  if (error) return files;
  for (const auto& entry : entries) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with('.')) continue;
    const auto dot = name.rfind('.');
    if (dot == std::string::npos || name.compare(dot, std::string::npos, ".html") != 0) continue;
    files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

bool DeleteReportFiles(const std::vector<std::filesystem::path>& files) {
  bool allDeleted = true;
  for (const auto& file : files) {
    if (file.empty()) continue;
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(file, error))) continue;
    if (!std::filesystem::remove(file, error) || error) allDeleted = false;
  }
  return allDeleted;
}

}  // namespace forge
