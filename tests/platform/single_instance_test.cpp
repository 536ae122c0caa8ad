// One running program per user: the lock, the socket that carries "show your window", and what
// a crashed program leaves behind.
#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "support/test_files.h"

namespace forge {
namespace {

namespace fs = std::filesystem;

class SingleInstanceTest : public ::testing::Test {
 protected:
  SingleInstanceTest() : folder_(temp_ / "run") {
    fs::create_directories(folder_);
    ::chmod(folder_.c_str(), 0700);
  }

  test::TempFolder temp_;
  fs::path folder_;
};

TEST_F(SingleInstanceTest, OnlyTheFirstHoldsTheLockUntilItEnds) {
  std::optional<SingleInstance> first(std::in_place, folder_);
  ASSERT_TRUE(first->Acquire());
  SingleInstance second(folder_);
  EXPECT_FALSE(second.Acquire());
  first.reset();
  EXPECT_TRUE(second.Acquire());
}

TEST_F(SingleInstanceTest, ALaterStartReachesTheFirstOnlyOnceItListens) {
  SingleInstance first(folder_);
  ASSERT_TRUE(first.Acquire());
  SingleInstance later(folder_);
  ASSERT_FALSE(later.Acquire());
  // Before its window exists the first one does not answer.
  EXPECT_FALSE(later.AskFirstToShow());
  ASSERT_GE(first.Listen(), 0);
  EXPECT_EQ(first.TakeShowRequests(), 0);
  EXPECT_TRUE(later.AskFirstToShow());
  EXPECT_TRUE(later.AskFirstToShow());
  EXPECT_EQ(first.TakeShowRequests(), 2);
  EXPECT_EQ(first.TakeShowRequests(), 0);
}

TEST_F(SingleInstanceTest, WhatAnEndedProgramLeftDoesNotStopTheNextOne) {
  {
    SingleInstance ended(folder_);
    ASSERT_TRUE(ended.Acquire());
    ASSERT_GE(ended.Listen(), 0);
    ASSERT_TRUE(fs::exists(ended.SocketPath()));
  }
  // A program that was killed leaves its socket file; nobody listens on it any more.
  test::WriteFile(folder_ / "norvessa-image-forge.socket", "");
  SingleInstance next(folder_);
  ASSERT_TRUE(next.Acquire());
  ASSERT_GE(next.Listen(), 0);
  SingleInstance later(folder_);
  EXPECT_FALSE(later.Acquire());
  EXPECT_TRUE(later.AskFirstToShow());
  EXPECT_EQ(next.TakeShowRequests(), 1);
}

TEST_F(SingleInstanceTest, WithoutAUsableFolderTheProgramCountsAsTheFirst) {
  for (const fs::path& folder : {fs::path(), folder_ / "missing"}) {
    SingleInstance instance(folder);
    EXPECT_TRUE(instance.Acquire()) << folder;
    EXPECT_LT(instance.Listen(), 0);
    EXPECT_FALSE(instance.AskFirstToShow());
  }
}

TEST(InstanceFolder, IsTheRuntimeFolderOrAPrivateOneInTmp) {
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  const std::optional<std::string> restore = saved ? std::optional<std::string>(saved) : std::nullopt;
  ::setenv("XDG_RUNTIME_DIR", "/run/user/4242", 1);
  EXPECT_EQ(GetInstanceFolder(), fs::path("/run/user/4242"));
  ::unsetenv("XDG_RUNTIME_DIR");
  const fs::path fallback = GetInstanceFolder();
  EXPECT_EQ(fallback, fs::path("/tmp/norvessa-image-forge-" + std::to_string(::geteuid())));
  struct stat status {};
  ASSERT_EQ(::lstat(fallback.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0700u);
  if (restore) ::setenv("XDG_RUNTIME_DIR", restore->c_str(), 1);
}

}  // namespace
}  // namespace forge
