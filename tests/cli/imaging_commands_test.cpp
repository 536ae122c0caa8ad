// The disks and backup subcommands' answers to bad requests (real disks are in the loop-device
// tests of the imaging library).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/test_files.h"

namespace forge {
namespace {

TEST(ImagingCommands, BadRequestsGetOneLineCauses) {
  test::TempFolder folder;
  const auto image = (folder / "out.img").string();
  const struct {
    std::vector<std::string> args;
    int status;
    const char* cause;
  } cases[] = {
      {{"disks", "--all"}, 2, "disks: takes no arguments, not '--all'"},
      {{"backup", "-o", image}, 2, "--disk is required"},
      {{"backup", "--disk", "0"}, 2, "-o is required"},
      {{"backup", "--disk", "first", "-o", image},
       2,
       "--disk takes a disk number or a device path"},
      {{"backup", "--disk", "0", "--start", "5", "-o", image},
       2,
       "--start and --count go together"},
      {{"backup", "--disk", "0", "--start", "5", "--count", "0", "-o", image},
       2,
       "--count must be at least 1"},
      {{"backup", "--disk", "0", "--count", "-5", "--start", "0", "-o", image},
       2,
       "--count takes a whole number"},
      {{"backup", "--disk", "0", "--verify", "-o", image}, 2, "unknown option '--verify'"},
      {{"backup", "--disk", "0", "-o", image, "extra"}, 2, "unexpected argument 'extra'"},
      {{"backup", "--disk", "0", "-o"}, 2, "-o needs a value"},
      {{"backup", "--disk", "4000", "-o", image}, 1, "there is no disk 4000"},
      {{"backup", "--disk", "/dev/null", "-o", image}, 1, "there is no disk /dev/null"},
  };
  for (const auto& c : cases) {
    const auto run = test::RunCli(c.args);
    EXPECT_EQ(run.status, c.status) << c.cause;
    EXPECT_NE(run.output.find(c.cause), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find('\n'), run.output.size() - 1) << run.output;
  }
  EXPECT_FALSE(std::filesystem::exists(image));
}

}  // namespace
}  // namespace forge
