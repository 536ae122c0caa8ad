// The encodings UDF readers check byte by byte.
#include "authoring/udf_format.h"

#include <gtest/gtest.h>

#include <array>

namespace forge::udf {
namespace {

std::span<const std::byte> Bytes(std::string_view text) {
  return {reinterpret_cast<const std::byte*>(text.data()), text.size()};
}

TEST(UdfFormat, TagCrcMatchesTheStandardsTestVectors) {
  EXPECT_EQ(Crc(Bytes("123456789")), 0x31C3);
  EXPECT_EQ(Crc(Bytes("\x70\x6A\x77")), 0x3299);
  EXPECT_EQ(Crc({}), 0);
}

TEST(UdfFormat, NamesUseEightBitsWhenTheyCanAndUtf16OtherwiseWithoutLosingCharacters) {
  const struct {
    std::string utf8;
    std::string cs0;
  } cases[] = {
      {"a b", std::string("\x08" "a b", 4)},
      {"caf\xC3\xA9", std::string("\x08" "caf\xE9", 5)},                   // é fits in 8 bits
      {"\xE6\x97\xA5", std::string("\x10\x65\xE5", 3)},                    // 日
      {"a\xF0\x9F\x98\x80", std::string("\x10\x00" "a\xD8\x3D\xDE\x00", 7)},  // a😀: a surrogate pair
  };
  for (const auto& c : cases) EXPECT_EQ(EncodeCs0(c.utf8), c.cs0) << c.utf8;
}

TEST(UdfFormat, ALabelTooLongForItsFieldIsCutBetweenCharacters) {
  std::array<std::byte, 32> field{};
  // 16-bit text: 15 units fit (1 + 30 bytes); the 15th would be the first half of the emoji's
  // surrogate pair, so only 14 are kept.
  const std::string label = "\xE6\x97\xA5" + std::string(13, 'x') + "\xF0\x9F\x98\x80";
  PutDstring(field, label);
  EXPECT_EQ(std::to_integer<int>(field[0]), 16);
  EXPECT_EQ(std::to_integer<int>(field[31]), 1 + 2 * 14);
  EXPECT_EQ(std::to_integer<int>(field[28]), 'x');
  EXPECT_EQ(std::to_integer<int>(field[29]), 0);

  PutDstring(field, std::string(40, 'y'));
  EXPECT_EQ(std::to_integer<int>(field[31]), 31);
  PutDstring(field, "");
  EXPECT_EQ(std::to_integer<int>(field[31]), 0);
}

}  // namespace
}  // namespace forge::udf
