// The listing parser on recorded archiver output (fixtures/, made by record.sh) and on tables
// written here for what no real image can hold.
#include "extraction/listing_parser.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "extraction/archive_entry_printer.h"
#include "support/test_files.h"

namespace forge {
namespace {

std::string Recorded(std::string_view name) {
  return test::ReadFile(test::SourceFolder() / "tests/extraction/fixtures" / name);
}

std::vector<ArchiveEntry> Parse(std::string_view listing, std::string_view prefix) {
  std::vector<ArchiveEntry> entries;
  ParseListing(listing, prefix, entries);
  return entries;
}

ArchiveEntry Folder(std::string name, std::string modified = "2014-03-07 09:05:00") {
  return {true, 0, 0, std::move(modified), std::move(name)};
}

ArchiveEntry File(std::string name, std::int64_t size, std::int64_t packed,
                  std::string modified = "2014-03-07 09:05:00") {
  return {false, size, packed, std::move(modified), std::move(name)};
}

TEST(ParseListing, RecordedJolietListingGivesEachFoldersDirectEntries) {
  const std::string listing = Recorded("joliet-list.txt");
  const struct {
    std::string_view prefix;
    std::vector<ArchiveEntry> entries;
  } cases[] = {
      {"/",
       {Folder("-dash"), File("-o.txt", 7, 7), Folder("2013"), File("@list.txt", 5, 5),
        Folder("Docs"), Folder("DocsArchive"), Folder("empty"), File("empty.bin", 0, 0),
        File("readme.txt", 7, 7), File("star_.txt", 5, 5), File("what_.txt", 9, 9),
        Folder("with space")}},
      // Not DocsArchive's entries, although its name begins with Docs.
      {"Docs/",
       {Folder("2013", "2013-05-06 07:08:09"), File("a.txt", 2, 2, "2013-05-06 07:08:09"),
        File("ünïcödé 日本.txt", 8, 8)}},
      {"docs/",
       {Folder("2013", "2013-05-06 07:08:09"), File("a.txt", 2, 2, "2013-05-06 07:08:09"),
        File("ünïcödé 日本.txt", 8, 8)}},
      {"Docs/2013/", {File("b.txt", 2, 2), File("big.bin", 100000, 100000)}},
      {"DocsArchive/", {File("c.txt", 2, 2)}},
      {"2013/", {File("inside.txt", 7, 7)}},
      {"with space/", {File("it's \"quoted\".txt", 7, 7)}},
      {"-dash/", {File("-leading.txt", 5, 5)}},
      {"empty/", {}},
      {"Missing/", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Parse(listing, c.prefix), c.entries) << c.prefix;
  EXPECT_EQ(Parse(listing, ""), Parse(listing, "/"));
}

TEST(ParseListing, RecordedUdfListingReadsLinesLongerThan2047BytesWhole) {
  const std::string listing = Recorded("udf-list.txt");
  // The names make-tree.sh gives the deep folders.
  std::string word;
  for (int i = 0; i < 40; ++i) word += "長";
  std::string prefix = "deep/";
  for (int level = 1; level <= 16; ++level) {
    prefix += word + word + std::to_string(level) + "/";
  }
  ASSERT_GT(prefix.size() + 53, 2047u);
  EXPECT_EQ(Parse(listing, prefix), std::vector{File(word + ".txt", 5, 2048)});
  // Packed sizes are the UDF blocks taken.
  EXPECT_EQ(Parse(listing, "Docs/2013/"),
            (std::vector{File("b.txt", 2, 2048), File("big.bin", 100000, 100352)}));
}

// A table line as the archiver prints it.
std::string Line(std::string_view date, std::string_view attributes, std::string_view size,
                 std::string_view packed, std::string_view path) {
  char head[64];
  std::snprintf(head, sizeof head, "%-19.*s %-5.*s %12.*s %12.*s  ", static_cast<int>(date.size()),
                date.data(), static_cast<int>(attributes.size()), attributes.data(),
                static_cast<int>(size.size()), size.data(), static_cast<int>(packed.size()),
                packed.data());
  return head + std::string(path);
}

std::string Table(const std::vector<std::string>& lines) {
  std::string text = "header\n" + std::string(kListingSeparator) + "\n";
  for (const auto& line : lines) text += line + "\n";
  return text;
}

TEST(ParseListing, WrittenTables) {
  const std::string longName(300, 'n');
  const std::string separator(kListingSeparator);
  const std::string date = "2001-02-03 04:05:06";
  const struct {
    std::string_view what;
    std::string listing;
    std::string_view prefix;
    std::vector<ArchiveEntry> entries;
  } cases[] = {
      {"no table at all", "ERROR: x.iso : Cannot open the file as archive\n", "/", {}},
      {"a name longer than 259 bytes",
       Table({Line(date, ".....", "1", "1", "F/" + longName)}), "F/",
       {File(longName, 1, 1, date)}},
      {"the last line without a line feed keeps its last character",
       "header\n" + separator + "\n" + Line(date, ".....", "12", "14", "Docs/ab"), "Docs/",
       {File("ab", 12, 14, date)}},
      {"lines after the table are ignored",
       Table({Line(date, ".....", "1", "1", "a"), separator, Line(date, ".....", "2", "2", "b")}),
       "/", {File("a", 1, 1, date)}},
      {"a line too short to hold a name is skipped", Table({"2001-02-03 04:05:06 D....", ""}), "/",
       {}},
      {"a folder named by digits has no size", Table({Line(date, "D....", "", "", "2013")}), "/",
       {Folder("2013", date)}},
      {"sizes beyond 32 bits", Table({Line(date, ".....", "6000000000", "6000002048", "big")}),
       "/", {File("big", 6000000000, 6000002048, date)}},
      {"an entry named like the folder is not inside it",
       Table({Line(date, "D....", "", "", "Docs"), Line(date, ".....", "1", "1", "Docs/x")}),
       "Docs/", {File("x", 1, 1, date)}},
  };
  for (const auto& c : cases) EXPECT_EQ(Parse(c.listing, c.prefix), c.entries) << c.what;
}

TEST(ListingParser, StopsAtTheSecondSeparator) {
  std::vector<ArchiveEntry> entries;
  ListingParser parser("/", entries);
  EXPECT_TRUE(parser.AddLine("header"));
  EXPECT_TRUE(parser.AddLine(kListingSeparator));
  EXPECT_TRUE(parser.AddLine(Line("2001-02-03 04:05:06", ".....", "1", "1", "a")));
  EXPECT_FALSE(parser.AddLine(kListingSeparator));
  EXPECT_FALSE(parser.AddLine(Line("2001-02-03 04:05:06", ".....", "1", "1", "b")));
  EXPECT_EQ(entries.size(), 1u);
}

}  // namespace
}  // namespace forge
