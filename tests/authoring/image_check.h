// Reading images back with programs we did not write, and comparing trees.
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "support/run_program.h"

namespace forge::test {

// Everything below `root` by relative path: a file's contents, or "<folder>" for a folder.
using TreeContents = std::map<std::string, std::string>;
TreeContents ReadTree(const std::filesystem::path& root);

// Extracts a whole image into `folder` (created): ISO 9660 through xorriso (Rock Ridge names),
// UDF through 7-Zip.
ProgramRun ExtractIsoImage(const std::filesystem::path& image, const std::filesystem::path& folder);
ProgramRun ExtractUdfImage(const std::filesystem::path& image, const std::filesystem::path& folder);

// Extracts `image` (UDF when `udf`, else ISO 9660) into `folder` and reads the tree back; a
// failing reader fails the test.
TreeContents ReadImage(const std::filesystem::path& image, bool udf,
                       const std::filesystem::path& folder);

// Skips the current test when one of the readers is missing.
#define FORGE_REQUIRE_PROGRAM(program)                                              \
  if (!::forge::test::HaveProgram(program)) {                                       \
    GTEST_SKIP() << program << " is not installed (scripts/install-deps adds it)"; \
  }

}  // namespace forge::test
