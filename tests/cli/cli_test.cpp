// The command-line program as a user runs it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_program.h"

namespace forge {
namespace {

TEST(Cli, HelpAndVersion) {
  const auto help = test::RunCli({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.output.find("Usage: image-forge-cli"), std::string::npos);
  EXPECT_NE(help.output.find("  image-forge-cli disks\n"), std::string::npos) << help.output;
  EXPECT_EQ(help.output.find(" \n"), std::string::npos) << "a line ends in a space";

  const auto version = test::RunCli({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.output, "1.0.0\n");
}

TEST(Cli, UnknownCommandIsAOneLineUsageError) {
  const auto run = test::RunCli({"frobnicate"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.output, "image-forge-cli: unknown command 'frobnicate' (see image-forge-cli --help)\n");
}

// Every subcommand answers a bad call with the same one line: the program, the command, the
// cause and where to look, and exit status 2 (before touching any disk, recorder or image).
TEST(Cli, EverySubcommandReportsUsageErrorsInOneForm) {
  const struct {
    std::vector<std::string> args;
    std::string cause;
  } cases[] = {
      {{"create-iso", "--verbose"}, "unknown option '--verbose'"},
      {{"disks", "extra"}, "takes no arguments, not 'extra'"},
      {{"backup", "--disk"}, "--disk needs a value"},
      {{"list", "--long", "x.iso"}, "unknown option '--long'"},
      {{"extract", "x.iso"}, "no destination folder (-o DEST)"},
      {{"recorders", "--all"}, "takes no arguments, not '--all'"},
      {{"burn", "--recorder"}, "--recorder needs a value"},
  };
  for (const auto& c : cases) {
    const auto run = test::RunCli(c.args);
    EXPECT_EQ(run.status, 2) << c.args[0];
    EXPECT_EQ(run.output, "image-forge-cli: " + c.args[0] + ": " + c.cause +
                              " (see image-forge-cli --help)\n");
  }
}

}  // namespace
}  // namespace forge
