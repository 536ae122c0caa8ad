// The drive inventory, the byte backup and the command-line program on a real loop device: an
// MBR disk with a labelled FAT32 partition, an ext4 partition and unallocated space, compared
// with what dd reads from the same device.
#include "loop_disk.h"

#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "imaging/byte_backup_engine.h"
#include "imaging/destination_file_system.h"
#include "imaging/drive_inventory.h"
#include "support/run_program.h"
#include "support/test_files.h"

namespace forge {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kSector = 512;
constexpr std::uint64_t kDiskSectors = 196608;  // 96 MiB
struct Extent {
  std::uint64_t start;
  std::uint64_t count;
};
constexpr Extent kFat{2048, 80000};
constexpr Extent kExt{100000, 60000};
constexpr Extent kFirstGap{82048, 17952};
constexpr Extent kLastGap{160000, kDiskSectors - 160000};

// (start, count, partition number, file system, label, type) of each record.
using Row = std::tuple<std::int64_t, std::int64_t, int, std::string, std::string, int>;

Row MakeRow(Extent extent, int partition, std::string fileSystem, std::string label, int type) {
  return {static_cast<std::int64_t>(extent.start),
          static_cast<std::int64_t>(extent.count),
          partition,
          std::move(fileSystem),
          std::move(label),
          type};
}

// The disk image: an MBR with two primary partitions, recognisable bytes in the unallocated
// space, everything else zero.
void WriteDiskImage(const fs::path& path) {
  std::string mbr(kSector, '\0');
  const struct {
    std::uint8_t type;
    Extent extent;
  } entries[] = {{0x0C, kFat}, {0x83, kExt}};
  for (std::size_t i = 0; i < std::size(entries); ++i) {
    char* entry = mbr.data() + 446 + 16 * i;
    entry[1] = entry[5] = static_cast<char>(0xFE);  // CHS fields unused: "beyond CHS"
    entry[2] = entry[3] = entry[6] = entry[7] = static_cast<char>(0xFF);
    entry[4] = static_cast<char>(entries[i].type);
    for (int b = 0; b < 4; ++b) {
      entry[8 + b] = static_cast<char>((entries[i].extent.start >> (8 * b)) & 0xFF);
      entry[12 + b] = static_cast<char>((entries[i].extent.count >> (8 * b)) & 0xFF);
    }
  }
  mbr[440] = 0x46;  // disk signature
  mbr[510] = 0x55;
  mbr[511] = static_cast<char>(0xAA);

  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(mbr.data(), static_cast<std::streamsize>(mbr.size()));
  for (const auto gap : {kFirstGap, kLastGap}) {
    std::string bytes(gap.count * kSector, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
      bytes[i] = static_cast<char>((i * 7 + i / 4096) & 0xFF);
    file.seekp(static_cast<std::streamoff>(gap.start * kSector));
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  file.close();
  fs::resize_file(path, kDiskSectors * kSector);
}

// The whole file, read in large pieces (the images here are tens of megabytes).
std::string ReadWhole(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::string bytes(fs::file_size(path), '\0');
  file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

class LoopDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const auto obstacle = test::LoopDiskObstacle(); !obstacle.empty()) GTEST_SKIP() << obstacle;
    WriteDiskImage(folder_ / "disk.img");
    loop_ = std::make_unique<test::LoopDisk>(folder_ / "disk.img");
    if (!loop_->problem().empty()) GTEST_SKIP() << loop_->problem();
    const auto fat =
        test::RunProgram({"mkfs.vfat", "-F", "32", "-n", "FORGEDATA", loop_->Partition(1)});
    ASSERT_EQ(fat.status, 0) << fat.output;
    const auto ext =
        test::RunProgram({"mkfs.ext4", "-q", "-F", "-L", "forge-ext", loop_->Partition(2)});
    ASSERT_EQ(ext.status, 0) << ext.output;

    std::vector<DiskEntry> disks;
    ASSERT_EQ(SystemDiskSource().ListDisks(disks), ResultOk);
    for (const auto& disk : disks) {
      if (disk.devicePath == loop_->device()) diskNumber_ = disk.number;
    }
    ASSERT_GE(diskNumber_, 0) << loop_->device() << " is not among the listed disks";
  }

  std::vector<DriveInfo> Records() const {
    DriveInventory inventory;
    EXPECT_EQ(inventory.Refresh(), 1);
    std::vector<DriveInfo> all;
    inventory.CopyAll(all);
    std::vector<DriveInfo> mine;
    for (const auto& record : all) {
      if (record.diskNumber == diskNumber_) mine.push_back(record);
    }
    return mine;
  }

  // The sectors as dd reads them from the loop device.
  std::string ReadWithDd(Extent extent) const {
    const auto out = folder_ / "dd.img";
    const auto run = test::RunProgram({"dd", "if=" + loop_->device(), "of=" + out.string(), "bs=1M",
                                       "status=none", "iflag=skip_bytes,count_bytes",
                                       "skip=" + std::to_string(extent.start * kSector),
                                       "count=" + std::to_string(extent.count * kSector)});
    EXPECT_EQ(run.status, 0) << run.output;
    return ReadWhole(out);
  }

  test::TempFolder folder_;
  std::unique_ptr<test::LoopDisk> loop_;
  std::int32_t diskNumber_ = -1;
};

TEST_F(LoopDiskTest, ListingShowsPartitionsFileSystemsLabelsAndTheGaps) {
  const auto records = Records();
  std::vector<Row> rows;
  for (const auto& r : records) {
    rows.emplace_back(r.startSector, r.sectorCount, r.partitionNumber, r.fileSystem, r.label,
                      r.partitionType);
  }
  const std::vector<Row> expected = {
      MakeRow(kFat, 1, "FAT32", "FORGEDATA", 0x0B), MakeRow(kFirstGap, 0, "", "", 0),
      MakeRow(kExt, 2, "ext4", "forge-ext", 0x83), MakeRow(kLastGap, 0, "", "", 0)};
  EXPECT_EQ(rows, expected);
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0].volumePath, loop_->Partition(1));
  EXPECT_EQ(records[2].volumePath, loop_->Partition(2));
  // Not mounted: counted as full.
  EXPECT_EQ(records[2].freeBytes, 0u);
  EXPECT_EQ(records[2].totalBytes, kExt.count * kSector);

  EXPECT_EQ(IsRemovableDisk(diskNumber_), 0);
  std::uint64_t length = 0;
  EXPECT_EQ(GetDiskLengthBytes(diskNumber_, length), ResultOk);
  EXPECT_EQ(length, kDiskSectors * kSector);
}

TEST_F(LoopDiskTest, BackupsMatchDdAndLeaveTheDiskAlone) {
  const auto before = ReadWhole(folder_ / "disk.img");
  const auto records = Records();
  ASSERT_EQ(records.size(), 4u);
  const struct {
    const char* name;
    std::int64_t start;
    std::int64_t count;
    Extent extent;
  } cases[] = {
      {"ext4 partition", records[2].startSector, records[2].sectorCount, kExt},
      {"unallocated gap", records[1].startSector, records[1].sectorCount, kFirstGap},
      {"whole disk", 0, 0, {0, kDiskSectors}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ByteBackupEngine engine;
    const auto image = folder_ / "backup.img";
    ASSERT_EQ(engine.Run(diskNumber_, c.start, c.count, image, nullptr), ResultOk);
    const auto copied = ReadWhole(image);
    EXPECT_EQ(copied.size(), c.extent.count * kSector);
    EXPECT_TRUE(copied == ReadWithDd(c.extent));
  }
  EXPECT_TRUE(ReadWhole(folder_ / "disk.img") == before);
}

TEST_F(LoopDiskTest, MountedPartitionShowsItsMountPointAndSpace) {
  const auto mountPoint = folder_ / "mnt";
  fs::create_directories(mountPoint);
  if (::mount(loop_->Partition(2).c_str(), mountPoint.c_str(), "ext4", 0, nullptr) != 0) {
    GTEST_SKIP() << "ext4 cannot be mounted here: " << std::strerror(errno);
  }
  struct Unmount {
    fs::path where;
    ~Unmount() { ::umount(where.c_str()); }
  } unmount{mountPoint};

  const auto records = Records();
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[2].mountPoint, mountPoint.string());
  EXPECT_GT(records[2].freeBytes, 0u);
  EXPECT_LT(records[2].totalBytes, kExt.count * kSector);
  EXPECT_EQ(records[2].usedBytes, records[2].totalBytes - records[2].freeBytes);

  // The destination helpers look at the file system that will hold a file not made yet.
  std::string fileSystem;
  EXPECT_EQ(GetDriveFileSystem(mountPoint / "images" / "new.img", fileSystem), ResultOk);
  EXPECT_EQ(fileSystem, "ext4");
  std::uint64_t freeBytes = 0;
  EXPECT_EQ(GetDriveFreeBytes(mountPoint / "images" / "new.img", freeBytes), ResultOk);
  EXPECT_GT(freeBytes, 0u);
  EXPECT_LE(freeBytes, records[2].freeBytes);
}

TEST_F(LoopDiskTest, CommandLineListsAndBacksUpTheDisk) {
  const auto listing = test::RunCli({"disks"});
  ASSERT_EQ(listing.status, 0) << listing.output;
  for (const auto& expected :
       {loop_->Partition(1), std::string("FAT32"), std::string("FORGEDATA"), loop_->Partition(2),
        std::string("forge-ext"), std::string("(unallocated)")}) {
    EXPECT_NE(listing.output.find(expected), std::string::npos) << expected << " in\n"
                                                                << listing.output;
  }

  const auto image = (folder_ / "cli.img").string();
  const struct {
    const char* name;
    std::vector<std::string> range;
    Extent extent;
  } cases[] = {
      {"FAT32 partition",
       {"--start", std::to_string(kFat.start), "--count", std::to_string(kFat.count)},
       kFat},
      {"whole disk", {}, {0, kDiskSectors}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> args = {"backup", "--disk", loop_->device(), "-o", image};
    args.insert(args.end(), c.range.begin(), c.range.end());
    const auto run = test::RunCli(args);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("Copied " + std::to_string(c.extent.count) + " sectors"),
              std::string::npos)
        << run.output;
    EXPECT_TRUE(ReadWhole(image) == ReadWithDd(c.extent));
  }

  const auto beyond = test::RunCli(
      {"backup", "--disk", loop_->device(), "--start", "196000", "--count", "1000", "-o", image});
  EXPECT_EQ(beyond.status, 1);
  EXPECT_NE(beyond.output.find("the range ends after the last sector"), std::string::npos)
      << beyond.output;

  if (!test::HaveProgram("setpriv")) return;
  const auto unprivileged = test::RunProgram(
      {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
       (test::BuildProgramFolder() / "image-forge-cli").string(), "backup", "--disk",
       loop_->device(), "-o", (fs::temp_directory_path() / "never-written.img").string()});
  EXPECT_EQ(unprivileged.status, 1) << unprivileged.output;
  EXPECT_NE(unprivileged.output.find("reading " + loop_->device() + " needs read permission"),
            std::string::npos)
      << unprivileged.output;
  EXPECT_FALSE(fs::exists(fs::temp_directory_path() / "never-written.img"));
}

}  // namespace
}  // namespace forge
