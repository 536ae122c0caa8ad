// image-forge-cli list and extract as a user runs them, with the real archiver.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "support/fixture_images.h"
#include "support/run_program.h"
#include "support/test_files.h"

namespace forge {
namespace {

namespace fs = std::filesystem;

class ExtractionCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const auto missing = test::MissingImageTools(test::ImageKind::Joliet); !missing.empty()) {
      GTEST_SKIP() << missing;
    }
    const char* old = std::getenv("XDG_DATA_HOME");
    savedDataHome_ = old ? std::optional<std::string>(old) : std::nullopt;
    ::setenv("XDG_DATA_HOME", (work_ / "data").c_str(), 1);
    test::MakeFixtureTree(tree_);
    test::MakeImage(test::ImageKind::Joliet, tree_, image_);
  }
  void TearDown() override {
    if (savedDataHome_) {
      ::setenv("XDG_DATA_HOME", savedDataHome_->c_str(), 1);
    } else {
      ::unsetenv("XDG_DATA_HOME");
    }
  }

  test::TempFolder work_;
  const fs::path tree_ = work_ / "tree";
  const fs::path image_ = work_ / "fixture.iso";
  std::optional<std::string> savedDataHome_;
};

TEST_F(ExtractionCommands, ListPrintsTypeSizeDateAndName) {
  const std::string twoFiles =
      "File                2  2014-03-07 09:05:00  b.txt\n"
      "File           100000  2014-03-07 09:05:00  big.bin\n";
  for (const char* folder : {"Docs/2013", "/Docs/2013/"}) {
    const auto run = test::RunCli({"list", image_.string(), folder});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, twoFiles) << folder;
  }
  const auto top = test::RunCli({"list", image_.string()});
  EXPECT_EQ(top.status, 0);
  EXPECT_NE(top.output.find("Folder              0  2014-03-07 09:05:00  Docs\n"), std::string::npos)
      << top.output;
  EXPECT_EQ(top.output.find("a.txt"), std::string::npos);
}

TEST_F(ExtractionCommands, ExtractsTheWholeImageOrTheGivenPaths) {
  const auto all = test::RunCli({"extract", image_.string(), "-o", (work_ / "all").string()});
  EXPECT_EQ(all.status, 0) << all.output;
  EXPECT_EQ(test::SnapshotTree(work_ / "all"), test::SnapshotTree(tree_));

  const auto some = test::RunCli({"extract", image_.string(), "-o", (work_ / "some").string(), "--",
                                  "/Docs/2013/", "-o.txt"});
  EXPECT_EQ(some.status, 0) << some.output;
  EXPECT_EQ(test::ReadFile(work_ / "some/Docs/2013/b.txt"), "b\n");
  EXPECT_EQ(test::ReadFile(work_ / "some/-o.txt"), "switch\n");
  EXPECT_FALSE(fs::exists(work_ / "some/Docs/a.txt"));
}

TEST_F(ExtractionCommands, FailuresAndUsageErrors) {
  test::WriteFile(work_ / "text.iso", "not an image\n");
  const std::string out = (work_ / "out").string();
  const struct {
    std::vector<std::string> args;
    int status;
    std::string_view says;
  } cases[] = {
      {{"extract", (work_ / "text.iso").string(), "-o", out}, 1, "exit status 2"},
      {{"extract", image_.string(), "-o", out, "Docs/missing.txt"}, 1, "file not found"},
      {{"list", (work_ / "missing.iso").string()}, 1, "cannot list"},
      {{"list", (work_ / "text.iso").string()}, 1, "exit status 2"},
      // "--" lets an image name begin with a dash.
      {{"list", "--", "-missing.iso"}, 1, "cannot list -missing.iso"},
      {{"extract", image_.string()}, 2, "extract: no destination folder"},
      {{"extract", image_.string(), "-o"}, 2, "extract: -o needs a value"},
      {{"extract", image_.string(), "-o", out, "-o", out}, 2, "extract: -o is given twice"},
      {{"extract", image_.string(), "-o", out, "-x"}, 2, "extract: unknown option '-x'"},
      {{"list"}, 2, "list: no image given"},
      {{"list", image_.string(), "Docs", "extra"}, 2, "list: unexpected argument 'extra'"},
  };
  for (const auto& c : cases) {
    const auto run = test::RunCli(c.args);
    EXPECT_EQ(run.status, c.status) << c.args.back() << ": " << run.output;
    EXPECT_NE(run.output.find(c.says), std::string::npos) << run.output;
  }
}

}  // namespace
}  // namespace forge
