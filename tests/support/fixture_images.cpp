#include "support/fixture_images.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>

#include "support/run_program.h"
#include "support/test_files.h"

namespace forge::test {

std::string_view ImageKindName(ImageKind kind) {
  return kind == ImageKind::Joliet ? "Joliet" : "Udf";
}

std::string MissingImageTools(ImageKind kind) {
  std::string missing;
  for (const char* tool : {"7zz", kind == ImageKind::Joliet ? "xorriso" : "genisoimage"}) {
    if (HaveProgram(tool)) continue;
    if (!missing.empty()) missing += ", ";
    missing += tool;
  }
  return missing.empty() ? missing : "not installed: " + missing;
}

void MakeFixtureTree(const std::filesystem::path& folder, bool deep) {
  std::vector<std::string> argv = {
      (SourceFolder() / "tests/extraction/fixtures/make-tree.sh").string(), folder.string()};
  if (deep) argv.push_back("--deep");
  const auto run = RunProgram(argv);
  ASSERT_EQ(run.status, 0) << run.output;
}

void MakeImage(ImageKind kind, const std::filesystem::path& tree, const std::filesystem::path& image,
               bool allowDeepFolders) {
  std::vector<std::string> argv;
  if (kind == ImageKind::Joliet) {
    argv = {"xorriso", "-as", "mkisofs", "-J", "-R", "-o", image.string(), tree.string()};
  } else {
    argv = {"genisoimage", "-udf", "-o", image.string(), tree.string()};
    if (allowDeepFolders) argv.insert(argv.begin() + 2, "-D");
  }
  const auto run = RunProgram(argv);
  ASSERT_EQ(run.status, 0) << run.output;
}

std::string NameAsListed(std::string_view name) {
  std::string listed(name);
  for (char& c : listed) {
    if (c == '*' || c == '?') c = '_';
  }
  return listed;
}

std::map<std::string, std::string> SnapshotTree(const std::filesystem::path& root) {
  std::map<std::string, std::string> snapshot;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    std::string relative;
    for (const auto& part : std::filesystem::relative(entry.path(), root)) {
      if (!relative.empty()) relative += '/';
      relative += NameAsListed(part.string());
    }
    snapshot[relative] = entry.is_directory() ? "<folder>" : ReadFile(entry.path());
  }
  return snapshot;
}

std::string ListedTime(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return "<no file>";
  std::tm local{};
  ::localtime_r(&info.st_mtime, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

}  // namespace forge::test
