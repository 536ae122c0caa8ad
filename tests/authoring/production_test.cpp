// Producing images with the real service: source files that vanish or change, the tree while a
// result exists, removed rows, duplicate names, the descriptor limit and other threads.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <thread>

#include "authoring/disc_image_engine.h"
#include "authoring/file_system_image.h"
#include "authoring/iso_file_writer.h"
#include "image_check.h"
#include "support/test_files.h"

namespace forge {
namespace {

constexpr FileSystemChoice kAllChoices[] = {FileSystemChoice::IsoJoliet, FileSystemChoice::Iso9660,
                                            FileSystemChoice::Udf};

std::string ChoiceName(FileSystemChoice choice) {
  switch (choice) {
    case FileSystemChoice::Iso9660:
      return "iso9660";
    case FileSystemChoice::Udf:
      return "udf";
    default:
      return "joliet";
  }
}

test::TreeContents ReadImage(const std::filesystem::path& image, FileSystemChoice choice,
                             const std::filesystem::path& folder) {
  return test::ReadImage(image, choice == FileSystemChoice::Udf, folder);
}

TEST(Production, AMissingSourceFailsBeforeTheOutputIsTouched) {
  for (const auto choice : kAllChoices) {
    test::TempFolder temp;
    test::WriteFile(temp / "pick/a.txt", "a");
    test::WriteFile(temp / "pick/b.txt", "b");
    test::WriteFile(temp / "pick/c.txt", "c");
    DiscImageEngine engine;
    SourceItem item{true, 0, temp / "pick"};
    ASSERT_EQ(engine.AddItemToImage(item, nullptr), ResultOk);
    test::WriteFile(temp / "out.iso", "an older image");

    // Gone, or no longer a file.
    std::filesystem::remove(temp / "pick/b.txt");
    EXPECT_EQ(WriteIsoFile(engine, temp / "out.iso", nullptr, choice), ResultFileNotFound)
        << ChoiceName(choice);
    EXPECT_EQ(engine.Image()->LastFailedSource(), temp / "pick/b.txt");
    EXPECT_EQ(test::ReadFile(temp / "out.iso"), "an older image");

    test::WriteFile(temp / "pick/b.txt", "b");
    std::filesystem::remove(temp / "pick/c.txt");
    std::filesystem::create_directory(temp / "pick/c.txt");
    EXPECT_EQ(WriteIsoFile(engine, temp / "out.iso", nullptr, choice), ResultAccessDenied)
        << ChoiceName(choice);
    EXPECT_EQ(engine.Image()->LastFailedSource(), temp / "pick/c.txt");
    EXPECT_EQ(test::ReadFile(temp / "out.iso"), "an older image");
  }
}

// UDF stores a name in at most 255 bytes: 254 characters up to U+00FF, or 127 UTF-16 units.
// A longer name fails the UDF image with a clear code instead of being cut; ISO 9660 (Rock
// Ridge holds 255 bytes of UTF-8) still takes it.
TEST(Production, ANameUdfCannotHoldFailsOnlyTheUdfImage) {
  test::TempFolder temp;
  const std::string name = "\xE6\x97\xA5" + std::string(150, 'n');  // 151 UTF-16 units
  test::WriteFile(temp / "pick" / name, "x");
  test::WriteFile(temp / "pick" / std::string(254, 'w'), "fits in 8 bits");
  DiscImageEngine engine;
  SourceItem item{true, 0, temp / "pick"};
  ASSERT_EQ(engine.AddItemToImage(item, nullptr), ResultOk);
  EXPECT_EQ(WriteIsoFile(engine, temp / "out.iso", nullptr, FileSystemChoice::Udf), ResultNameTooLong);
  EXPECT_EQ(engine.Image()->LastFailedSource(), temp / "pick" / name);
  EXPECT_EQ(WriteIsoFile(engine, temp / "out.iso", nullptr, FileSystemChoice::Iso9660), ResultOk);

  std::filesystem::remove(temp / "pick" / name);
  SourceItem again{true, 0, temp / "pick"};
  DiscImageEngine fits;
  ASSERT_EQ(fits.AddItemToImage(again, nullptr), ResultOk);
  EXPECT_EQ(WriteIsoFile(fits, temp / "out.iso", nullptr, FileSystemChoice::Udf), ResultOk);
}

// A source file changed after the image was laid out, before it is opened or while it is being
// read, must fail the production with ResultFileChanged (or ResultFileNotFound when it is gone),
// never deliver a damaged image.
TEST(Production, ASourceThatChangesWhileTheImageIsReadFailsIt) {
  enum class Change { Shrink, Grow, Vanish };
  constexpr std::uint64_t kMiB = 1024 * 1024;
  const auto iso = FileSystems::Iso9660 | FileSystems::Joliet;
  const auto udf = FileSystems::Udf;
  // `readFirst`: image bytes read before the change; 4 MiB reach into the changed file (the
  // ISO library reads at most about 10 MiB ahead of us, less than the file's 32 MiB).
  const struct {
    FileSystems fileSystems;
    Change change;
    std::uint64_t readFirst;
    ResultCode expected;
  } cases[] = {
      {iso, Change::Shrink, 0, ResultFileChanged},
      {iso, Change::Grow, 0, ResultFileChanged},
      {iso, Change::Shrink, 4 * kMiB, ResultFileChanged},
      {iso, Change::Grow, 4 * kMiB, ResultFileChanged},
      {udf, Change::Shrink, 0, ResultFileChanged},
      {udf, Change::Grow, 0, ResultFileChanged},
      {udf, Change::Shrink, 4 * kMiB, ResultFileChanged},
      {udf, Change::Grow, 4 * kMiB, ResultFileChanged},
      // Once it is open a vanished file stays readable; UDF opens its files in order, so one
      // laid out second is not open yet.
      {udf, Change::Vanish, 0, ResultFileNotFound},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "file systems " << static_cast<int>(c.fileSystems)
                                    << ", change " << static_cast<int>(c.change) << " after "
                                    << c.readFirst);
    test::TempFolder temp;
    const auto first = temp / "a-first.bin";
    const auto changed = temp / "b-changed.bin";
    test::WriteFile(first, std::string(kMiB, 'a'));
    test::WriteFile(changed, std::string(32 * kMiB, 'b'));
    auto image = CreateFileSystemImage();
    ASSERT_NE(image, nullptr);
    ImageFolder* root = nullptr;
    ASSERT_EQ(image->GetRoot(root), ResultOk);
    ASSERT_EQ(root->AddFile("a-first.bin", first), ResultOk);
    ASSERT_EQ(root->AddFile("b-changed.bin", changed), ResultOk);
    image->SetFileSystemsToCreate(c.fileSystems);
    std::unique_ptr<ImageResult> result;
    ASSERT_EQ(image->CreateResultImage(result), ResultOk);
    ImageStream& stream = result->GetImageStream();
    std::vector<std::byte> piece(65536);
    std::uint64_t left = stream.Size();
    ResultCode code = ResultOk;
    const auto readUpTo = [&](std::uint64_t stopAt) {
      while (left > stopAt && code == ResultOk) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(left - stopAt, piece.size()));
        code = stream.Read({piece.data(), n});
        left -= n;
      }
    };
    readUpTo(stream.Size() - c.readFirst);
    ASSERT_EQ(code, ResultOk);

    switch (c.change) {
      case Change::Shrink:
        std::filesystem::resize_file(changed, 2 * kMiB);
        break;
      case Change::Grow:
        std::filesystem::resize_file(changed, 33 * kMiB);
        break;
      case Change::Vanish:
        std::filesystem::remove(changed);
        break;
    }
    readUpTo(0);
    EXPECT_EQ(code, c.expected);
    EXPECT_EQ(stream.Read({piece.data(), 2048}), c.expected) << "a failure stays";
    EXPECT_EQ(image->LastFailedSource(), changed);
  }
}

TEST(Production, TheTreeHoldsStillWhileAResultExistsAndTheResultOutlivesTheImage) {
  test::TempFolder temp;
  test::WriteFile(temp / "a.txt", "a");
  for (const FileSystems fileSystems : {FileSystems::Iso9660, FileSystems::Udf}) {
    auto image = CreateFileSystemImage();
    ImageFolder* root = nullptr;
    ASSERT_EQ(image->GetRoot(root), ResultOk);
    ASSERT_EQ(root->AddFile("a.txt", temp / "a.txt"), ResultOk);
    image->SetFileSystemsToCreate(fileSystems);
    std::unique_ptr<ImageResult> result;
    ASSERT_EQ(image->CreateResultImage(result), ResultOk);
    EXPECT_EQ(root->AddFolder("more"), ResultBusy);
    EXPECT_EQ(root->RemoveFile("a.txt"), ResultBusy);

    image.reset();
    ImageStream& stream = result->GetImageStream();
    std::vector<std::byte> bytes(stream.Size());
    EXPECT_EQ(stream.Read(bytes), ResultOk);
    EXPECT_EQ(stream.Size() % 2048, 0u);
  }

  auto image = CreateFileSystemImage();
  ImageFolder* root = nullptr;
  ASSERT_EQ(image->GetRoot(root), ResultOk);
  {
    std::unique_ptr<ImageResult> result;
    ASSERT_EQ(image->CreateResultImage(result), ResultOk);
  }
  EXPECT_EQ(root->AddFolder("more"), ResultOk);
  // A bridge of UDF and ISO 9660, or nothing at all, is not something we make.
  std::unique_ptr<ImageResult> result;
  image->SetFileSystemsToCreate(FileSystems::Iso9660 | FileSystems::Udf);
  EXPECT_EQ(image->CreateResultImage(result), ResultInvalidParameter);
  image->SetFileSystemsToCreate(FileSystems::None);
  EXPECT_EQ(image->CreateResultImage(result), ResultInvalidParameter);
}

TEST(Production, AnOutputThatIsOneOfTheSourcesIsLeftAlone) {
  test::TempFolder temp;
  test::WriteFile(temp / "pick/old.iso", "precious");
  DiscImageEngine engine;
  SourceItem item{true, 0, temp / "pick"};
  ASSERT_EQ(engine.AddItemToImage(item, nullptr), ResultOk);
  std::filesystem::create_hard_link(temp / "pick/old.iso", temp / "alias.iso");
  for (const auto& output : {temp / "pick/old.iso", temp / "alias.iso"}) {
    EXPECT_EQ(WriteIsoFile(engine, output, nullptr, FileSystemChoice::Udf), ResultSharingViolation);
  }
  EXPECT_EQ(test::ReadFile(temp / "pick/old.iso"), "precious");
}

TEST(Production, RowsComeAndGoAndDuplicateNamesAreRefused) {
  FORGE_REQUIRE_PROGRAM("7zz");
  test::TempFolder temp;
  test::WriteFile(temp / "folder/a.txt", "a");
  test::WriteFile(temp / "folder/sub/b.txt", "b");
  test::WriteFile(temp / "x/same.txt", "first");
  test::WriteFile(temp / "y/same.txt", "second");
  test::WriteFile(temp / "x/gone.txt", "gone");
  DiscImageEngine engine;
  SourceItem folder{true, 0, temp / "folder"};
  SourceItem first{false, 5, temp / "x/same.txt"};
  SourceItem second{false, 6, temp / "y/same.txt"};
  SourceItem gone{false, 4, temp / "x/gone.txt"};
  ASSERT_EQ(engine.AddItemToImage(folder, nullptr), ResultOk);
  ASSERT_EQ(engine.AddItemToImage(first, nullptr), ResultOk);
  EXPECT_EQ(engine.AddItemToImage(second, nullptr), ResultFileExists);
  ASSERT_EQ(engine.AddItemToImage(gone, nullptr), ResultOk);
  const auto udf = temp / "before.iso";
  ASSERT_EQ(WriteIsoFile(engine, udf, nullptr, FileSystemChoice::Udf), ResultOk);
  EXPECT_EQ(ReadImage(udf, FileSystemChoice::Udf, temp / "before"),
            (test::TreeContents{{"folder", "<folder>"},
                                {"folder/a.txt", "a"},
                                {"folder/sub", "<folder>"},
                                {"folder/sub/b.txt", "b"},
                                {"same.txt", "first"},
                                {"gone.txt", "gone"}}));

  EXPECT_EQ(engine.RemoveItemFromImage(folder), ResultOk);
  EXPECT_EQ(engine.RemoveItemFromImage(gone), ResultOk);
  EXPECT_EQ(engine.RemoveItemFromImage(gone), ResultFileNotFound);
  const auto after = temp / "after.iso";
  ASSERT_EQ(WriteIsoFile(engine, after, nullptr, FileSystemChoice::Udf), ResultOk);
  EXPECT_EQ(ReadImage(after, FileSystemChoice::Udf, temp / "after"),
            (test::TreeContents{{"same.txt", "first"}}));
}

// Files are held by path: a thousand of them need no more descriptors than a handful.
TEST(Production, ManyFilesDoNotNeedManyDescriptors) {
  FORGE_REQUIRE_PROGRAM("xorriso");
  FORGE_REQUIRE_PROGRAM("7zz");
  test::TempFolder temp;
  constexpr int kFiles = 1000;
  for (int i = 0; i < kFiles; ++i) {
    test::WriteFile(temp / ("many/f" + std::to_string(i)), std::to_string(i));
  }
  for (const auto choice : {FileSystemChoice::IsoJoliet, FileSystemChoice::Udf}) {
    const auto image = temp / (ChoiceName(choice) + ".iso");
    {
      rlimit saved{};
      ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
      rlimit low = saved;
      low.rlim_cur = 64;
      ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
      DiscImageEngine engine;
      SourceItem item{true, 0, temp / "many"};
      const ResultCode added = engine.AddItemToImage(item, nullptr);
      const ResultCode written = WriteIsoFile(engine, image, nullptr, choice);
      ::setrlimit(RLIMIT_NOFILE, &saved);
      ASSERT_EQ(added, ResultOk);
      ASSERT_EQ(written, ResultOk) << ChoiceName(choice);
    }
    const auto tree = ReadImage(image, choice, temp / ChoiceName(choice));
    EXPECT_EQ(tree.size(), kFiles + 1u) << ChoiceName(choice);
    EXPECT_EQ(tree.at("many/f999"), "999");
  }
}

TEST(Production, TheEngineWorksFromAnotherThreadAndWritesTheSameTreeRepeatedly) {
  FORGE_REQUIRE_PROGRAM("xorriso");
  FORGE_REQUIRE_PROGRAM("7zz");
  test::TempFolder temp;
  test::WriteFile(temp / "pick/a.txt", "a");
  test::WriteFile(temp / "pick/sub/b.txt", std::string(300000, 'b'));
  DiscImageEngine engine;  // made on this thread, used on others
  ResultCode added = -1;
  std::thread([&] {
    SourceItem item{true, 0, temp / "pick"};
    added = engine.AddItemToImage(item, nullptr);
  }).join();
  ASSERT_EQ(added, ResultOk);
  const test::TreeContents expected = {{"pick", "<folder>"},
                                       {"pick/a.txt", "a"},
                                       {"pick/sub", "<folder>"},
                                       {"pick/sub/b.txt", std::string(300000, 'b')}};
  for (const auto choice : {FileSystemChoice::IsoJoliet, FileSystemChoice::Udf,
                            FileSystemChoice::IsoJoliet}) {
    const auto image = temp / "out.iso";
    ResultCode written = -1;
    std::thread([&] { written = WriteIsoFile(engine, image, nullptr, choice); }).join();
    ASSERT_EQ(written, ResultOk);
    const auto folder = temp / ("read-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                ChoiceName(choice));
    std::filesystem::remove_all(folder);
    EXPECT_EQ(ReadImage(image, choice, folder), expected) << ChoiceName(choice);
  }
}

}  // namespace
}  // namespace forge
