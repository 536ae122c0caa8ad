#include "app/ini_reader.h"

#include <gtest/gtest.h>

namespace forge {
namespace {

using Lines = std::vector<std::pair<std::string, std::string>>;

std::string Utf16LeWithBom(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

TEST(ParseIni, SplitsAtTheFirstEqualsAndTrimsNothing) {
  const auto document = ParseIni(
      "ignored=before any section\n"
      "[Main]\n"
      "Title=Size = 4 GB\n"
      "Bare line\n"
      " Spaced = text \n"
      "; a comment\n"
      "\n"
      "Empty=\n");
  ASSERT_EQ(document.sections.size(), 1u);
  EXPECT_EQ(document.sections[0].name, "Main");
  EXPECT_EQ(document.sections[0].lines, (Lines{{"Title", "Size = 4 GB"},
                                               {"Bare line", "Bare line"},
                                               {" Spaced ", " text "},
                                               {"Empty", ""}}));
}

TEST(ParseIni, KeepsSectionOrderAndCase) {
  const auto document = ParseIni("[B]\r\nk=1\r\n[a]\r\n[mainwnd]\r\n[MainWnd]\r\nx=y\r\n[B]\r\nk=2\r\n");
  ASSERT_EQ(document.sections.size(), 4u);
  EXPECT_EQ(document.sections[0].name, "B");
  EXPECT_EQ(document.sections[1].name, "a");
  EXPECT_EQ(document.sections[2].name, "mainwnd");
  EXPECT_EQ(document.sections[3].name, "MainWnd");
  // A section named twice is one section; its lines stay in file order.
  EXPECT_EQ(document.sections[0].lines, (Lines{{"k", "1"}, {"k", "2"}}));
  EXPECT_EQ(document.Value("B", "k"), "1");
  EXPECT_EQ(document.Value("mainwnd", "x"), std::nullopt);
  EXPECT_EQ(document.Value("Missing", "k"), std::nullopt);
}

TEST(ParseIni, ReadsEveryEncodingTranslatorsUse) {
  const std::string expectedText = "Gr\xC3\xB6\xC3\x9F" "e \xE6\x97\xA5 \xF0\x9F\x93\x80";  // Größe 日 📀
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"UTF-8", "[S]\nk=" + expectedText + "\n"},
      {"UTF-8 with BOM", "\xEF\xBB\xBF[S]\r\nk=" + expectedText + "\r\n"},
      {"UTF-16 LE with BOM", Utf16LeWithBom(u"[S]\r\nk=Gr\u00F6\u00DFe \u65E5 \U0001F4C0\r\n")},
  };
  for (const auto& c : cases) {
    const auto document = ParseIni(c.bytes);
    EXPECT_EQ(document.Value("S", "k"), expectedText) << c.what;
  }
}

TEST(ReadIniFile, MissingFileGivesNothing) {
  EXPECT_FALSE(ReadIniFile("/nonexistent/forge/config.ini").has_value());
}

}  // namespace
}  // namespace forge
