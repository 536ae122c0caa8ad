// The recorder and burn subcommands as a user runs them.
#include <gtest/gtest.h>

#include "support/run_program.h"

namespace forge {
namespace {

TEST(CliRecorders, ListsWhateverThisMachineHas) {
  const auto run = test::RunCli({"recorders"});
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_FALSE(run.output.empty());

  EXPECT_EQ(test::RunCli({"recorders", "extra"}).status, 2);
}

}  // namespace
}  // namespace forge
