#include "platform/child_process.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "support/test_files.h"

namespace forge {
namespace {

std::string ReadAll(ChildProcess& child) {
  std::string output;
  char buffer[4096];
  while (const long got = child.ReadOutput(buffer)) {
    if (got > 0) output.append(buffer, static_cast<std::size_t>(got));
  }
  return output;
}

TEST(ChildProcess, CollectsOutputAndErrorsInOnePipe) {
  int error = 0;
  auto child = ChildProcess::Start({"sh", "-c", "echo out; echo err >&2; exit 3"},
                                   {.captureOutput = true}, error);
  ASSERT_TRUE(child) << error;
  EXPECT_EQ(ReadAll(*child), "out\nerr\n");
  EXPECT_EQ(child->Wait(), 3);
  EXPECT_EQ(child->Wait(), 3);
}

TEST(ChildProcess, ArgumentsReachTheChildUnchanged) {
  const std::vector<std::string> tricky = {"-leading dash", "*.txt", "a \"quoted\" name", "$HOME; rm -rf /", ""};
  std::vector<std::string> argv = {"printf", "[%s]\n"};
  argv.insert(argv.end(), tricky.begin(), tricky.end());
  int error = 0;
  auto child = ChildProcess::Start(argv, {.captureOutput = true}, error);
  ASSERT_TRUE(child);
  EXPECT_EQ(ReadAll(*child), "[-leading dash]\n[*.txt]\n[a \"quoted\" name]\n[$HOME; rm -rf /]\n[]\n");
  EXPECT_EQ(child->Wait(), 0);
}

TEST(ChildProcess, InputPipeGivesEndOfFile) {
  int error = 0;
  auto child = ChildProcess::Start({"sh", "-c", "read answer; echo \"got:$answer\""},
                                   {.captureOutput = true, .inputPipe = true}, error);
  ASSERT_TRUE(child);
  EXPECT_EQ(ReadAll(*child), "got:\n");
}

TEST(ChildProcess, MissingProgramReportsItsError) {
  int error = 0;
  EXPECT_FALSE(ChildProcess::Start({"/nonexistent/forge-extract"}, {}, error));
  EXPECT_EQ(error, ENOENT);
  EXPECT_FALSE(ChildProcess::Start({"forge-no-such-program"}, {}, error));
  EXPECT_EQ(error, ENOENT);
  EXPECT_FALSE(ChildProcess::Start({}, {}, error));
  EXPECT_EQ(error, EINVAL);
}

TEST(ChildProcess, ReadTimesOutAndTerminateEndsTheChild) {
  int error = 0;
  auto child = ChildProcess::Start({"sleep", "30"}, {.captureOutput = true}, error);
  ASSERT_TRUE(child);
  char buffer[16];
  EXPECT_EQ(child->ReadOutput(buffer, 20), -1);
  child->Terminate();
  EXPECT_EQ(child->Wait(), 128 + 15);
}

TEST(ChildProcess, RunsInTheGivenWorkingFolder) {
  test::TempFolder folder;
  int error = 0;
  auto child = ChildProcess::Start({"pwd"}, {.captureOutput = true, .workingFolder = folder.path()},
                                   error);
  ASSERT_TRUE(child);
  EXPECT_EQ(ReadAll(*child), folder.path().string() + "\n");

  EXPECT_FALSE(ChildProcess::Start({"pwd"}, {.workingFolder = folder / "missing"}, error));
  EXPECT_EQ(error, ENOENT);
}

TEST(ChildProcess, HasExitedDoesNotBlock) {
  int error = 0;
  auto running = ChildProcess::Start({"sleep", "30"}, {}, error);
  ASSERT_TRUE(running);
  EXPECT_FALSE(running->HasExited());
  running->Terminate();
  EXPECT_EQ(running->Wait(), 128 + 15);
  EXPECT_TRUE(running->HasExited());

  auto quick = ChildProcess::Start({"sh", "-c", "exit 4"}, {}, error);
  ASSERT_TRUE(quick);
  while (!quick->HasExited()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_EQ(quick->Wait(), 4);
}

}  // namespace
}  // namespace forge
