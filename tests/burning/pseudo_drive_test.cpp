// Burns through libburn's pseudo-drives: a file (or device) that libburn writes like a disc.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "burning/burn_engine.h"
#include "burning/pattern_image.h"
#include "burning/recorders.h"
#include "support/test_files.h"

namespace forge {
namespace {

using test::PatternImage;
using test::PatternResult;

struct Event {
  WriteAction action;
  BurnProgress progress;
};

// Burns a pattern image of `size` bytes into `recorderId`; answers 0 to the first writing event
// when `cancelWhileWriting`.
struct PatternBurn {
  std::uint64_t size;
  bool cancelWhileWriting = false;
  std::vector<Event> events{};

  ResultCode Run(const std::string& recorderId) {
    return BurnImageToDisc(
        {.recorderId = recorderId, .eject = true, .closeMedia = false},
        [this](MediaType, std::unique_ptr<ImageResult>& image) {
          image = std::make_unique<PatternResult>(size);
          return ResultOk;
        },
        [this](WriteAction action, const BurnProgress& progress) {
          events.push_back({action, progress});
          return cancelWhileWriting && action == WriteAction::WritingData ? 0 : 1;
        });
  }
};

TEST(PseudoDrive, BurnsTheImageIntoAFileAndCutsWhatWasThere) {
  test::TempFolder folder;
  const auto disc = folder / "disc.img";
  // An earlier, longer image in the file must not survive behind the new one.
  test::WriteFile(disc, std::string(3 << 20, 'x'));

  PatternBurn burn{.size = (1 << 20) + 6 * 2048};
  ASSERT_EQ(burn.Run("stdio:" + disc.string()), ResultOk);
  EXPECT_EQ(std::filesystem::file_size(disc), burn.size);
  EXPECT_TRUE(test::ReadFile(disc) == PatternImage(burn.size).Contents());

  ASSERT_FALSE(burn.events.empty());
  EXPECT_EQ(burn.events.back().action, WriteAction::Completed);
}

TEST(PseudoDrive, CancelFromTheHandlerStopsTheWrite) {
  test::TempFolder folder;
  const auto disc = folder / "disc.img";
  PatternBurn burn{.size = 1ull << 30, .cancelWhileWriting = true};
  EXPECT_EQ(burn.Run("stdio:" + disc.string()), CancelCode);
  EXPECT_LT(std::filesystem::file_size(disc), burn.size);
  EXPECT_NE(burn.events.back().action, WriteAction::Completed);
}

TEST(PseudoDrive, FailuresOfTheTarget) {
  test::TempFolder folder;
  {
    PatternBurn burn{.size = 1 << 20};
    EXPECT_EQ(burn.Run("stdio:" + (folder / "missing" / "disc.img").string()),
              ResultInvalidParameter);
    EXPECT_TRUE(burn.events.empty());
  }
  {
    // A character device is a write-once pseudo-disc; this one is always full.
    PatternBurn burn{.size = 1 << 20};
    EXPECT_EQ(burn.Run("stdio:/dev/full"), ResultDiskFull);
    EXPECT_NE(burn.events.back().action, WriteAction::Completed);
  }
}

TEST(PseudoDrive, OffersNoMediaChoice) {
  test::TempFolder folder;
  MediaClassFlags flags;
  std::vector<MediaChoice> choices;
  EXPECT_EQ(ListMediaChoices("stdio:" + (folder / "disc.img").string(), flags, choices),
            ResultOk);
  EXPECT_TRUE(choices.empty());
}

TEST(Recorders, ListingThisMachineSucceeds) {
  // Whatever drives there are (usually none here), listing them works and every entry can be
  // opened again by its identifier.
  std::vector<RecorderEntry> list;
  ASSERT_EQ(ListRecorders(list), ResultOk);
  for (const auto& entry : list) {
    EXPECT_FALSE(entry.uniqueId.empty());
    EXPECT_NE(entry.displayText.find(" ["), std::string::npos);
  }
}

}  // namespace
}  // namespace forge
