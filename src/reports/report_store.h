// The report files in the report folder.
#pragma once

#include <filesystem>
#include <vector>

namespace forge {

// The reports in `folder`: entries whose name ends in ".html" exactly (case-sensitive) and does
// not begin with ".", sorted by name so that reports, named by date and time, come oldest
// first. An empty or unreadable folder gives an empty list.
std::vector<std::filesystem::path> ListReportFiles(const std::filesystem::path& folder);

// Deletes every listed file that exists. True when every deletion that was tried worked.
bool DeleteReportFiles(const std::vector<std::filesystem::path>& files);

}  // namespace forge
