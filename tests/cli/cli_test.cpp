// The command-line program as a user runs it.
#include <gtest/gtest.h>

#include "support/run_program.h"

namespace forge {
namespace {

TEST(Cli, HelpAndVersion) {
  const auto help = test::RunCli({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.output.find("Usage: image-forge-cli"), std::string::npos);

  const auto version = test::RunCli({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.output, "1.0.0\n");
}

TEST(Cli, UnknownCommandIsAOneLineUsageError) {
  const auto run = test::RunCli({"frobnicate"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.output, "image-forge-cli: unknown command 'frobnicate' (see image-forge-cli --help)\n");
}

}  // namespace
}  // namespace forge
