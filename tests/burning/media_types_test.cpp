#include "burning/media_types.h"

#include <gtest/gtest.h>

#include <optional>

namespace forge {
namespace {

std::optional<MediaClass> ClassOfValue(int value) {
  MediaClassFlags flags;
  ClassifyMediaType(flags, value);
  std::optional<MediaClass> found;
  for (std::size_t i = 0; i < kMediaClassCount; ++i) {
    if (!flags.flags[i]) continue;
    EXPECT_FALSE(found) << "value " << value << " set two classes";
    found = static_cast<MediaClass>(i);
  }
  return found;
}

TEST(MediaTypes, EachTypeSetsItsClassOnly) {
  using C = MediaClass;
  const std::optional<MediaClass> expected[] = {
      std::nullopt,     // 0 unknown
      C::Cd,            // 1 CD-ROM
      C::Cd,            // 2 CD-R
      C::Cd,            // 3 CD-RW
      C::Dvd,           // 4 DVD-ROM
      C::Dvd,           // 5 DVD-RAM
      C::Dvd,           // 6 DVD+R
      C::Dvd,           // 7 DVD+RW
      C::DualLayerDvd,  // 8 DVD+R DL
      C::Dvd,           // 9 DVD-R
      C::Dvd,           // 10 DVD-RW
      C::DualLayerDvd,  // 11 DVD-R DL
      std::nullopt,     // 12 disk
      C::DualLayerDvd,  // 13 DVD+RW DL
      C::HdDvd,         // 14 HD DVD-ROM
      C::HdDvd,         // 15 HD DVD-R
      C::HdDvd,         // 16 HD DVD-RAM
      C::BluRay,        // 17 BD-ROM
      C::BluRay,        // 18 BD-R
      C::BluRay,        // 19 BD-RE
      std::nullopt,     // 20: not in the table
  };
  for (int value = 0; value < static_cast<int>(std::size(expected)); ++value) {
    EXPECT_EQ(ClassOfValue(value), expected[value]) << "media type " << value;
  }
  for (int value : {-1, 21, 0xffff}) EXPECT_EQ(ClassOfValue(value), std::nullopt) << value;
}

TEST(MediaTypes, ChoicesFollowClassOrderWithFixedSizes) {
  MediaClassFlags all;
  all.flags.fill(true);
  std::vector<MediaChoice> choices;
  AppendMediaChoices(all, choices);
  ASSERT_EQ(choices.size(), 5u);
  const std::pair<std::uint64_t, const char*> expected[] = {
      {734003200, "700MB CD Media"},
      {4692251770, "4.7GB DVD Media"},
      {8536247500, "8.5GB Dual-Layer DVD"},
      {14495514624, "15GB HD DVD"},
      {25018184499, "25GB Blu-ray DVD"},
  };
  for (std::size_t i = 0; i < choices.size(); ++i) {
    EXPECT_EQ(choices[i].capacity, expected[i].first);
    EXPECT_EQ(choices[i].label, expected[i].second);
  }

  // Appends to what is there; classes without a flag are left out.
  MediaClassFlags some;
  some.Set(MediaClass::BluRay);
  some.Set(MediaClass::Cd);
  std::vector<MediaChoice> list = {{1, "earlier"}};
  AppendMediaChoices(some, list);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[1].label, "700MB CD Media");
  EXPECT_EQ(list[2].label, "25GB Blu-ray DVD");
}

}  // namespace
}  // namespace forge
