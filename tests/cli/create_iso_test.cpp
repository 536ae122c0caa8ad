// image-forge-cli create-iso as a user runs it.
#include <gtest/gtest.h>

#include "support/run_program.h"
#include "support/test_files.h"

namespace forge {
namespace {

// One line on standard error, starting with the program and the command.
void ExpectOneLineMessage(const test::ProgramRun& run, const std::string& part) {
  EXPECT_TRUE(run.output.starts_with("image-forge-cli: create-iso: ")) << run.output;
  EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
  EXPECT_NE(run.output.find(part), std::string::npos) << run.output;
}

TEST(CreateIso, WritesFilesAndFoldersInEachFileSystem) {
  if (!test::HaveProgram("xorriso") || !test::HaveProgram("7zz")) {
    GTEST_SKIP() << "xorriso and 7zz are needed (scripts/install-deps adds them)";
  }
  test::TempFolder temp;
  test::WriteFile(temp / "docs/a.txt", "alpha");
  test::WriteFile(temp / "docs/sub/b.txt", "beta");
  test::WriteFile(temp / "single.txt", "single");
  for (const std::string fs : {"joliet", "iso9660", "udf"}) {
    const auto image = temp / (fs + ".iso");
    const auto run = test::RunCli({"create-iso", "--fs", fs, "-o", image.string(),
                                   (temp / "docs").string(), (temp / "single.txt").string()});
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find(image.string()), std::string::npos) << run.output;

    const auto out = temp / ("read-" + fs);
    const auto read =
        fs == "udf" ? test::RunProgram({"7zz", "x", "-y", image.string(), "-o" + out.string()})
                    : test::RunProgram({"xorriso", "-osirrox", "on", "-indev", image.string(),
                                        "-extract", "/", out.string()});
    ASSERT_EQ(read.status, 0) << read.output;
    EXPECT_EQ(test::ReadFile(out / "docs/a.txt"), "alpha") << fs;
    EXPECT_EQ(test::ReadFile(out / "docs/sub/b.txt"), "beta") << fs;
    EXPECT_EQ(test::ReadFile(out / "single.txt"), "single") << fs;
  }
}

TEST(CreateIso, UsageErrorsExitWithTwo) {
  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"create-iso", "/tmp"}, "no output file"},
      {{"create-iso", "-o", "x.iso"}, "nothing to put into the image"},
      {{"create-iso", "--fs", "fat32", "-o", "x.iso", "/tmp"}, "unknown file system 'fat32'"},
      {{"create-iso", "--verbose", "-o", "x.iso", "/tmp"}, "unknown option '--verbose'"},
      {{"create-iso", "/tmp", "-o"}, "-o needs a value"},
  };
  for (const auto& c : cases) {
    const auto run = test::RunCli(c.args);
    EXPECT_EQ(run.status, 2) << c.message;
    ExpectOneLineMessage(run, c.message);
  }
}

TEST(CreateIso, FailuresExitWithOneAndNameTheCause) {
  test::TempFolder temp;
  test::WriteFile(temp / "a/same.txt", "1");
  test::WriteFile(temp / "b/same.txt", "2");
  test::WriteFile(temp / "--odd name.txt", "odd");

  auto run = test::RunCli({"create-iso", "-o", (temp / "x.iso").string(), (temp / "missing").string()});
  EXPECT_EQ(run.status, 1);
  ExpectOneLineMessage(run, "missing: file not found");

  run = test::RunCli({"create-iso", "-o", "/dev/full", (temp / "a").string()});
  EXPECT_EQ(run.status, 1);
  ExpectOneLineMessage(run, "cannot write /dev/full: the disk is full");

  run = test::RunCli({"create-iso", "-o", (temp / "x.iso").string(), (temp / "a/same.txt").string(),
                      (temp / "b/same.txt").string()});
  EXPECT_EQ(run.status, 1);
  ExpectOneLineMessage(run, "two items would be named 'same.txt'");

  // "--" ends the options, so names may start with dashes.
  run = test::RunCli({"create-iso", "-o", (temp / "x.iso").string(), "--",
                      (temp / "--odd name.txt").string()});
  EXPECT_EQ(run.status, 0) << run.output;
}

}  // namespace
}  // namespace forge
