// Files and folders for tests.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace forge::test {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view relative) const { return path_ / relative; }

 private:
  std::filesystem::path path_;
};

// Writes `contents` to `path`, creating the folders above it.
void WriteFile(const std::filesystem::path& path, std::string_view contents);
// The whole file; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

// The program folder of the build (build/bin) with the programs and their data files.
std::filesystem::path BuildProgramFolder();
// The source tree.
std::filesystem::path SourceFolder();

}  // namespace forge::test
