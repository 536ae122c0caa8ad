#include "support/test_files.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <iterator>

namespace forge::test {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "forge-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    ADD_FAILURE() << "cannot create a temporary folder";
  }
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code error;
  // Tests may leave read-only folders behind; make everything writable before removing.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
  }
  std::filesystem::remove_all(path_, error);
}

void WriteFile(const std::filesystem::path& path, std::string_view contents) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  ASSERT_TRUE(file.good()) << "cannot write " << path;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::filesystem::path BuildProgramFolder() { return FORGE_PROGRAM_DIR; }
std::filesystem::path SourceFolder() { return FORGE_SOURCE_DIR; }

}  // namespace forge::test
