// Start-up check that the report templates are exactly the files that shipped.
#pragma once

#include <filesystem>
#include <string_view>

#include "app/result_codes.h"

namespace forge {

// 0 when the SHA-512 of the file, as 128 uppercase hex digits, equals `expectedDigest`;
// 87 when the file cannot be opened, is empty or differs; 30 when reading stopped early.
ResultCode CheckFileDigest(const std::filesystem::path& path, std::string_view expectedDigest);

// Checks the four templates below `programFolder` in their fixed order and returns the code of
// the first that fails (the rest are not examined), or 0.
ResultCode CheckReportTemplates(const std::filesystem::path& programFolder);
// The same for the program's own folder.
ResultCode CheckReportTemplates();

}  // namespace forge
