// Images of a tree of awkward names, written in every file system and read back by programs we
// did not write: xorriso (Rock Ridge) and isoinfo (Joliet) for ISO 9660, 7-Zip and udfinfo
// for UDF. Every name and every byte must come back.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>

#include "authoring/disc_image_engine.h"
#include "authoring/iso_file_writer.h"
#include "image_check.h"
#include "support/test_files.h"

namespace forge {
namespace {

// Names of exactly `n` characters.
std::string NameOfLength(std::size_t n, char fill) { return std::string(n - 4, fill) + ".txt"; }

std::string RandomBytes(std::size_t n) {
  std::mt19937 random(20140307);
  std::string bytes(n, '\0');
  for (auto& byte : bytes) byte = static_cast<char>(random() & 0xFF);
  return bytes;
}

// The collection the user picks: every kind of name and file the images must carry.
void MakeCollection(const std::filesystem::path& root) {
  test::WriteFile(root / "with space.txt", "space");
  test::WriteFile(root / "it's \"quoted\".txt", "quotes");
  test::WriteFile(root / "#%&.txt", "hash percent ampersand");
  test::WriteFile(root / "-leading dash", "dash");
  test::WriteFile(root / "--two dashes.txt", "dashes");
  test::WriteFile(root / "café crème.txt", "accents");
  test::WriteFile(root / "日本語のファイル.txt", "cjk");
  test::WriteFile(root / "emoji 😀 here.txt", "emoji");
  test::WriteFile(root / NameOfLength(64, 's'), "sixty-four");
  test::WriteFile(root / NameOfLength(200, 'l'), "two hundred");
  test::WriteFile(root / "Case.txt", "upper");
  test::WriteFile(root / "case.txt", "lower");
  test::WriteFile(root / "d1/d2/d3/d4/d5/d6/d7/d8/d9/d10/deep.txt", "ten levels down");
  std::filesystem::create_directories(root / "empty folder");
  test::WriteFile(root / "empty.txt", "");
  test::WriteFile(root / "block.bin", std::string(2048, 'b'));
  test::WriteFile(root / "data/random.bin", RandomBytes(5 * 1024 * 1024 + 123));
  // Left out: hidden entries below a picked folder.
  test::WriteFile(root / ".hidden", "not in the image");
  test::WriteFile(root / ".git/config", "not in the image");
}

// What the collection looks like inside the image, below its own folder name.
test::TreeContents ExpectedTree(const std::filesystem::path& root) {
  test::TreeContents expected;
  for (const auto& [name, contents] : test::ReadTree(root)) {
    if (name.starts_with(".")) continue;
    expected["collection/" + name] = contents;
  }
  expected["collection"] = "<folder>";
  return expected;
}

// The value of "key=value" lines as udfinfo prints them.
std::string Field(const std::string& text, const std::string& key) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with(key + "=")) return line.substr(key.size() + 1);
  }
  return "";
}

class ReadersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeCollection(temp_ / "collection");
    SourceItem item{true, 0, temp_ / "collection"};
    ASSERT_EQ(engine_.AddItemToImage(item, nullptr), ResultOk);
    expected_ = ExpectedTree(temp_ / "collection");
  }

  std::filesystem::path Write(FileSystemChoice choice) {
    const auto image = temp_ / ("image" + std::to_string(static_cast<int>(choice)) + ".iso");
    EXPECT_EQ(WriteIsoFile(engine_, image, nullptr, choice), ResultOk);
    return image;
  }

  test::TempFolder temp_;
  DiscImageEngine engine_;
  test::TreeContents expected_;
};

TEST_F(ReadersTest, IsoWithJolietGivesWholeNamesThroughRockRidgeAndJoliet) {
  FORGE_REQUIRE_PROGRAM("xorriso");
  FORGE_REQUIRE_PROGRAM("isoinfo");
  FORGE_REQUIRE_PROGRAM("blkid");
  const auto image = Write(FileSystemChoice::IsoJoliet);

  EXPECT_EQ(test::ReadImage(image, false, temp_ / "rock-ridge"), expected_);

  // The Joliet tree: every folder holds as many entries as the source, ASCII names come back
  // whole up to Joliet's 103 characters and longer ones cut there, and data is found.
  const auto listing = test::RunProgram({"isoinfo", "-J", "-l", "-i", image.string()});
  ASSERT_EQ(listing.status, 0) << listing.output;
  std::map<std::string, std::set<std::string>> jolietFolders;
  std::string folder;
  std::istringstream lines(listing.output);
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("Directory listing of ")) {
      folder = line.substr(22);  // after "of /"
      if (!folder.empty()) folder.pop_back();
      jolietFolders[folder];
    } else if (line.size() > 68 && (line[0] == 'd' || line[0] == '-')) {
      std::string name = line.substr(67);
      while (!name.empty() && name.back() == ' ') name.pop_back();
      if (name != "." && name != "..") jolietFolders[folder].insert(name);
    }
  }
  std::map<std::string, std::set<std::string>> sourceFolders;
  for (const auto& [path, contents] : expected_) {
    const auto slash = path.rfind('/');
    const std::string parent = slash == std::string::npos ? "" : path.substr(0, slash);
    std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    sourceFolders[parent].insert(name);
    if (contents == "<folder>") sourceFolders[path];
  }
  ASSERT_EQ(jolietFolders.size(), sourceFolders.size()) << listing.output;
  for (const auto& [parent, names] : sourceFolders) {
    ASSERT_TRUE(jolietFolders.contains(parent)) << parent;
    EXPECT_EQ(jolietFolders[parent].size(), names.size()) << parent;
    for (const auto& name : names) {
      const bool ascii = std::all_of(name.begin(), name.end(),
                                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
      if (!ascii) continue;
      if (name.size() <= 103) {
        EXPECT_TRUE(jolietFolders[parent].contains(name)) << name;
      } else {  // cut to Joliet's limit, keeping the extension
        EXPECT_TRUE(std::any_of(jolietFolders[parent].begin(), jolietFolders[parent].end(),
                                [&](const std::string& joliet) {
                                  return joliet.size() <= 104 && joliet.starts_with(name.substr(0, 64)) &&
                                         joliet.ends_with(".txt");
                                }))
            << name;
      }
    }
  }
  const auto data = test::RunProgram(
      {"isoinfo", "-J", "-i", image.string(), "-x", "/collection/data/random.bin"});
  EXPECT_TRUE(data.output == expected_["collection/data/random.bin"]) << "Joliet data differs";

  const auto label = test::RunProgram({"blkid", "-p", "-s", "LABEL", "-o", "value", image.string()});
  EXPECT_EQ(label.output, "BuildDisc\n");
}

TEST_F(ReadersTest, IsoAloneHasRockRidgeNamesAndNoJoliet) {
  FORGE_REQUIRE_PROGRAM("xorriso");
  FORGE_REQUIRE_PROGRAM("isoinfo");
  const auto image = Write(FileSystemChoice::Iso9660);

  EXPECT_EQ(test::ReadImage(image, false, temp_ / "rock-ridge"), expected_);

  const auto info = test::RunProgram({"isoinfo", "-d", "-i", image.string()});
  EXPECT_NE(info.output.find("NO Joliet present"), std::string::npos) << info.output;
  // ISO 9660 itself records volume names in capitals.
  EXPECT_NE(info.output.find("Volume id: BUILDDISC"), std::string::npos) << info.output;

  // Deep folders stay where they are in the plain ISO 9660 tree too (not moved up to the root).
  const auto plain = test::RunProgram({"isoinfo", "-l", "-i", image.string()});
  EXPECT_NE(plain.output.find("Directory listing of /COLLECTION/D1/D2/D3/D4/D5/D6/D7/D8/D9/D10/"),
            std::string::npos)
      << plain.output;
}

TEST_F(ReadersTest, UdfGivesWholeNamesAndDataToSevenZipAndUdfinfo) {
  FORGE_REQUIRE_PROGRAM("7zz");
  FORGE_REQUIRE_PROGRAM("udfinfo");
  FORGE_REQUIRE_PROGRAM("isoinfo");
  const auto image = Write(FileSystemChoice::Udf);

  EXPECT_EQ(test::ReadImage(image, true, temp_ / "udf"), expected_);

  const auto tested = test::RunProgram({"7zz", "t", "-tudf", image.string()});
  EXPECT_EQ(tested.status, 0) << tested.output;
  EXPECT_NE(tested.output.find("Everything is Ok"), std::string::npos) << tested.output;

  const auto info = test::RunProgram({"udfinfo", image.string()});
  ASSERT_EQ(info.status, 0) << info.output;
  std::size_t files = 0;
  std::size_t folders = 0;
  for (const auto& [path, contents] : expected_) (contents == "<folder>" ? folders : files)++;
  EXPECT_EQ(Field(info.output, "label"), "BuildDisc");
  EXPECT_EQ(Field(info.output, "udfrev"), "1.02");
  EXPECT_EQ(Field(info.output, "integrity"), "closed");
  EXPECT_EQ(Field(info.output, "numfiles"), std::to_string(files));
  EXPECT_EQ(Field(info.output, "numdirs"), std::to_string(folders + 1));  // with the root
  EXPECT_EQ(Field(info.output, "blocksize"), "2048");

  // A pure UDF image: no ISO 9660 volume descriptor.
  const auto iso = test::RunProgram({"isoinfo", "-d", "-i", image.string()});
  EXPECT_NE(iso.output.find("NOT in ISO 9660 format"), std::string::npos) << iso.output;
}

}  // namespace
}  // namespace forge
