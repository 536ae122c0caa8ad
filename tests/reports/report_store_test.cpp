#include "reports/report_store.h"

#include <gtest/gtest.h>

#include "support/test_files.h"

namespace forge {
namespace {

std::vector<std::string> Names(const std::vector<std::filesystem::path>& paths) {
  std::vector<std::string> names;
  for (const auto& path : paths) names.push_back(path.filename().string());
  return names;
}

TEST(ListReportFiles, TakesOnlyHtmlNamesOldestFirst) {
  test::TempFolder folder;
  for (const char* name : {"2014-03-07 09_05_00.html", "a.html", "notes.txt", "old.HTML", ".hidden.html",
                           "2013-12-31 23_59_59.html", "page.html.bak"}) {
    test::WriteFile(folder / name, "x");
  }
  std::filesystem::create_directory(folder / "folder.html");
  std::filesystem::create_directories(folder / "sub");
  test::WriteFile(folder / "sub/inner.html", "x");

  EXPECT_EQ(Names(ListReportFiles(folder.path())),
            (std::vector<std::string>{"2013-12-31 23_59_59.html", "2014-03-07 09_05_00.html", "a.html",
                                      "folder.html"}));
  EXPECT_TRUE(ListReportFiles(folder / "missing").empty());
}

TEST(DeleteReportFiles, GoesOnAfterAFailure) {
  test::TempFolder folder;
  test::WriteFile(folder / "a.html", "x");
  test::WriteFile(folder / "readonly.html", "x");
  std::filesystem::permissions(folder / "readonly.html", std::filesystem::perms::owner_read);
  // A folder with contents cannot be removed as a file: the deletion that fails.
  test::WriteFile(folder / "stuck.html/inside", "x");
  test::WriteFile(folder / "z.html", "x");

  const auto files = ListReportFiles(folder.path());
  ASSERT_EQ(files.size(), 4u);
  const auto withVanished = [&] {
    auto list = files;
    list.push_back(folder / "vanished.html");
    list.push_back({});
    return list;
  }();

  EXPECT_FALSE(DeleteReportFiles(withVanished));
  // A read-only file in a writable folder can be deleted on this platform.
  EXPECT_EQ(Names(ListReportFiles(folder.path())), std::vector<std::string>{"stuck.html"});
}

TEST(DeleteReportFiles, VanishedFilesAreNotFailures) {
  test::TempFolder folder;
  EXPECT_TRUE(DeleteReportFiles({folder / "gone.html"}));
}

}  // namespace
}  // namespace forge
