// A file over 4 GiB (sparse, with markers at the edges of its extents) in ISO 9660 and UDF
// images, read back through 7-Zip. Runs only where the temporary folder has room for an image.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cstring>
#include <map>

#include "authoring/disc_image_engine.h"
#include "authoring/iso_file_writer.h"
#include "image_check.h"
#include "platform/child_process.h"
#include "support/test_files.h"

namespace forge {
namespace {

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
constexpr std::uint64_t kSize = 4 * kGiB + 3 * 1024 * 1024 + 5;

// Eight-byte markers at the start, around the 1 GiB extent limit of UDF, around 4 GiB and at
// the end; everything else is a hole that reads as zeros.
std::map<std::uint64_t, std::string> Markers() {
  return {{0, "<start!>"},
          {kGiB - 2048 - 8, "<before>"},
          {kGiB - 2048, "<extent>"},
          {4 * kGiB - 8, "<under4>"},
          {4 * kGiB, "<over 4>"},
          {kSize - 8, "<e n d!>"}};
}

// Streams `entry` of `image` out of 7-Zip and checks its length and the markers.
void ExpectEntryMatches(const std::filesystem::path& image, const std::string& type,
                        const std::string& entry) {
  int error = 0;
  auto child = ChildProcess::Start({"7zz", "e", "-so", "-bso0", "-bsp0", "-bse0", "-t" + type,
                                    image.string(), entry},
                                   {.captureOutput = true}, error);
  ASSERT_NE(child, nullptr) << "cannot start 7zz: errno " << error;
  // The expected bytes of one piece: zeros with the markers that fall into it.
  const auto markers = Markers();
  std::vector<char> buffer(1 << 20);
  std::vector<char> expected(buffer.size());
  std::uint64_t offset = 0;
  std::uint64_t wrongPieces = 0;
  while (const long got = child->ReadOutput(buffer)) {
    if (got < 0) continue;
    const auto n = static_cast<std::size_t>(got);
    std::fill_n(expected.begin(), n, '\0');
    for (const auto& [at, text] : markers) {
      for (std::size_t i = 0; i < text.size(); ++i) {
        if (at + i >= offset && at + i < offset + n) expected[at + i - offset] = text[i];
      }
    }
    if (std::memcmp(buffer.data(), expected.data(), n) != 0 && wrongPieces++ < 5) {
      ADD_FAILURE() << type << ": bytes from " << offset << " differ";
    }
    offset += n;
  }
  EXPECT_EQ(child->Wait(), 0) << type;
  EXPECT_EQ(offset, kSize) << type;
  EXPECT_EQ(wrongPieces, 0u) << type;
}

TEST(LargeFiles, AFileOver4GiBComesBackWholeFromIsoAndUdf) {
  FORGE_REQUIRE_PROGRAM("7zz");
  test::TempFolder temp;
  struct statvfs volume{};
  ASSERT_EQ(::statvfs(temp.path().c_str(), &volume), 0);
  const std::uint64_t room = static_cast<std::uint64_t>(volume.f_bavail) * volume.f_frsize;
  const std::uint64_t needed = kSize + kGiB;  // one image at a time, and a margin
  if (room < needed) {
    GTEST_SKIP() << "needs " << needed / kGiB << " GiB free in " << temp.path() << ", has "
                 << room / kGiB << " GiB";
  }

  const auto source = temp / "pick/big.bin";
  std::filesystem::create_directories(source.parent_path());
  {
    const int fd = ::open(source.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(kSize)), 0);
    for (const auto& [offset, text] : Markers()) {
      ASSERT_EQ(::pwrite(fd, text.data(), 8, static_cast<off_t>(offset)), 8);
    }
    ::close(fd);
  }
  DiscImageEngine engine;
  SourceItem item{true, 0, temp / "pick"};
  ASSERT_EQ(engine.AddItemToImage(item, nullptr), ResultOk);
  EXPECT_EQ(item.size, kSize);

  const struct {
    FileSystemChoice choice;
    const char* type;
  } cases[] = {{FileSystemChoice::IsoJoliet, "iso"}, {FileSystemChoice::Udf, "udf"}};
  for (const auto& c : cases) {
    const auto image = temp / "big.iso";
    ASSERT_EQ(WriteIsoFile(engine, image, nullptr, c.choice), ResultOk) << c.type;
    ExpectEntryMatches(image, c.type, "pick/big.bin");
    std::filesystem::remove(image);
  }
}

}  // namespace
}  // namespace forge
