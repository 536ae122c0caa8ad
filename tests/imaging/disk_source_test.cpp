// The pieces of the disk-source layer that read the system's descriptions: disk numbering,
// file-system names, and the sysfs walk on a folder laid out like sysfs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/block_probe.h"
#include "imaging/disk_numbering.h"
#include "imaging/linux_disk_source.h"
#include "imaging/mounted_file_system.h"
#include "support/test_files.h"

namespace forge {
namespace {

namespace fs = std::filesystem;

TEST(DiskNumbering, FirstListingInNameOrderLaterDisksNext) {
  DiskNumbering numbering;
  EXPECT_EQ(numbering.Assign({"sdb", "loop10", "sda", "loop2"}),
            (std::vector<std::int32_t>{3, 1, 2, 0}));
  // sda leaves, sdc and loop3 arrive: the others keep their numbers.
  EXPECT_EQ(numbering.Assign({"loop2", "sdc", "loop10", "loop3", "sdb"}),
            (std::vector<std::int32_t>{0, 5, 1, 4, 3}));
  // sda comes back with its old number.
  EXPECT_EQ(numbering.Assign({"sda"}), (std::vector<std::int32_t>{2}));
  EXPECT_EQ(numbering.NameOf(5), "sdc");
  EXPECT_FALSE(numbering.NameOf(6).has_value());
}

TEST(DiskNumbering, NaturalNameOrder) {
  const struct {
    const char* a;
    const char* b;
    bool less;
  } cases[] = {
      {"sda", "sdb", true},         {"loop2", "loop10", true},     {"loop10", "loop2", false},
      {"nvme0n1", "nvme1n1", true}, {"nvme0n2", "nvme0n10", true}, {"sda", "sda", false},
  };
  for (const auto& c : cases) EXPECT_EQ(NaturalNameLess(c.a, c.b), c.less) << c.a << " < " << c.b;
}

TEST(BlockProbe, FileSystemNamesAsTheProgramShowsThem) {
  const struct {
    const char* type;
    const char* version;
    const char* name;
  } cases[] = {
      {"vfat", "FAT32", "FAT32"},
      {"vfat", "FAT16", "FAT"},
      {"vfat", "FAT12", "FAT"},
      {"ntfs", "", "NTFS"},
      {"exfat", "", "exFAT"},
      {"ext4", "1.0", "ext4"},
      {"", "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FileSystemDisplayName(c.type, c.version), c.name) << c.type;
}

// A folder laid out like /sys/block, with a mount table and a /dev without nodes (so every
// answer comes from the descriptions).
class FakeSysfsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AddDisk("sda", "8:0", 2097152, kHardware);
    AddPartition("sda", "sda1", 1, 2048, 204800, "8:1");
    AddPartition("sda", "sda2", 2, 206848, 1000, "8:2");
    AddDisk("sdb", "8:16", 0, kHardware, kRemovable);
    AddDisk("loop0", "7:0", 20480, kVirtual, kFixed, "/var/images/disk.img");
    AddDisk("loop1", "7:1", 0, kVirtual);
    AddDisk("ram0", "1:0", 8192, kVirtual);
    AddDisk("zram0", "252:0", 8192, kVirtual);
    AddDisk("sr0", "11:0", 0, kHardware, kRemovable);
    fs::create_directories(folder_ / "dev");
    fs::create_directories(folder_ / "mnt" / "data");
    fs::create_directories(folder_ / "mnt" / "whole");
    test::WriteFile(folder_ / "mountinfo", "30 1 8:1 / " + (folder_ / "mnt" / "data").string() +
                                               " rw - ext4 /dev/sda1 rw\n"
                                               "31 1 7:0 / " +
                                               (folder_ / "mnt" / "whole").string() +
                                               " rw - xfs /dev/loop0 rw\n");
    source_ = std::make_unique<LinuxDiskSource>(
        LinuxSystemPaths{folder_ / "block", folder_ / "dev", folder_ / "mountinfo"});
  }

  static constexpr bool kHardware = true;
  static constexpr bool kVirtual = false;
  static constexpr bool kRemovable = true;
  static constexpr bool kFixed = false;

  void AddDisk(const std::string& name, const std::string& dev, std::uint64_t sectors,
               bool hardware, bool removable = kFixed, const std::string& backingFile = "") {
    const auto entry = folder_ / "block" / name;
    test::WriteFile(entry / "dev", dev + "\n");
    test::WriteFile(entry / "size", std::to_string(sectors) + "\n");
    test::WriteFile(entry / "removable", removable ? "1\n" : "0\n");
    test::WriteFile(entry / "queue" / "logical_block_size", "512\n");
    if (hardware) {
      fs::create_directories(folder_ / "devices" / name);
      fs::create_directory_symlink(folder_ / "devices" / name, entry / "device");
    }
    if (name.starts_with("loop")) {
      fs::create_directories(entry / "loop");
      if (!backingFile.empty())
        test::WriteFile(entry / "loop" / "backing_file", backingFile + "\n");
    }
  }

  void AddPartition(const std::string& disk, const std::string& name, int number,
                    std::uint64_t start, std::uint64_t sectors, const std::string& dev) {
    const auto entry = folder_ / "block" / disk / name;
    test::WriteFile(entry / "partition", std::to_string(number) + "\n");
    test::WriteFile(entry / "start", std::to_string(start) + "\n");
    test::WriteFile(entry / "size", std::to_string(sectors) + "\n");
    test::WriteFile(entry / "dev", dev + "\n");
  }

  std::vector<DiskEntry> List() {
    std::vector<DiskEntry> disks;
    EXPECT_EQ(source_->ListDisks(disks), ResultOk);
    return disks;
  }

  test::TempFolder folder_;
  std::unique_ptr<LinuxDiskSource> source_;
};

TEST_F(FakeSysfsTest, ListsHardwareDisksAndLoopDisksWithAFile) {
  const auto disks = List();
  std::vector<std::pair<std::int32_t, std::string>> seen;
  for (const auto& disk : disks) seen.emplace_back(disk.number, disk.devicePath);
  const auto dev = (folder_ / "dev").string();
  EXPECT_EQ(seen, (std::vector<std::pair<std::int32_t, std::string>>{
                      {0, dev + "/loop0"}, {1, dev + "/sda"}, {2, dev + "/sdb"}}));

  // The partitions, with sysfs's 512-byte units turned into bytes and the mount table's answer.
  const auto& sda = disks[1].volumes;
  ASSERT_EQ(sda.size(), 2u);
  const auto first =
      std::find_if(sda.begin(), sda.end(), [](auto& v) { return v.partitionNumber == 1; });
  ASSERT_NE(first, sda.end());
  EXPECT_EQ(first->devicePath, dev + "/sda1");
  EXPECT_EQ(first->startBytes, 2048u * 512);
  EXPECT_EQ(first->lengthBytes, 204800u * 512);
  EXPECT_EQ(first->mountPoint, (folder_ / "mnt" / "data").string());
  EXPECT_EQ(first->fileSystem, "ext4");
  EXPECT_TRUE(first->spaceKnown);
  EXPECT_GT(first->totalBytes, 0u);

  // A file system filling a disk without partitions is one volume of that disk.
  ASSERT_EQ(disks[0].volumes.size(), 1u);
  EXPECT_EQ(disks[0].volumes[0].partitionNumber, 0);
  EXPECT_EQ(disks[0].volumes[0].startBytes, 0u);
  EXPECT_EQ(disks[0].volumes[0].lengthBytes, 20480u * 512);
  EXPECT_EQ(disks[0].volumes[0].fileSystem, "xfs");
  // An empty drive has nothing.
  EXPECT_TRUE(disks[2].volumes.empty());
}

TEST_F(FakeSysfsTest, SizeGeometryAndRemovableFromTheDescriptions) {
  List();
  DiskGeometry geometry;
  ASSERT_EQ(source_->QueryGeometry(1, geometry), ResultOk);
  EXPECT_EQ(geometry.bytesPerSector, 512u);
  EXPECT_EQ(geometry.tracksPerCylinder, 255u);
  EXPECT_EQ(geometry.sectorsPerTrack, 63u);
  EXPECT_EQ(geometry.cylinders, 2097152u / (255 * 63));
  std::uint64_t length = 0;
  ASSERT_EQ(source_->QueryLength(1, length), ResultOk);
  EXPECT_EQ(length, 2097152u * 512);

  // The drive without a medium has a length of 0 and no geometry.
  EXPECT_EQ(source_->QueryLength(2, length), ResultOk);
  EXPECT_EQ(length, 0u);
  EXPECT_NE(source_->QueryGeometry(2, geometry), ResultOk);

  EXPECT_FALSE(source_->IsRemovable(1));
  EXPECT_TRUE(source_->IsRemovable(2));
  EXPECT_EQ(source_->QueryGeometry(9, geometry), ResultFileNotFound);
}

TEST_F(FakeSysfsTest, NumbersSurviveDisksComingAndGoing) {
  List();
  fs::remove_all(folder_ / "block" / "sda");
  AddDisk("sdc", "8:32", 4096, kHardware);
  std::vector<std::pair<std::int32_t, std::string>> seen;
  for (const auto& disk : List()) seen.emplace_back(disk.number, disk.name);
  EXPECT_EQ(seen, (std::vector<std::pair<std::int32_t, std::string>>{
                      {0, "loop0"}, {2, "sdb"}, {3, "sdc"}}));
  std::uint64_t length = 0;
  EXPECT_EQ(source_->QueryLength(1, length), ResultFileNotFound);
}

}  // namespace
}  // namespace forge
