// The bridge with the real archiver (build/bin/extract, 7-Zip) on images that xorriso and
// genisoimage make from the fixture tree (fixtures/make-tree.sh).
#include "extraction/archiver_bridge.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <sstream>

#include "app/paths.h"
#include "extraction/archive_entry_printer.h"
#include "extraction/listing_parser.h"
#include "support/fixture_images.h"
#include "support/run_program.h"
#include "support/test_files.h"

namespace forge {
namespace {

namespace fs = std::filesystem;
using test::ImageKind;

// A program folder whose `extract` notes every run's arguments before it starts the real one,
// and a data folder of its own for the listing file.
class BridgeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallArchiver();
    OverrideModuleFolder(program_.path());
    const char* old = std::getenv("XDG_DATA_HOME");
    savedDataHome_ = old ? std::optional<std::string>(old) : std::nullopt;
    ::setenv("XDG_DATA_HOME", data_.path().c_str(), 1);
  }

  void TearDown() override {
    OverrideModuleFolder({});
    if (savedDataHome_) {
      ::setenv("XDG_DATA_HOME", savedDataHome_->c_str(), 1);
    } else {
      ::unsetenv("XDG_DATA_HOME");
    }
  }

  void InstallArchiver() {
    const fs::path launcher = program_ / "extract";
    test::WriteFile(launcher,
                    "#!/bin/sh\n"
                    "for argument in \"$@\"; do printf '%s\\037' \"$argument\"; done >> \"$0.runs\"\n"
                    "echo >> \"$0.runs\"\n"
                    "exec '" + (test::BuildProgramFolder() / "extract").string() + "' \"$@\"\n");
    fs::permissions(launcher, fs::perms::owner_all);
  }

  void RemoveArchiver() { fs::remove(program_ / "extract"); }

  // The arguments of every archiver run so far, in order.
  std::vector<std::vector<std::string>> Runs() const {
    std::vector<std::vector<std::string>> runs;
    std::istringstream lines(test::ReadFile(program_ / "extract.runs"));
    for (std::string line; std::getline(lines, line);) {
      std::vector<std::string> arguments;
      std::istringstream parts(line);
      for (std::string part; std::getline(parts, part, '\037');) arguments.push_back(part);
      runs.push_back(arguments);
    }
    return runs;
  }

  fs::path ListingFile() const { return data_ / "Norvessa Image Forge/extractiso.tmp"; }

  test::TempFolder program_;
  test::TempFolder data_;
  test::TempFolder work_;
  std::optional<std::string> savedDataHome_;
};

// Paths inside the image for a path below the tree: names as listed, "/" between them.
std::string InImage(const fs::path& relative) {
  std::string path;
  for (const auto& part : relative) {
    if (!path.empty()) path += '/';
    path += test::NameAsListed(part.string());
  }
  return path;
}

std::vector<ArchiveEntry> SortedByName(std::vector<ArchiveEntry> entries) {
  std::sort(entries.begin(), entries.end(),
            [](const ArchiveEntry& a, const ArchiveEntry& b) { return a.name < b.name; });
  return entries;
}

// What the listing of `folder` must hold (packed sizes are the image's business).
std::vector<ArchiveEntry> ExpectedEntries(const fs::path& folder) {
  std::vector<ArchiveEntry> entries;
  for (const auto& child : fs::directory_iterator(folder)) {
    ArchiveEntry entry;
    entry.isFolder = child.is_directory();
    entry.size = entry.isFolder ? 0 : static_cast<std::int64_t>(child.file_size());
    entry.modified = test::ListedTime(child.path());
    entry.name = test::NameAsListed(child.path().filename().string());
    entries.push_back(entry);
  }
  return SortedByName(entries);
}

// The snapshot entries below `paths` (and the folders above them) of a tree snapshot.
std::map<std::string, std::string> Part(const std::map<std::string, std::string>& snapshot,
                                        const std::vector<std::string>& paths) {
  std::map<std::string, std::string> part;
  for (const auto& [path, contents] : snapshot) {
    for (const auto& selected : paths) {
      if (path == selected || path.starts_with(selected + "/") || selected.starts_with(path + "/")) {
        part[path] = contents;
      }
    }
  }
  return part;
}

class RealImageTest : public BridgeTest, public ::testing::WithParamInterface<ImageKind> {
 protected:
  void SetUp() override {
    if (const auto missing = test::MissingImageTools(GetParam()); !missing.empty()) {
      GTEST_SKIP() << missing;
    }
    BridgeTest::SetUp();
    test::MakeFixtureTree(tree_);
    test::MakeImage(GetParam(), tree_, image_);
    source_ = test::SnapshotTree(tree_);
  }

  const fs::path tree_ = work_ / "tree";
  const fs::path image_ = work_ / "fixture.iso";
  std::map<std::string, std::string> source_;
};

TEST_P(RealImageTest, ListingEachFolderGivesItsDirectEntriesFromOneArchiverRun) {
  ListingBuffer buffer;
  int folders = 0;
  const auto check = [&](const fs::path& folder) {
    const std::string path = InImage(fs::relative(folder, tree_).lexically_normal());
    const std::string prefix = path == "." ? "/" : path + "/";
    std::vector<ArchiveEntry> entries;
    EXPECT_EQ(ListFolder(entries, buffer, image_, prefix), ResultOk) << prefix;
    for (auto& entry : entries) entry.packedSize = 0;
    EXPECT_EQ(SortedByName(entries), ExpectedEntries(folder)) << prefix;
    ++folders;
  };
  check(tree_);
  for (const auto& entry : fs::recursive_directory_iterator(tree_)) {
    if (entry.is_directory()) check(entry.path());
  }
  EXPECT_EQ(folders, 8);
  EXPECT_TRUE(buffer.listed);
  EXPECT_EQ(Runs().size(), 1u) << "one listing per loaded image";
  EXPECT_NE(test::ReadFile(ListingFile()).find(kListingSeparator), std::string::npos);
}

TEST_P(RealImageTest, ExtractionGivesTheSourceFiles) {
  const struct {
    std::string_view what;
    std::vector<std::string> selection;  // empty: the whole image
  } cases[] = {
      {"everything", {}},
      {"one folder", {"Docs"}},
      {"chosen files",
       {"Docs/2013/big.bin", "with space/it's \"quoted\".txt", "star_.txt", "-dash/-leading.txt",
        "-o.txt", "@list.txt", "Docs/ünïcödé 日本.txt", "empty.bin"}},
  };
  int runsBefore = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path destination = work_ / "out" / c.what;
    ListingBuffer buffer;
    const ResultCode result = c.selection.empty()
                                  ? ExtractOne(destination, buffer, image_, {})
                                  : ExtractSelection(buffer, image_, destination, c.selection);
    EXPECT_EQ(result, ResultOk);
    EXPECT_EQ(test::SnapshotTree(destination), c.selection.empty() ? source_ : Part(source_, c.selection));

    // One run per path, each with that one path after the image; none for the whole image.
    const auto runs = Runs();
    const auto count = static_cast<int>(runs.size()) - runsBefore;
    ASSERT_EQ(count, std::max<int>(1, static_cast<int>(c.selection.size())));
    for (int i = 0; i < count; ++i) {
      const auto& arguments = runs[runsBefore + i];
      const auto image = std::find(arguments.begin(), arguments.end(), image_.string());
      ASSERT_NE(image, arguments.end());
      EXPECT_EQ(*(image - 1), "--");
      EXPECT_EQ(std::vector<std::string>(image + 1, arguments.end()),
                c.selection.empty() ? std::vector<std::string>{}
                                    : std::vector<std::string>{c.selection[i]});
    }
    runsBefore = static_cast<int>(runs.size());
  }
}

TEST_P(RealImageTest, EveryListedFileIsExtractedByItsListedName) {
  ListingBuffer buffer;
  int files = 0;
  std::vector<std::string> folders = {""};
  while (!folders.empty()) {
    const std::string folder = folders.back();
    folders.pop_back();
    std::vector<ArchiveEntry> entries;
    ASSERT_EQ(ListFolder(entries, buffer, image_, folder.empty() ? "/" : folder + "/"), ResultOk);
    for (const auto& entry : entries) {
      const std::string path = folder.empty() ? entry.name : folder + "/" + entry.name;
      if (entry.isFolder) {
        folders.push_back(path);
        continue;
      }
      const fs::path destination = work_ / "one" / std::to_string(++files);
      ListingBuffer extraction;
      EXPECT_EQ(ExtractOne(destination, extraction, image_, path), ResultOk) << path;
      EXPECT_EQ(test::ReadFile(destination / path), source_.at(path)) << path;
    }
  }
  EXPECT_EQ(files, 14);
}

INSTANTIATE_TEST_SUITE_P(Images, RealImageTest,
                         ::testing::Values(ImageKind::Joliet, ImageKind::Udf),
                         [](const auto& info) { return std::string(test::ImageKindName(info.param)); });

// Tests that need one image of either kind use a Joliet image.
class JolietImageTest : public BridgeTest {
 protected:
  void SetUp() override {
    if (const auto missing = test::MissingImageTools(ImageKind::Joliet); !missing.empty()) {
      GTEST_SKIP() << missing;
    }
    BridgeTest::SetUp();
    test::MakeFixtureTree(work_ / "tree");
    test::MakeImage(ImageKind::Joliet, work_ / "tree", image_);
  }

  const fs::path image_ = work_ / "fixture.iso";
};

std::vector<std::string> Names(const std::vector<ArchiveEntry>& entries) {
  std::vector<std::string> names;
  for (const auto& entry : entries) names.push_back(entry.name);
  return names;
}

TEST_F(JolietImageTest, LoadingAnotherImageListsAgain) {
  test::WriteFile(work_ / "other/only.txt", "other");
  const fs::path other = work_ / "other.iso";
  test::MakeImage(ImageKind::Joliet, work_ / "other", other);

  ListingBuffer buffer;
  std::vector<ArchiveEntry> top, docs, otherTop;
  EXPECT_EQ(ListFolder(top, buffer, image_, "/"), ResultOk);
  EXPECT_EQ(ListFolder(docs, buffer, image_, "Docs/"), ResultOk);
  EXPECT_EQ(Runs().size(), 1u);
  EXPECT_EQ(Names(docs), (std::vector<std::string>{"2013", "a.txt", "ünïcödé 日本.txt"}));

  buffer.listed = false;  // what loading an image does
  EXPECT_EQ(ListFolder(otherTop, buffer, other, "/"), ResultOk);
  EXPECT_EQ(Runs().size(), 2u);
  EXPECT_EQ(Names(otherTop), std::vector<std::string>{"only.txt"});
  EXPECT_NE(test::ReadFile(ListingFile()).find("only.txt"), std::string::npos);
}

TEST_F(JolietImageTest, AListingReplacedByAnotherRunKeepsItsOwnEntries) {
  ListingBuffer first, second;
  std::vector<ArchiveEntry> before, after;
  ASSERT_EQ(ListFolder(before, first, image_, "Docs/"), ResultOk);
  // Another window or program lists another image into the same listing file.
  test::WriteFile(work_ / "other/only.txt", "other");
  test::MakeImage(ImageKind::Joliet, work_ / "other", work_ / "other.iso");
  ASSERT_EQ(RunListing(second, work_ / "other.iso"), ResultOk);
  EXPECT_EQ(ListFolder(after, first, image_, "Docs/"), ResultOk);
  EXPECT_EQ(after, before);
}

TEST_F(JolietImageTest, MissingArchiverListsAndExtractsNothing) {
  RemoveArchiver();
  // A listing of an earlier image must not be taken for this one.
  test::WriteFile(ListingFile(), test::ReadFile(test::SourceFolder() /
                                                "tests/extraction/fixtures/joliet-list.txt"));
  ListingBuffer buffer;
  std::vector<ArchiveEntry> entries;
  EXPECT_EQ(ListFolder(entries, buffer, image_, "/"), ResultFileNotFound);
  EXPECT_TRUE(entries.empty());
  EXPECT_FALSE(buffer.listed);

  const fs::path destination = work_ / "out";
  EXPECT_EQ(ExtractSelection(buffer, image_, destination, {"readme.txt", "Docs"}),
            ResultFileNotFound);
  EXPECT_EQ(ExtractOne(destination, buffer, image_, {}), ResultFileNotFound);
  EXPECT_TRUE(test::SnapshotTree(destination).empty());
}

TEST_F(JolietImageTest, UnreadableOrMissingImageGivesNoEntriesAndFailedExtraction) {
  test::WriteFile(work_ / "text.iso", "not an image\n");
  const struct {
    std::string_view what;
    fs::path image;
    ResultCode expected;
  } cases[] = {
      {"not an image", work_ / "text.iso", ResultFromArchiverStatus(2)},
      {"no such file", work_ / "missing.iso", ResultFileNotFound},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto runsBefore = Runs().size();
    ListingBuffer buffer;
    std::vector<ArchiveEntry> entries;
    EXPECT_EQ(ListFolder(entries, buffer, c.image, "/"), c.expected);
    EXPECT_EQ(ListFolder(entries, buffer, c.image, "Docs/"), c.expected);
    EXPECT_TRUE(entries.empty());
    EXPECT_EQ(Runs().size(), runsBefore + 1) << "the archiver ran; its answer stands";
    EXPECT_EQ(ExtractOne(work_ / "out", buffer, c.image, {}), c.expected);
  }
  EXPECT_TRUE(test::SnapshotTree(work_ / "out").empty());
}

TEST_F(JolietImageTest, FailedExtractionsAreReportedAsFailures) {
  test::WriteFile(work_ / "a-file", "x");
  const struct {
    std::string_view what;
    std::vector<std::string> selection;
    fs::path destination;
    ResultCode expected;
  } cases[] = {
      {"a path the image does not hold", {"Docs/missing.txt"}, work_ / "out1", ResultFileNotFound},
      {"the first failure stops the selection", {"Docs/missing.txt", "readme.txt"}, work_ / "out2",
       ResultFileNotFound},
      {"a destination below a file", {"readme.txt"}, work_ / "a-file/out", ResultFileExists},
  };
  for (const auto& c : cases) {
    ListingBuffer buffer;
    EXPECT_EQ(ExtractSelection(buffer, image_, c.destination, c.selection), c.expected) << c.what;
    EXPECT_FALSE(fs::exists(c.destination / "readme.txt")) << c.what;
  }
}

// Mounts a tiny tmpfs for the time of a test; needs root.
class TinyDisk {
 public:
  explicit TinyDisk(const fs::path& folder) : folder_(folder) {
    fs::create_directories(folder);
    mounted_ = test::RunProgram({"mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", folder.string()})
                   .status == 0;
  }
  ~TinyDisk() {
    if (mounted_) test::RunProgram({"umount", folder_.string()});
  }
  bool mounted() const { return mounted_; }

 private:
  fs::path folder_;
  bool mounted_ = false;
};

TEST_F(JolietImageTest, FullDiskIsReportedAsSuch) {
  TinyDisk disk(work_ / "tiny");
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
  ListingBuffer buffer;
  EXPECT_EQ(ExtractOne(work_ / "tiny", buffer, image_, "Docs/2013/big.bin"), ResultDiskFull);
}

TEST_F(JolietImageTest, DestinationIsTakenAsItIs) {
  // The archiver's -o switch would put the image's name in place of "*".
  const fs::path destination = work_ / "out*put";
  ListingBuffer buffer;
  EXPECT_EQ(ExtractOne(destination, buffer, image_, "readme.txt"), ResultOk);
  EXPECT_EQ(test::ReadFile(destination / "readme.txt"), "readme\n");
  EXPECT_FALSE(fs::exists(work_ / "outfixtureput"));
}

TEST_F(JolietImageTest, WildcardCharactersAreNeverPatterns) {
  // An image whose name would match another image, and a path that would match many files.
  test::WriteFile(work_ / "other/only.txt", "other");
  test::MakeImage(ImageKind::Joliet, work_ / "other", work_ / "fixture-other.iso");
  const fs::path starred = work_ / "fixture*.iso";
  fs::copy_file(image_, starred);

  ListingBuffer buffer;
  std::vector<ArchiveEntry> entries;
  EXPECT_EQ(ListFolder(entries, buffer, starred, "Docs/"), ResultOk);
  EXPECT_EQ(Names(entries), (std::vector<std::string>{"2013", "a.txt", "ünïcödé 日本.txt"}));
  EXPECT_EQ(ExtractOne(work_ / "out", buffer, starred, "*.txt"), ResultFileNotFound);
  EXPECT_EQ(ExtractOne(work_ / "out", buffer, starred, "readme.tx?"), ResultFileNotFound);
  EXPECT_TRUE(test::SnapshotTree(work_ / "out").empty());
}

TEST_F(BridgeTest, PathsDeeperThanLongLinesAreListedAndExtracted) {
  if (const auto missing = test::MissingImageTools(ImageKind::Udf); !missing.empty()) {
    GTEST_SKIP() << missing;
  }
  const fs::path tree = work_ / "tree";
  const fs::path image = work_ / "deep.iso";
  test::MakeFixtureTree(tree, true);
  test::MakeImage(ImageKind::Udf, tree, image, true);
  // The deepest folder of the tree.
  fs::path deepest = tree / "deep";
  while (fs::is_directory(deepest) && fs::directory_iterator(deepest)->is_directory()) {
    deepest = fs::directory_iterator(deepest)->path();
  }
  const std::string folder = InImage(fs::relative(deepest, tree));
  ASSERT_GT(folder.size(), 2047u);

  ListingBuffer buffer;
  std::vector<ArchiveEntry> entries;
  ASSERT_EQ(ListFolder(entries, buffer, image, folder + "/"), ResultOk);
  ASSERT_EQ(entries.size(), 1u);
  const std::string file = folder + "/" + entries[0].name;
  EXPECT_EQ(ExtractOne(work_ / "out", buffer, image, file), ResultOk);
  EXPECT_EQ(test::ReadFile(work_ / "out" / file), "deep\n");
}

}  // namespace
}  // namespace forge
