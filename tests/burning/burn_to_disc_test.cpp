// The Burner's whole road: a collection added to the DiscImageEngine, burned by libburn into a
// pseudo-drive file, read back by 7-Zip and compared with the source tree.
#include "burning/burn_engine.h"

#include <gtest/gtest.h>

#include <random>

#include "authoring/disc_image_engine.h"
#include "authoring/image_check.h"
#include "support/test_files.h"

namespace forge {
namespace {

std::string RandomBytes(std::size_t n) {
  std::mt19937 random(3320);
  std::string bytes(n, '\0');
  for (auto& byte : bytes) byte = static_cast<char>(random() & 0xFF);
  return bytes;
}

struct Event {
  WriteAction action;
  BurnProgress progress;
};

class BurnToDiscTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto docs = temp_ / "source" / "docs";
    test::WriteFile(docs / "readme.txt", "read me");
    test::WriteFile(docs / "Mixed Case Name.txt", "mixed");
    test::WriteFile(docs / "sub" / "data.bin", RandomBytes(700 * 1024 + 5));
    std::filesystem::create_directories(docs / "empty");
    test::WriteFile(temp_ / "source" / "notes.txt", "a top-level file");

    SourceItem folder{true, 0, docs};
    SourceItem file{false, 16, temp_ / "source" / "notes.txt"};
    ASSERT_EQ(engine_.AddItemToImage(folder, nullptr), ResultOk);
    ASSERT_EQ(engine_.AddItemToImage(file, nullptr), ResultOk);
    for (const auto& [name, contents] : test::ReadTree(docs)) expected_["docs/" + name] = contents;
    expected_["docs"] = "<folder>";
    expected_["notes.txt"] = "a top-level file";
  }

  // A folder with one sparse file of `size` bytes, added to the collection.
  SourceItem AddBulk(std::uintmax_t size) {
    test::WriteFile(temp_ / "bulk" / "bulk.bin", "");
    std::filesystem::resize_file(temp_ / "bulk" / "bulk.bin", size);
    SourceItem bulk{true, 0, temp_ / "bulk"};
    EXPECT_EQ(engine_.AddItemToImage(bulk, nullptr), ResultOk);
    return bulk;
  }

  ResultCode Burn(FileSystemChoice fileSystem, const std::string& label,
                  const std::filesystem::path& disc, int cancelAtWritingEvent = 0) {
    events_.clear();
    int writingEvents = 0;
    return BurnToDisc(engine_, fileSystem, label, "stdio:" + disc.string(), /*eject=*/true,
                      /*closeMedia=*/true, [&](WriteAction action, const BurnProgress& progress) {
                        events_.push_back({action, progress});
                        if (action == WriteAction::WritingData) ++writingEvents;
                        return writingEvents > 0 && writingEvents == cancelAtWritingEvent ? 0 : 1;
                      });
  }

  test::TreeContents ReadBack(const std::filesystem::path& disc) {
    const auto folder = temp_ / ("read-" + disc.filename().string());
    const auto run = test::RunProgram({"7zz", "x", "-y", disc.string(), "-o" + folder.string()});
    EXPECT_EQ(run.status, 0) << run.output;
    return test::ReadTree(folder);
  }

  std::string VolumeLabel(const std::filesystem::path& disc) {
    auto run = test::RunProgram({"blkid", "-p", "-s", "LABEL", "-o", "value", disc.string()});
    EXPECT_EQ(run.status, 0) << run.output;
    while (!run.output.empty() && run.output.back() == '\n') run.output.pop_back();
    return run.output;
  }

  test::TempFolder temp_;
  DiscImageEngine engine_;
  test::TreeContents expected_;
  std::vector<Event> events_;
};

TEST_F(BurnToDiscTest, EachFileSystemReadsBackAsTheSourceTreeWithItsLabel) {
  FORGE_REQUIRE_PROGRAM("7zz");
  FORGE_REQUIRE_PROGRAM("blkid");
  const struct {
    FileSystemChoice fileSystem;
    const char* type;
    const char* label;  // as the file system keeps "Burned 2014"
  } cases[] = {
      {FileSystemChoice::IsoJoliet, "iso9660", "Burned 2014"},
      {FileSystemChoice::Iso9660, "iso9660", "BURNED_2014"},
      {FileSystemChoice::Udf, "udf", "Burned 2014"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    const auto disc = temp_ / ("disc" + std::to_string(static_cast<int>(c.fileSystem)) + ".img");
    ASSERT_EQ(Burn(c.fileSystem, "Burned 2014", disc), ResultOk);
    EXPECT_EQ(ReadBack(disc), expected_);
    EXPECT_EQ(VolumeLabel(disc), c.label);
    const auto type = test::RunProgram({"blkid", "-p", "-s", "TYPE", "-o", "value", disc.string()});
    EXPECT_EQ(type.output, std::string(c.type) + "\n");
  }
}

TEST_F(BurnToDiscTest, ProgressRisesAndEndsWithCompletion) {
  AddBulk(128 << 20);  // long enough for several steps
  const auto disc = temp_ / "disc.img";
  ASSERT_EQ(Burn(FileSystemChoice::IsoJoliet, "progress", disc), ResultOk);
  ASSERT_FALSE(events_.empty());
  EXPECT_EQ(events_.front().action, WriteAction::ValidatingMedia);
  EXPECT_EQ(events_.back().action, WriteAction::Completed);
  const auto sectors = static_cast<std::int32_t>(std::filesystem::file_size(disc) / 2048);
  int previous = -1;
  std::int32_t lastWritten = -1;
  int writingSteps = 0;
  for (const auto& [action, progress] : events_) {
    EXPECT_GE(static_cast<int>(action), previous) << "actions out of order";
    previous = static_cast<int>(action);
    if (action != WriteAction::WritingData) continue;
    ++writingSteps;
    EXPECT_EQ(progress.sectorCount, sectors);
    EXPECT_GT(progress.lastWrittenLba, lastWritten);
    EXPECT_LE(progress.lastWrittenLba - progress.startLba, sectors);
    lastWritten = progress.lastWrittenLba;
  }
  EXPECT_GE(writingSteps, 1);
}

TEST_F(BurnToDiscTest, CancelledByTheHandler) {
  const SourceItem bulk = AddBulk(256 << 20);  // still being written at the first step

  const auto disc = temp_ / "cancelled.img";
  EXPECT_EQ(Burn(FileSystemChoice::IsoJoliet, "cancel", disc, /*cancelAtWritingEvent=*/1),
            CancelCode);
  EXPECT_NE(events_.back().action, WriteAction::Completed);
  EXPECT_LT(std::filesystem::file_size(disc), 256u << 20);

  // The burn let go of its image: the Creator can change the collection again.
  EXPECT_EQ(engine_.RemoveItemFromImage(bulk), ResultOk);
}

TEST_F(BurnToDiscTest, WithoutTheImageServiceNothingIsWritten) {
  DiscImageEngine withoutService(nullptr);
  const auto disc = temp_ / "none.img";
  EXPECT_EQ(BurnToDisc(withoutService, FileSystemChoice::IsoJoliet, "x", "stdio:" + disc.string(),
                       false, true, [](WriteAction, const BurnProgress&) { return 1; }),
            ResultServiceUnavailable);
  EXPECT_FALSE(std::filesystem::exists(disc));
}

}  // namespace
}  // namespace forge
