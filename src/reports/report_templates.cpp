#include "reports/report_templates.h"

#include "reports/template_digests.h"

namespace forge {
namespace {

constexpr ReportTemplateInfo kTemplates[] = {
    {ReportTemplate::ByteBackup, "ReportTheme/byte-backup.html", "byte-backup.html",
     kByteBackupTemplateDigest},
    {ReportTemplate::IsoExtractor, "ReportTheme/iso-extractor.html", "iso-extractor.html",
     kIsoExtractorTemplateDigest},
    {ReportTemplate::IsoCreator, "ReportTheme/iso-creator.html", "iso-creator.html",
     kIsoCreatorTemplateDigest},
    {ReportTemplate::IsoBurner, "ReportTheme/iso-burner.html", "iso-burner.html",
     kIsoBurnerTemplateDigest},
};

}  // namespace

std::span<const ReportTemplateInfo> ReportTemplates() { return kTemplates; }

const ReportTemplateInfo& ReportTemplateOf(ReportTemplate kind) {
  return kTemplates[static_cast<int>(kind)];
}

}  // namespace forge
