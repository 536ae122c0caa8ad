#include "reports/html_fill.h"

#include <gtest/gtest.h>

namespace forge {
namespace {

TEST(EscapeHtml, EscapesEveryMarkupCharacter) {
  EXPECT_EQ(EscapeHtml("<script>alert('x & \"y\"')</script>.iso"),
            "&lt;script&gt;alert(&#39;x &amp; &quot;y&quot;&#39;)&lt;/script&gt;.iso");
  EXPECT_EQ(EscapeHtml("plain \xC3\xA9"), "plain \xC3\xA9");
}

TEST(FillPlaceholdersInOrder, ReplacesEachOnceInOrder) {
  const PlaceholderValue values[] = {{"{A}", "1"}, {"{B}", "{C}"}, {"{C}", "3"}, {"{D}", "4"}};
  const struct {
    const char* text;
    const char* filled;
  } cases[] = {
      {"{A}{B}{C}{D}", "1{C}34"},     // text inserted for {B} is not searched for {C}
      {"{A} {A} {D}", "1 {A} 4"},     // each placeholder once
      {"{D}{A}", "{D}1"},             // {D} before {A} is not found after it
      {"no placeholders", "no placeholders"},
      {"{B}", "{C}"},
  };
  for (const auto& c : cases) EXPECT_EQ(FillPlaceholdersInOrder(c.text, values), c.filled) << c.text;
}

TEST(LineEnds, ConvertBothWays) {
  EXPECT_EQ(ToLineFeeds("a\r\nb\rc\n"), "a\nb\rc\n");
  EXPECT_EQ(ToCrLf("a\nb\n"), "a\r\nb\r\n");
}

}  // namespace
}  // namespace forge
