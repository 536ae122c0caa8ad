// The four report templates that ship in ReportTheme/ beside the program.
#pragma once

#include <span>
#include <string_view>

namespace forge {

enum class ReportTemplate { ByteBackup, IsoExtractor, IsoCreator, IsoBurner };

struct ReportTemplateInfo {
  ReportTemplate kind;
  std::string_view relativePath;  // below the program folder, e.g. "ReportTheme/iso-burner.html"
  std::string_view name;          // e.g. "iso-burner.html"
  std::string_view digest;        // SHA-512 of the shipped file, 128 uppercase hex digits
};

// All four, in the order they are checked at start-up: byte backup, ISO extractor, ISO creator,
// ISO burner.
std::span<const ReportTemplateInfo> ReportTemplates();

const ReportTemplateInfo& ReportTemplateOf(ReportTemplate kind);

}  // namespace forge
