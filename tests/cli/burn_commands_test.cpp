// The recorder and burn subcommands as a user runs them.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/run_program.h"
#include "support/test_files.h"

namespace forge {
namespace {

TEST(CliRecorders, ListsWhateverThisMachineHas) {
  const auto run = test::RunCli({"recorders"});
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_FALSE(run.output.empty());

  EXPECT_EQ(test::RunCli({"recorders", "extra"}).status, 2);
}

TEST(CliBurn, BurnsIntoAPseudoDrive) {
  if (!test::HaveProgram("7zz")) GTEST_SKIP() << "7zz is not installed";
  test::TempFolder temp;
  test::WriteFile(temp / "photos" / "a.jpg", "not really a photo");
  test::WriteFile(temp / "list.txt", "one\ntwo\n");
  const auto disc = temp / "disc.img";
  const auto run =
      test::RunCli({"burn", "--recorder", "stdio:" + disc.string(), "--fs", "udf", "--label",
                    "Holiday", "--no-close", "--eject", (temp / "photos").string(),
                    (temp / "list.txt").string()});
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("label \"Holiday\""), std::string::npos) << run.output;

  const auto listing = test::RunProgram({"7zz", "l", disc.string()});
  EXPECT_EQ(listing.status, 0) << listing.output;
  EXPECT_NE(listing.output.find("photos/a.jpg"), std::string::npos) << listing.output;
  EXPECT_NE(listing.output.find("list.txt"), std::string::npos) << listing.output;
}

TEST(CliBurn, FailuresNameTheirCause) {
  test::TempFolder temp;
  test::WriteFile(temp / "file.txt", "data");
  const auto file = (temp / "file.txt").string();
  const auto target = "stdio:" + (temp / "disc.img").string();
  const struct {
    std::vector<std::string> args;
    int status;
    const char* says;
  } cases[] = {
      {{"burn", "--recorder", "stdio:" + (temp / "no" / "such" / "x.img").string(), file}, 1,
       "no such recorder"},
      {{"burn", "--recorder", "stdio:/dev/full", file}, 1, "the disk is full"},
      {{"burn", "--recorder", target, (temp / "missing").string()}, 1, "file not found"},
      {{"burn", file}, 2, "no recorder given"},
      {{"burn", "--recorder", target}, 2, "nothing to put onto the disc"},
      {{"burn", "--recorder", target, "--fs", "ntfs", file}, 2, "unknown file system 'ntfs'"},
      {{"burn", "--recorder", target, "--label"}, 2, "--label needs a value"},
  };
  for (const auto& c : cases) {
    const auto run = test::RunCli(c.args);
    EXPECT_EQ(run.status, c.status) << c.says << ": " << run.output;
    EXPECT_NE(run.output.find(c.says), std::string::npos) << run.output;
  }
  EXPECT_FALSE(std::filesystem::exists(temp / "disc.img"));
}

}  // namespace
}  // namespace forge
