// The folder walk and the naming of items, seen through what the engine asks of the service.
#include "authoring/disc_image_engine.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <map>

#include "authoring/iso_file_writer.h"
#include "fake_image.h"
#include "support/test_files.h"

namespace forge {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

// Records every entry it is asked about and answers `answer`.
class RecordingSink final : public AddProgressSink {
 public:
  explicit RecordingSink(ResultCode answer = ResultOk) : answer_(answer) {}
  ResultCode OnProgress(const SourceItem& entry) override {
    entries.push_back(entry);
    return answer_;
  }
  std::vector<SourceItem> entries;

 private:
  ResultCode answer_;
};

class DiscImageEngineTest : public ::testing::Test {
 protected:

  SourceItem Folder(const std::filesystem::path& path) { return {true, 0, path}; }

  test::TempFolder temp_;
  test::RecordingImage* image_ = nullptr;
  std::unique_ptr<DiscImageEngine> engine_ = test::EngineWithRecordingImage(image_);
};

TEST_F(DiscImageEngineTest, WalkLeavesOutDotEntriesBelowThePickedFolderAndSumsSizes) {
  test::WriteFile(temp_ / "pick/a.txt", "aaa");
  test::WriteFile(temp_ / "pick/.hidden", "hidden");
  test::WriteFile(temp_ / "pick/.git/config", "git");
  test::WriteFile(temp_ / "pick/sub/b.txt", "bbbbb");
  test::WriteFile(temp_ / "pick/sub/.c", "c");
  std::filesystem::create_directories(temp_ / "pick/sub/empty");
  RecordingSink sink;

  SourceItem item = Folder(temp_ / "pick");
  EXPECT_EQ(engine_->AddItemToImage(item, &sink), ResultOk);

  EXPECT_EQ(item.size, 8u);
  EXPECT_THAT(image_->Names("folder"), ElementsAre("pick", "pick/sub", "pick/sub/empty"));
  EXPECT_THAT(image_->Names("file"), UnorderedElementsAre("pick/a.txt", "pick/sub/b.txt"));
  ASSERT_EQ(sink.entries.size(), 2u);
  for (const auto& entry : sink.entries) {
    EXPECT_FALSE(entry.isFolder);
    EXPECT_EQ(entry.size, std::filesystem::file_size(entry.fullPath)) << entry.fullPath;
  }
  // Every file is offered with its own source path.
  for (const auto& call : image_->calls) {
    if (call.operation == "file") {
      EXPECT_EQ(temp_.path() / call.name, call.source);
    }
  }

  // A top-level file is added whatever its name.
  test::WriteFile(temp_ / ".top", "t");
  SourceItem top{false, 1, temp_ / ".top"};
  EXPECT_EQ(engine_->AddItemToImage(top, &sink), ResultOk);
  EXPECT_EQ(image_->calls.back(), (test::RecordingImage::Call{"file", ".top", (temp_ / ".top").string()}));
}

TEST_F(DiscImageEngineTest, EveryFolderIsCreatedBeforeAnythingInsideIt) {
  test::WriteFile(temp_ / "pick/z/y/x/deep.txt", "1");
  test::WriteFile(temp_ / "pick/a/shallow.txt", "2");
  test::WriteFile(temp_ / "pick/top.txt", "3");
  SourceItem item = Folder(temp_ / "pick");
  ASSERT_EQ(engine_->AddItemToImage(item, nullptr), ResultOk);

  std::vector<std::string> created;
  for (const auto& call : image_->calls) {
    const auto slash = call.name.rfind('/');
    const std::string parent = slash == std::string::npos ? "" : call.name.substr(0, slash);
    if (!parent.empty()) {
      EXPECT_NE(std::find(created.begin(), created.end(), parent), created.end()) << call.name;
    }
    if (call.operation == "folder") created.push_back(call.name);
  }
  EXPECT_EQ(image_->Names("file").size(), 3u);
}

TEST_F(DiscImageEngineTest, ASinkThatRefusesEveryFileStillGetsTheFoldersAndTheFullSize) {
  test::WriteFile(temp_ / "pick/a.txt", "aaaa");
  test::WriteFile(temp_ / "pick/sub/b.txt", "bb");
  RecordingSink sink(CancelCode);

  SourceItem item = Folder(temp_ / "pick");
  EXPECT_EQ(engine_->AddItemToImage(item, &sink), ResultOk);
  EXPECT_EQ(item.size, 6u);
  EXPECT_EQ(sink.entries.size(), 2u);
  EXPECT_THAT(image_->Names("folder"), ElementsAre("pick", "pick/sub"));
  EXPECT_TRUE(image_->Names("file").empty());

  // For a top-level file the sink's answer is the result, and nothing is added.
  test::WriteFile(temp_ / "single.txt", "s");
  SourceItem file{false, 1, temp_ / "single.txt"};
  EXPECT_EQ(engine_->AddItemToImage(file, &sink), CancelCode);
  EXPECT_TRUE(image_->Names("file").empty());
}

TEST_F(DiscImageEngineTest, APathEndingInASeparatorPutsTheFolderContentsAtTheRoot) {
  test::WriteFile(temp_ / "pick/a.txt", "a");
  test::WriteFile(temp_ / "pick/sub/b.txt", "b");
  SourceItem item = Folder(temp_.path().string() + "/pick/");
  ASSERT_EQ(engine_->AddItemToImage(item, nullptr), ResultOk);
  EXPECT_THAT(image_->Names("folder"), ElementsAre("", "sub"));
  EXPECT_THAT(image_->Names("file"), UnorderedElementsAre("a.txt", "sub/b.txt"));
}

TEST_F(DiscImageEngineTest, LinksAreFollowedButALoopIsNotAndOtherKindsAreLeftOut) {
  test::WriteFile(temp_ / "pick/sub/f.txt", "f");
  test::WriteFile(temp_ / "elsewhere/g.txt", "gg");
  std::filesystem::create_directory_symlink("..", temp_ / "pick/sub/up");          // loop
  std::filesystem::create_directory_symlink(".", temp_ / "pick/self");              // loop
  std::filesystem::create_directory_symlink(temp_ / "elsewhere", temp_ / "pick/other");
  std::filesystem::create_symlink(temp_ / "pick/sub/f.txt", temp_ / "pick/link.txt");
  std::filesystem::create_symlink(temp_ / "missing", temp_ / "pick/dangling");
  ASSERT_EQ(::mkfifo((temp_ / "pick/pipe").c_str(), 0600), 0);

  RecordingSink sink;
  SourceItem item = Folder(temp_ / "pick");
  ASSERT_EQ(engine_->AddItemToImage(item, &sink), ResultOk);
  EXPECT_THAT(image_->Names("folder"), UnorderedElementsAre("pick", "pick/sub", "pick/other"));
  EXPECT_THAT(image_->Names("file"),
              UnorderedElementsAre("pick/sub/f.txt", "pick/other/g.txt", "pick/link.txt"));
  EXPECT_EQ(item.size, 4u);
}

// Creates `depth` nested folders of long names below `base` one at a time (relative to the
// previous one, as the system refuses whole paths this long) and a file at the bottom. Appends
// the folders and the file to `relative`, which starts with base's own name and a "/".
std::string MakeVeryDeepFile(const std::filesystem::path& base, int depth, std::string& relative) {
  const std::string component(200, 'd');
  int folder = ::open(base.c_str(), O_RDONLY | O_DIRECTORY);
  for (int i = 0; i < depth; ++i) {
    EXPECT_EQ(::mkdirat(folder, component.c_str(), 0755), 0);
    const int next = ::openat(folder, component.c_str(), O_RDONLY | O_DIRECTORY);
    ::close(folder);
    folder = next;
    relative += component + "/";
  }
  const int file = ::openat(folder, "bottom.txt", O_WRONLY | O_CREAT, 0644);
  EXPECT_EQ(::write(file, "bottom", 6), 6);
  ::close(file);
  ::close(folder);
  relative += "bottom.txt";
  return base.string() + "/" + relative.substr(relative.find('/') + 1);
}

TEST_F(DiscImageEngineTest, PathsLongerThanTheSystemLimitAreWalked) {
  std::string relative = "pick/";
  std::filesystem::create_directory(temp_ / "pick");
  const std::string deepFile = MakeVeryDeepFile(temp_ / "pick", 25, relative);
  ASSERT_GT(deepFile.size(), static_cast<std::size_t>(PATH_MAX));

  RecordingSink sink;
  SourceItem item = Folder(temp_ / "pick");
  ASSERT_EQ(engine_->AddItemToImage(item, &sink), ResultOk);
  EXPECT_THAT(image_->Names("file"), ElementsAre(relative));
  ASSERT_EQ(sink.entries.size(), 1u);
  EXPECT_EQ(sink.entries[0].fullPath, deepFile);
  EXPECT_EQ(item.size, 6u);
}

TEST_F(DiscImageEngineTest, RemovingARowRemovesAFolderTreeOrOneFile) {
  EXPECT_EQ(engine_->RemoveItemFromImage(Folder(temp_ / "Photos")), ResultOk);
  EXPECT_EQ(engine_->RemoveItemFromImage({false, 1, temp_ / "Photos/a.jpg"}), ResultOk);
  EXPECT_THAT(image_->calls, ElementsAre(test::RecordingImage::Call{"remove tree", "Photos", ""},
                                         test::RecordingImage::Call{"remove file", "a.jpg", ""}));
}

TEST(DiscImageEngineWithoutService, AddingStillWalksAndWritingReportsTheMissingService) {
  test::TempFolder temp;
  test::WriteFile(temp / "pick/a.txt", "aaa");
  test::WriteFile(temp / "pick/sub/b.txt", "bb");
  DiscImageEngine engine(nullptr);
  RecordingSink sink;

  SourceItem folder{true, 0, temp / "pick"};
  EXPECT_EQ(engine.AddItemToImage(folder, &sink), ResultOk);
  EXPECT_EQ(folder.size, 5u);
  EXPECT_EQ(sink.entries.size(), 2u);
  SourceItem file{false, 3, temp / "pick/a.txt"};
  EXPECT_EQ(engine.AddItemToImage(file, &sink), ResultOk);
  EXPECT_EQ(engine.RemoveItemFromImage(file), ResultOk);
  EXPECT_EQ(WriteIsoFile(engine, temp / "out.iso", nullptr, FileSystemChoice::IsoJoliet),
            ResultServiceUnavailable);
  EXPECT_FALSE(std::filesystem::exists(temp / "out.iso"));
}

}  // namespace
}  // namespace forge
