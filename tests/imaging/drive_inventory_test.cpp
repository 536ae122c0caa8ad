// The drive inventory on disks described by a table: records, gaps, bare disks, the walk and
// the search for vanished records.
#include "imaging/drive_inventory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "imaging/fixture_disk_source.h"
#include "support/test_files.h"

namespace forge {
namespace {

constexpr std::int64_t kCylinder = 255 * 63;

// (disk, start, count, partition number) of each record.
using Rows = std::vector<std::tuple<int, std::int64_t, std::int64_t, int>>;

class DriveInventoryTest : public ::testing::Test {
 protected:
  // A disk of `sectors` sectors on a sparse image file.
  FixtureDisk Disk(const std::string& name, std::uint64_t sectors,
                   std::vector<DiskVolume> volumes = {}, std::uint32_t sectorSize = 512) {
    FixtureDisk disk;
    disk.name = name;
    disk.image = folder_ / (name + ".img");
    disk.bytesPerSector = sectorSize;
    disk.volumes = std::move(volumes);
    test::WriteFile(disk.image, "");
    std::filesystem::resize_file(disk.image, sectors * sectorSize);
    return disk;
  }

  static DiskVolume Partition(std::int32_t number, std::uint64_t start, std::uint64_t count,
                              std::uint32_t sectorSize = 512) {
    DiskVolume volume;
    volume.partitionNumber = number;
    volume.startBytes = start * sectorSize;
    volume.lengthBytes = count * sectorSize;
    volume.tableType = 0x83;
    return volume;
  }

  static std::vector<DriveInfo> Listing(DiskSource& source) {
    DriveInventory inventory(source);
    EXPECT_EQ(inventory.Refresh(), 1);
    std::vector<DriveInfo> records;
    inventory.CopyAll(records);
    return records;
  }

  static Rows Layout(const std::vector<DriveInfo>& records) {
    Rows layout;
    for (const auto& r : records) {
      layout.emplace_back(r.diskNumber, r.startSector, r.sectorCount, r.partitionNumber);
    }
    return layout;
  }

  test::TempFolder folder_;
};

TEST_F(DriveInventoryTest, PartitionRecordsCarryTypeSpaceAndTexts) {
  const struct {
    const char* name;
    std::uint8_t tableType;
    const char* fileSystem;
    bool mounted;
    std::uint8_t partitionType;
  } cases[] = {
      {"NTFS", 0x07, "NTFS", false, 0x07},
      {"FAT32 under another type byte", 0x0C, "FAT32", false, 0x0B},
      {"FAT16", 0x0E, "fat", false, 0x06},
      {"Linux, mounted", 0x83, "ext4", true, 0x83},
      {"GPT, no type byte", 0x00, "btrfs", true, 0x00},
      {"unknown contents", 0x83, "", false, 0x83},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto volume = Partition(1, 2048, 100000);
    volume.tableType = c.tableType;
    volume.fileSystem = c.fileSystem;
    volume.label = "DATA";
    volume.devicePath = "/dev/sdz1";
    if (c.mounted) {
      volume.mountPoint = "/media/data";
      volume.spaceKnown = true;
      volume.totalBytes = 50000 * 512;
      volume.freeBytes = 20000 * 512;
    }
    FixtureDiskSource source({Disk("sda", 102048, {volume})});
    const auto records = Listing(source);
    ASSERT_EQ(records.size(), 1u);
    const auto& r = records[0];
    EXPECT_EQ(r.partitionType, c.partitionType);
    EXPECT_EQ(r.diskNumber, 0);
    EXPECT_EQ(r.partitionNumber, 1);
    EXPECT_EQ(r.startSector, 2048);
    EXPECT_EQ(r.sectorCount, 100000);
    EXPECT_EQ(r.fileSystem, c.fileSystem);
    EXPECT_EQ(r.label, "DATA");
    EXPECT_EQ(r.volumePath, "/dev/sdz1");
    EXPECT_EQ(r.letter, 1);
    // An unmounted partition counts as full.
    EXPECT_EQ(r.totalBytes, c.mounted ? 50000u * 512 : 100000u * 512);
    EXPECT_EQ(r.freeBytes, c.mounted ? 20000u * 512 : 0u);
    EXPECT_EQ(r.usedBytes, r.totalBytes - r.freeBytes);
    EXPECT_EQ(r.mountPoint, c.mounted ? "/media/data" : "");
  }
}

TEST_F(DriveInventoryTest, GapsLongerThanOneCylinderAreListed) {
  struct Case {
    const char* name;
    std::uint64_t diskSectors;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> partitions;  // start, count
    std::uint32_t tracks = 255;
    std::uint32_t sectorsPerTrack = 63;
    Rows expected;
  };
  const Case cases[] = {
      {"gaps of exactly one cylinder are not listed",
       63 + kCylinder + 50000 + kCylinder,
       {{63 + kCylinder, 50000}},
       255,
       63,
       {{0, 63 + kCylinder, 50000, 1}}},
      {"one sector more is listed, before and after",
       63 + kCylinder + 1 + 50000 + kCylinder + 1,
       {{63 + kCylinder + 1, 50000}},
       255,
       63,
       {{0, 63, kCylinder + 1, 0},
        {0, 63 + kCylinder + 1, 50000, 1},
        {0, 63 + kCylinder + 1 + 50000, kCylinder + 1, 0}}},
      {"between two partitions",
       2048 + 10000 + kCylinder + 1 + 10000,
       {{2048 + 10000 + kCylinder + 1, 10000}, {2048, 10000}},
       255,
       63,
       {{0, 2048, 10000, 2}, {0, 12048, kCylinder + 1, 0}, {0, 12048 + kCylinder + 1, 10000, 1}}},
      {"the device's own geometry sets the cylinder and the first sector",
       32 + 2049 + 1000 + 2048,
       {{32 + 2049, 1000}},
       64,
       32,
       {{0, 32, 2049, 0}, {0, 32 + 2049, 1000, 1}}},
      {"a trailing gap reaches the disk's last sector, not the last whole cylinder",
       10 * kCylinder + 16000,
       {{2048, 10 * kCylinder - 100 - 2048}},
       255,
       63,
       {{0, 2048, 10 * kCylinder - 100 - 2048, 1}, {0, 10 * kCylinder - 100, 16100, 0}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<DiskVolume> volumes;
    std::int32_t number = 1;
    for (const auto& [start, count] : c.partitions)
      volumes.push_back(Partition(number++, start, count));
    auto disk = Disk("sda", c.diskSectors, volumes);
    disk.tracksPerCylinder = c.tracks;
    disk.sectorsPerTrack = c.sectorsPerTrack;
    FixtureDiskSource source({disk});
    const auto records = Listing(source);
    EXPECT_EQ(Layout(records), c.expected);
    for (const auto& r : records) {
      if (r.partitionNumber != 0) continue;
      EXPECT_EQ(r.totalBytes, static_cast<std::uint64_t>(r.sectorCount) * 512);
      EXPECT_EQ(r.freeBytes, r.totalBytes);
      EXPECT_EQ(r.usedBytes, 0u);
      EXPECT_EQ(r.partitionType, 0);
      EXPECT_TRUE(r.fileSystem.empty() && r.volumePath.empty() && r.label.empty());
    }
  }
}

TEST_F(DriveInventoryTest, PartitionsOfLargeSectorDisksAreCountedInTheirSectors) {
  FixtureDiskSource source({Disk("sda", 100000, {Partition(1, 256, 90000, 4096)}, 4096)});
  DriveInventory inventory(source);
  ASSERT_EQ(inventory.Refresh(), 1);
  std::vector<DriveInfo> records;
  inventory.CopyAll(records);
  EXPECT_EQ(Layout(records), (Rows{{0, 256, 90000, 1}}));
  EXPECT_EQ(inventory.bytesPerSector, 4096);
}

TEST_F(DriveInventoryTest, ExtendedPartitionContainersAreLeftOut) {
  auto container = Partition(2, 200000, 2);
  container.tableType = 0x05;
  container.container = true;
  FixtureDiskSource source(
      {Disk("sda", 300000, {Partition(1, 2048, 197952), container, Partition(5, 200002, 99998)})});
  EXPECT_EQ(Layout(Listing(source)), (Rows{{0, 2048, 197952, 1}, {0, 200002, 99998, 5}}));
}

TEST_F(DriveInventoryTest, DisksWithoutPartitionsGetOneWholeDiskRecord) {
  // 10 cylinders and a part of one: the record covers every sector.
  const std::uint64_t sectors = 10 * kCylinder + 1234;
  auto unreadable = Disk("sdb", 5000);
  unreadable.geometryFails = true;
  FixtureDiskSource source({Disk("sda", sectors), unreadable});
  const auto records = Listing(source);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(Layout(records), (Rows{{0, 0, sectors, 0}}));
  EXPECT_EQ(records[0].totalBytes, sectors * 512);
  EXPECT_EQ(records[0].freeBytes, sectors * 512);
  EXPECT_EQ(records[0].usedBytes, 0u);
  EXPECT_EQ(records[0].letter, 1);
}

TEST_F(DriveInventoryTest, OnlyDisksUpTo127GetAWholeDiskRecord) {
  auto model = Disk("model", 100);
  std::vector<FixtureDisk> disks;
  for (int i = 0; i <= 128; ++i) {
    auto disk = model;
    char name[16];
    std::snprintf(name, sizeof name, "d%03d", i);
    disk.name = name;
    disks.push_back(disk);
  }
  FixtureDiskSource source(disks);
  const auto records = Listing(source);
  ASSERT_EQ(records.size(), 128u);
  EXPECT_EQ(records.front().diskNumber, 0);
  EXPECT_EQ(records.back().diskNumber, 127);
}

TEST_F(DriveInventoryTest, WalkVisitsDisksInNumberOrderAndNumbersEveryRecord) {
  const auto sda = Disk("sda", 400000, {Partition(2, 200000, 200000), Partition(1, 63, 199937)});
  const auto sdb = Disk("sdb", 1000);
  FixtureDiskSource source({sdb, sda});
  DriveInventory inventory(source);
  ASSERT_EQ(inventory.Refresh(), 1);

  std::vector<DriveInfo> walked;
  DriveInfo record;
  while (inventory.NextRecord(record)) walked.push_back(record);
  EXPECT_FALSE(inventory.NextRecord(record));
  EXPECT_EQ(Layout(walked), (Rows{{0, 63, 199937, 1}, {0, 200000, 200000, 2}, {1, 0, 1000, 0}}));
  std::vector<std::uint16_t> letters;
  for (const auto& r : walked) letters.push_back(r.letter);
  EXPECT_EQ(letters, (std::vector<std::uint16_t>{1, 2, 3}));

  std::vector<DriveInfo> copied = {DriveInfo{}};
  inventory.CopyAll(copied);
  EXPECT_EQ(copied, walked);

  // Disk 0 leaves: the walk starts at disk 1, and numbering starts again at 1.
  source.SetDisks({sdb});
  ASSERT_EQ(inventory.Refresh(), 1);
  ASSERT_TRUE(inventory.NextRecord(record));
  EXPECT_EQ(record.diskNumber, 1);
  EXPECT_EQ(record.letter, 1);
  EXPECT_FALSE(inventory.NextRecord(record));
}

TEST_F(DriveInventoryTest, FindRemovedReturnsTheRecordsOfVanishedDisks) {
  const auto sda = Disk("sda", 400000, {Partition(1, 2048, 397952)});
  const auto usb = Disk("sdb", 200000, {Partition(1, 2048, 100000), Partition(2, 102048, 97952)});
  FixtureDiskSource source({sda, usb});
  DriveInventory inventory(source);
  ASSERT_EQ(inventory.Refresh(), 1);
  std::vector<DriveInfo> earlier;
  inventory.CopyAll(earlier);

  std::vector<DriveInfo> removed;
  inventory.FindRemoved(earlier, removed);
  EXPECT_TRUE(removed.empty());

  source.SetDisks({sda});
  inventory.FindRemoved(earlier, removed);
  EXPECT_EQ(Layout(removed), (Rows{{1, 2048, 100000, 1}, {1, 102048, 97952, 2}}));

  // The stick comes back under its old number: nothing is missing any more.
  source.SetDisks({usb, sda});
  removed.clear();
  inventory.FindRemoved(earlier, removed);
  EXPECT_TRUE(removed.empty());
}

TEST_F(DriveInventoryTest, HelpersAnswerForTheDisk) {
  auto stick = Disk("sdb", 2048);
  stick.removable = true;
  auto noLength = Disk("sdc", 10);
  noLength.lengthFails = true;
  FixtureDiskSource source({Disk("sda", 4096), stick, noLength});
  EXPECT_EQ(IsRemovableDisk(0, source), 0);
  EXPECT_EQ(IsRemovableDisk(1, source), 1);
  EXPECT_EQ(IsRemovableDisk(7, source), 0);
  std::uint64_t length = 0;
  EXPECT_EQ(GetDiskLengthBytes(1, length, source), ResultOk);
  EXPECT_EQ(length, 2048u * 512);
  EXPECT_NE(GetDiskLengthBytes(2, length, source), ResultOk);
  EXPECT_EQ(GetDiskLengthBytes(7, length, source), ResultFileNotFound);
}

}  // namespace
}  // namespace forge
