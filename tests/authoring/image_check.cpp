#include "image_check.h"

#include <gtest/gtest.h>

#include "support/test_files.h"

namespace forge::test {

TreeContents ReadTree(const std::filesystem::path& root) {
  TreeContents tree;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    const std::string relative = entry.path().lexically_relative(root).string();
    tree[relative] = entry.is_directory() ? "<folder>" : ReadFile(entry.path());
  }
  return tree;
}

ProgramRun ExtractIsoImage(const std::filesystem::path& image, const std::filesystem::path& folder) {
  return RunProgram({"xorriso", "-osirrox", "on", "-indev", image.string(), "-extract", "/",
                     folder.string()});
}

ProgramRun ExtractUdfImage(const std::filesystem::path& image, const std::filesystem::path& folder) {
  return RunProgram({"7zz", "x", "-y", "-tudf", image.string(), "-o" + folder.string()});
}

TreeContents ReadImage(const std::filesystem::path& image, bool udf,
                       const std::filesystem::path& folder) {
  const auto run = udf ? ExtractUdfImage(image, folder) : ExtractIsoImage(image, folder);
  EXPECT_EQ(run.status, 0) << run.output;
  return ReadTree(folder);
}

}  // namespace forge::test
