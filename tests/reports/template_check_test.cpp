#include "reports/template_check.h"

#include <gtest/gtest.h>

#include "reports/report_templates.h"
#include "support/test_files.h"

namespace forge {
namespace {

// A copy of the built program folder's templates that a test may change.
class TemplateCheckTest : public ::testing::Test {
 protected:
  TemplateCheckTest() {
    for (const auto& entry : ReportTemplates()) {
      std::filesystem::create_directories((folder_ / entry.relativePath).parent_path());
      std::filesystem::copy_file(test::BuildProgramFolder() / entry.relativePath,
                                 folder_ / entry.relativePath);
    }
  }
  std::filesystem::path Template(ReportTemplate kind) const {
    return folder_ / ReportTemplateOf(kind).relativePath;
  }
  test::TempFolder folder_;
};

TEST_F(TemplateCheckTest, ShippedTemplatesPass) {
  EXPECT_EQ(CheckReportTemplates(test::BuildProgramFolder()), ResultOk);
  EXPECT_EQ(CheckReportTemplates(folder_.path()), ResultOk);
}

TEST_F(TemplateCheckTest, AnyChangeFails) {
  const auto path = Template(ReportTemplate::IsoCreator);
  const std::string original = test::ReadFile(path);
  std::string changed = original;
  changed[changed.size() / 2] ^= 0x20;
  std::string crlf;
  for (char c : original) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  for (const std::string& contents : {changed, crlf, original + " ", std::string()}) {
    test::WriteFile(path, contents);
    EXPECT_EQ(CheckReportTemplates(folder_.path()), ResultInvalidParameter) << contents.size();
  }
  test::WriteFile(path, original);
  EXPECT_EQ(CheckReportTemplates(folder_.path()), ResultOk);
}

TEST_F(TemplateCheckTest, MissingTemplateFails) {
  for (const auto& entry : ReportTemplates()) {
    const auto path = folder_ / entry.relativePath;
    const std::string contents = test::ReadFile(path);
    std::filesystem::remove(path);
    EXPECT_EQ(CheckReportTemplates(folder_.path()), ResultInvalidParameter) << entry.name;
    test::WriteFile(path, contents);
  }
}

TEST_F(TemplateCheckTest, FileDigestCodes) {
  const auto path = Template(ReportTemplate::ByteBackup);
  const auto digest = ReportTemplateOf(ReportTemplate::ByteBackup).digest;
  EXPECT_EQ(CheckFileDigest(path, digest), ResultOk);
  // The comparison is exact: lowercase hex of the right digest does not match.
  std::string lower(digest);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(CheckFileDigest(path, lower), ResultInvalidParameter);
  EXPECT_EQ(CheckFileDigest(folder_ / "missing.html", digest), ResultInvalidParameter);
  EXPECT_EQ(CheckFileDigest(folder_.path(), digest), ResultInvalidParameter);  // a folder
}

TEST(TemplateDigests, AreUppercaseSha512Hex) {
  for (const auto& entry : ReportTemplates()) {
    ASSERT_EQ(entry.digest.size(), 128u) << entry.name;
    EXPECT_EQ(entry.digest.find_first_not_of("0123456789ABCDEF"), std::string_view::npos);
  }
}

// The templates hold every placeholder the writer fills, in its order, so none is skipped.
TEST(ShippedTemplates, HoldPlaceholdersInFillOrder) {
  const char* order[] = {"{Program version}", "{Computer}", "{User}",     "{Action}",
                         "{BackupType}",      "{Started}",  "{Finished}", "{State}",
                         "{Errors}",          "{InfoTitle}", "{ObjectTitle}", "{Object}",
                         "{FileLocation}"};
  for (const auto& entry : ReportTemplates()) {
    const std::string text = test::ReadFile(test::BuildProgramFolder() / entry.relativePath);
    std::size_t at = 0;
    for (const char* placeholder : order) {
      const auto found = text.find(placeholder, at);
      const bool optionalTitle = entry.kind == ReportTemplate::IsoExtractor &&
                                 (std::string_view(placeholder) == "{InfoTitle}" ||
                                  std::string_view(placeholder) == "{ObjectTitle}");
      if (optionalTitle) {
        EXPECT_EQ(found, std::string::npos) << entry.name << " " << placeholder;
        continue;
      }
      ASSERT_NE(found, std::string::npos) << entry.name << " " << placeholder;
      at = found + 1;
    }
  }
}

}  // namespace
}  // namespace forge
