// The byte backup on disks described by a table (read failures, cancel, full output, clock).
#include "imaging/byte_backup_engine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "imaging/fixture_disk_source.h"
#include "support/test_files.h"

namespace forge {
namespace {

constexpr std::uint64_t kChunk = ByteBackupEngine::kChunkBytes;

// Bytes that differ from sector to sector, so a misplaced sector shows.
std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<char>((i ^ (i >> 9) ^ (i >> 17)) & 0xFF);
  }
  return bytes;
}

struct Report {
  std::int32_t percent;
  std::uint64_t done;
  std::uint64_t total;
  std::int32_t secondsLeft;
};

class RecordingSink final : public BackupProgressSink {
 public:
  explicit RecordingSink(std::optional<std::size_t> stopAtCall = {}, ResultCode answer = CancelCode)
      : stopAtCall_(stopAtCall), answer_(answer) {}

  ResultCode OnProgress(std::int32_t percent, std::uint64_t done, std::uint64_t total,
                        std::int32_t secondsLeft) override {
    reports.push_back({percent, done, total, secondsLeft});
    return stopAtCall_ && reports.size() == *stopAtCall_ ? answer_ : ResultOk;
  }

  std::vector<Report> reports;

 private:
  std::optional<std::size_t> stopAtCall_;
  ResultCode answer_;
};

class ByteBackupEngineTest : public ::testing::Test {
 protected:
  // One disk "sda" (number 0) of `size` patterned bytes.
  FixtureDisk MakeDisk(std::size_t size, std::uint32_t sectorSize = 512) {
    content_ = Pattern(size);
    test::WriteFile(folder_ / "sda.img", content_);
    FixtureDisk disk;
    disk.name = "sda";
    disk.image = folder_ / "sda.img";
    disk.bytesPerSector = sectorSize;
    return disk;
  }

  std::filesystem::path Image() const { return folder_ / "out.img"; }

  test::TempFolder folder_;
  std::string content_;
};

TEST_F(ByteBackupEngineTest, CopiesTheRangeByteForByteReportingEveryPiece) {
  const struct {
    const char* name;
    std::size_t diskBytes;
    std::uint32_t sectorSize;
    std::int64_t start;
    std::int64_t count;  // 0: the whole disk
    std::size_t pieces;
  } cases[] = {
      {"whole disk", 8 * kChunk, 512, 0, 0, 8},
      {"range ending in a shorter piece", 8 * kChunk, 512, 3, 300, 3},
      {"one sector", 8 * kChunk, 512, 1000, 1, 1},
      {"4096-byte sectors", 4 * kChunk + 8192, 4096, 0, 0, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FixtureDiskSource source({MakeDisk(c.diskBytes, c.sectorSize)});
    ByteBackupEngine engine(source);
    RecordingSink sink;
    ASSERT_EQ(engine.Run(0, c.start, c.count, Image(), &sink), ResultOk);

    const std::uint64_t sectors = c.count != 0 ? c.count : c.diskBytes / c.sectorSize;
    EXPECT_EQ(engine.sectorSize(), static_cast<std::int32_t>(c.sectorSize));
    EXPECT_EQ(test::ReadFile(Image()),
              content_.substr(c.start * c.sectorSize, sectors * c.sectorSize));
    ASSERT_EQ(sink.reports.size(), c.pieces);
    std::uint64_t previous = 0;
    for (const auto& report : sink.reports) {
      EXPECT_GT(report.done, previous);
      EXPECT_EQ(report.total, sectors);
      EXPECT_EQ(report.percent, static_cast<std::int32_t>(report.done * 100 / sectors));
      previous = report.done;
    }
    EXPECT_EQ(sink.reports.back().percent, 100);
    EXPECT_EQ(sink.reports.back().done, sectors);
  }
}

TEST_F(ByteBackupEngineTest, WholeDiskWithoutALengthCopiesTheGeometrysWholeCylinders) {
  // 4 tracks of 8 sectors: 32-sector cylinders; 3 cylinders and 5 sectors.
  auto disk = MakeDisk((3 * 32 + 5) * 512);
  disk.tracksPerCylinder = 4;
  disk.sectorsPerTrack = 8;
  disk.lengthFails = true;
  FixtureDiskSource source({disk});
  ByteBackupEngine engine(source);
  ASSERT_EQ(engine.Run(0, 0, 0, Image(), nullptr), ResultOk);
  EXPECT_EQ(test::ReadFile(Image()), content_.substr(0, 3 * 32 * 512));
}

TEST_F(ByteBackupEngineTest, ReadFailureStopsAfterTheLastGoodPiece) {
  const struct {
    const char* name;
    std::uint64_t failAt;
    std::size_t goodPieces;
  } cases[] = {
      {"inside a piece", 3 * kChunk + 1000, 3},
      {"at a piece's first byte", 2 * kChunk, 2},
      {"at the disk's first byte", 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto disk = MakeDisk(8 * kChunk);
    disk.failReadAt = c.failAt;
    FixtureDiskSource source({disk});
    ByteBackupEngine engine(source);
    RecordingSink sink;
    EXPECT_EQ(engine.Run(0, 0, 0, Image(), &sink), ResultReadFault);
    EXPECT_EQ(test::ReadFile(Image()), content_.substr(0, c.goodPieces * kChunk));
    EXPECT_EQ(sink.reports.size(), c.goodPieces);
  }
}

TEST_F(ByteBackupEngineTest, SinksAnswerStopsTheCopyAndKeepsThePartialImage) {
  for (const ResultCode answer : {CancelCode, ResultCode{77}}) {
    SCOPED_TRACE(answer);
    FixtureDiskSource source({MakeDisk(8 * kChunk)});
    ByteBackupEngine engine(source);
    RecordingSink sink(2, answer);
    EXPECT_EQ(engine.Run(0, 0, 0, Image(), &sink), answer);
    EXPECT_EQ(sink.reports.size(), 2u);
    EXPECT_EQ(test::ReadFile(Image()), content_.substr(0, 2 * kChunk));
  }
}

TEST_F(ByteBackupEngineTest, FullOutputDeviceGivesDiskFull) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this machine";
  FixtureDiskSource source({MakeDisk(2 * kChunk)});
  ByteBackupEngine engine(source);
  RecordingSink sink;
  EXPECT_EQ(engine.Run(0, 0, 0, "/dev/full", &sink), ResultDiskFull);
  EXPECT_TRUE(sink.reports.empty());
}

TEST_F(ByteBackupEngineTest, AnOlderLongerImageIsCutToWhatThisCopyWrote) {
  const struct {
    const char* name;
    std::optional<std::uint64_t> failAt;
    ResultCode result;
    std::size_t pieces;
  } cases[] = {
      {"complete copy", std::nullopt, ResultOk, 2},
      {"failed copy", kChunk + 5, ResultReadFault, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto disk = MakeDisk(2 * kChunk);
    disk.failReadAt = c.failAt;
    test::WriteFile(Image(), std::string(16 * kChunk, 'x'));
    FixtureDiskSource source({disk});
    ByteBackupEngine engine(source);
    EXPECT_EQ(engine.Run(0, 0, 0, Image(), nullptr), c.result);
    EXPECT_EQ(test::ReadFile(Image()), content_.substr(0, c.pieces * kChunk));
  }
}

TEST_F(ByteBackupEngineTest, BadRequestsWriteNothing) {
  FixtureDiskSource source({MakeDisk(2 * kChunk)});
  const struct {
    const char* name;
    std::int32_t disk;
    std::int64_t start;
    std::int64_t count;
    std::filesystem::path image;
    ResultCode result;
  } cases[] = {
      {"no such disk", 5, 0, 0, Image(), ResultFileNotFound},
      {"negative start", 0, -1, 10, Image(), ResultInvalidParameter},
      {"negative count", 0, 0, -10, Image(), ResultInvalidParameter},
      {"image is the disk itself", 0, 0, 0, folder_ / "sda.img", ResultInvalidParameter},
      {"image is the disk, by another name", 0, 0, 0, folder_ / "." / "sda.img",
       ResultInvalidParameter},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ByteBackupEngine engine(source);
    RecordingSink sink;
    EXPECT_EQ(engine.Run(c.disk, c.start, c.count, c.image, &sink), c.result);
    EXPECT_TRUE(sink.reports.empty());
    EXPECT_FALSE(std::filesystem::exists(Image()));
    EXPECT_EQ(test::ReadFile(folder_ / "sda.img"), content_);
  }
}

TEST_F(ByteBackupEngineTest, TimeLeftIsEstimatedEveryFiveSecondsFromTheAverageSpeed) {
  // The clock reads 0 at the start and one second more at every later reading: one 64 KiB
  // piece per second.
  std::int64_t now = -1000;
  ByteBackupEngine::MillisecondClock clock = [&now] { return now += 1000; };
  FixtureDiskSource source({MakeDisk(20 * kChunk)});
  ByteBackupEngine engine(source, clock);
  RecordingSink sink;
  ASSERT_EQ(engine.Run(0, 0, 0, Image(), &sink), ResultOk);

  const std::vector<std::int32_t> expected = {-1, -1, -1, -1, 15, 15, 15, 15, 15, 10,
                                              10, 10, 10, 10, 5,  5,  5,  5,  5,  0};
  std::vector<std::int32_t> seen;
  for (const auto& report : sink.reports) seen.push_back(report.secondsLeft);
  EXPECT_EQ(seen, expected);
}

}  // namespace
}  // namespace forge
