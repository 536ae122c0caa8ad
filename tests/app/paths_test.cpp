#include "app/paths.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <map>
#include <optional>

#include "support/test_files.h"

namespace forge {
namespace {

TEST(PathText, FolderAndTitle) {
  const struct {
    const char* path;
    const char* folder;
    const char* title;
  } cases[] = {
      {"C:\\a\\b.txt", "C:\\a\\", "b"},
      {"C:/a/b.txt", "C:/a/", "b"},
      {"/home/u/disc.iso", "/home/u/", "disc"},
      {"/x/my.disc.iso", "/x/", "my.disc"},
      {"b.txt", "b.txt", "b"},
      {"archive.tar.gz", "archive.tar.gz", "archive.tar"},
      {"C:\\a.b\\c", "C:\\a.b\\", "c"},
      {"/data/Photos", "/data/", "Photos"},
      {"/mixed\\sep/name", "/mixed\\sep/", "name"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetFolderOfPath(c.path), c.folder) << c.path;
    EXPECT_EQ(GetFileTitleOfPath(c.path), c.title) << c.path;
  }
}

TEST(CreateFolderPath, CreatesOnlyComponentsFollowedByASeparator) {
  test::TempFolder temp;
  const std::string base = temp.path().string();

  EXPECT_TRUE(CreateFolderPath(base + "/x/y/z"));
  EXPECT_TRUE(std::filesystem::is_directory(temp / "x/y"));
  EXPECT_FALSE(std::filesystem::exists(temp / "x/y/z"));

  EXPECT_TRUE(CreateFolderPath(base + "/x/y/z/"));
  EXPECT_TRUE(std::filesystem::is_directory(temp / "x/y/z"));

  EXPECT_TRUE(CreateFolderPath(base + "\\back\\slash\\"));
  EXPECT_TRUE(std::filesystem::is_directory(temp / "back/slash"));

  EXPECT_FALSE(CreateFolderPath(""));
}

TEST(CreateFolderPath, FailsWhereAFileStands) {
  test::TempFolder temp;
  test::WriteFile(temp / "file", "x");
  EXPECT_FALSE(CreateFolderPath((temp / "file/sub/").string()));
}

TEST(CreateFolderPath, HandlesPathsLongerThanOldLimits) {
  test::TempFolder temp;
  std::string path = temp.path().string();
  for (int i = 0; i < 40; ++i) path += "/" + std::string(20, static_cast<char>('a' + i % 26));
  path += "/";
  ASSERT_GT(path.size(), 800u);
  EXPECT_TRUE(CreateFolderPath(path));
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

class Environment : public ::testing::Test {
 protected:
  void Set(const char* name, const char* value) {
    if (!saved_.contains(name)) {
      const char* old = getenv(name);
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

TEST_F(Environment, AppDataFolderFollowsXdgDataHome) {
  Set("XDG_DATA_HOME", "/tmp/xdg-data/");
  EXPECT_EQ(GetAppDataFolder(), "/tmp/xdg-data");
  EXPECT_EQ(GetProgramDataFolder(), "/tmp/xdg-data/Norvessa Image Forge/");

  Set("XDG_DATA_HOME", nullptr);
  Set("HOME", "/home/someone");
  EXPECT_EQ(GetAppDataFolder(), "/home/someone/.local/share");

  // A relative XDG_DATA_HOME is invalid and ignored.
  Set("XDG_DATA_HOME", "relative/data");
  EXPECT_EQ(GetAppDataFolder(), "/home/someone/.local/share");
}

TEST(ModuleFolder, IsTheFolderOfTheRunningProgram) {
  const auto folder = GetModuleFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.string().back(), '/');
  EXPECT_TRUE(std::filesystem::exists(folder / "app_tests"));
}

}  // namespace
}  // namespace forge
