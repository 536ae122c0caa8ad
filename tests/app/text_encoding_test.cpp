#include "app/text_encoding.h"

#include <gtest/gtest.h>

namespace forge {
namespace {

TEST(TextEncoding, RoundTripsEveryPlane) {
  const std::string text = "a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x93\x80";  // a é 日 📀
  const std::u16string units = Utf8ToUtf16(text);
  EXPECT_EQ(units, u"a\u00E9\u65E5\U0001F4C0");
  EXPECT_EQ(Utf16ToUtf8(units), text);
}

TEST(TextEncoding, ReplacesWhatCannotBeDecoded) {
  EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");  // overlong "/"
  EXPECT_EQ(Utf8ToUtf16("\xE6\x97"), u"\uFFFD\uFFFD");  // cut short
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t{0xD800})), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace forge
