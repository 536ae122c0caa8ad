#include "app/language_table.h"

#include <gtest/gtest.h>

#include <thread>

#include "app/ini_reader.h"
#include "support/test_files.h"

namespace forge {
namespace {

class LanguageTableTest : public ::testing::Test {
 protected:
  void WriteConfig(std::string_view text) { test::WriteFile(folder_ / "config.ini", text); }
  void WriteLanguage(const std::string& name, std::string_view text) {
    test::WriteFile(folder_ / "Languages" / (name + ".ini"), text);
  }
  test::TempFolder folder_;
};

TEST_F(LanguageTableTest, ConfigPicksTheLanguage) {
  WriteConfig("[DefaultLanguage]\nDefault=German\n");
  WriteLanguage("English", "[MainWnd]\nVersion=english\n");
  WriteLanguage("German", "[MainWnd]\nVersion=deutsch\n");
  LanguageTable table(folder_.path());
  EXPECT_EQ(table.ActiveLanguage(), "German");
  EXPECT_EQ(table.GetSection("MainWnd").LookupText("Version"), "deutsch");
}

TEST_F(LanguageTableTest, EnglishWithoutConfigOrKey) {
  WriteLanguage("English", "[MainWnd]\nVersion=1.0\n");
  for (const char* config : {"", "[DefaultLanguage]\n", "[Other]\nDefault=German\n"}) {
    if (*config) WriteConfig(config);
    LanguageTable table(folder_.path());
    EXPECT_EQ(table.ActiveLanguage(), "English") << config;
    EXPECT_EQ(table.GetSection("MainWnd").LookupText("Version"), "1.0");
  }
}

TEST_F(LanguageTableTest, MissingLanguageFileLeavesEverySectionEmpty) {
  WriteConfig("[DefaultLanguage]\nDefault=Klingon\n");
  WriteLanguage("English", "[MainWnd]\nVersion=1.0\n");
  LanguageTable table(folder_.path());
  auto& main = table.GetSection("MainWnd");
  EXPECT_EQ(LanguageTable::LookupText(main, "Version"), "");
  // The look-up added the key with an empty text.
  ASSERT_EQ(main.Entries().size(), 1u);
  EXPECT_EQ(main.Entries()[0].first, "Version");
}

TEST_F(LanguageTableTest, FirstKeyWinsAndNamesAreCaseSensitive) {
  WriteLanguage("English",
                "[Messages]\nMSG0305=first\nMSG0305=second\nTitle=Size = 4 GB\n"
                "[mainwnd]\nVersion=lower\n");
  LanguageTable table(folder_.path());
  auto& messages = table.GetSection("Messages");
  EXPECT_EQ(messages.LookupText("MSG0305"), "first");
  EXPECT_EQ(messages.LookupText("Title"), "Size = 4 GB");
  EXPECT_EQ(messages.LookupText("msg0305"), "");
  EXPECT_EQ(table.GetSection("MainWnd").LookupText("Version"), "");
}

TEST_F(LanguageTableTest, EntriesComeInAscendingKeyOrder) {
  WriteLanguage("English", "[W]\nb=2\na=1\nc=3\n");
  LanguageTable table(folder_.path());
  const auto entries = table.GetSection("W").Entries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].first, "a");
  EXPECT_EQ(entries[2].first, "c");
}

TEST_F(LanguageTableTest, LookupsThatAddKeysAreSafeFromTwoThreads) {
  WriteLanguage("English", "[Messages]\nMSG0403=Extracting\n");
  LanguageTable table(folder_.path());
  auto& messages = table.GetSection("Messages");
  auto worker = [&messages](int offset) {
    for (int i = 0; i < 2000; ++i) {
      messages.LookupText("MISSING" + std::to_string((i * 7 + offset) % 500));
      EXPECT_EQ(messages.LookupText("MSG0403"), "Extracting");
    }
  };
  std::thread first(worker, 0), second(worker, 3);
  first.join();
  second.join();
  EXPECT_EQ(messages.Entries().size(), 501u);
}

// The shipped language files are complete: every section and key that English has, the others
// have too, and none is empty.
TEST(ShippedLanguages, AreCompleteAndNonEmpty) {
  const auto folder = test::BuildProgramFolder() / "Languages";
  const auto english = ReadIniFile(folder / "English.ini");
  ASSERT_TRUE(english.has_value());
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const auto document = ReadIniFile(entry.path());
    ASSERT_TRUE(document.has_value()) << entry.path();
    for (const auto& section : english->sections) {
      for (const auto& [key, text] : section.lines) {
        const auto value = document->Value(section.name, key);
        EXPECT_TRUE(value.has_value() && !value->empty())
            << entry.path().filename() << " lacks [" << section.name << "] " << key;
      }
    }
  }
}

// Keys are matched exactly and texts shown as they stand, so a blank around "=" or at the end of
// a line would silently leave a control untranslated or double the blank before a value.
TEST(ShippedLanguages, HaveNoBlanksAroundKeysOrTexts) {
  const auto folder = test::BuildProgramFolder() / "Languages";
  auto hasOuterBlank = [](const std::string& text) {
    return !text.empty() && (text.front() == ' ' || text.front() == '\t' || text.back() == ' ' ||
                             text.back() == '\t');
  };
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const auto document = ReadIniFile(entry.path());
    ASSERT_TRUE(document.has_value()) << entry.path();
    for (const auto& section : document->sections) {
      for (const auto& [key, text] : section.lines) {
        EXPECT_FALSE(hasOuterBlank(key) || hasOuterBlank(text))
            << entry.path().filename() << " [" << section.name << "] \"" << key << "=" << text
            << "\"";
      }
    }
  }
}

}  // namespace
}  // namespace forge
