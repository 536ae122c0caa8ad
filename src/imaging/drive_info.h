// One row of the drive inventory: a partition, an unallocated gap, or a disk without partitions.
#pragma once

#include <cstdint>
#include <string>

namespace forge {

// A plain value, copied whole between lists.
struct DriveInfo {
  // No drive letters exist here: after DriveInventory::Refresh every record carries its 1-based
  // position in the whole listing (a number, not a character). '*' until then.
  static constexpr std::uint16_t kNoLetter = u'*';

  std::uint16_t letter = kNoLetter;
  // The partition-type byte of the MBR entry, replaced by 7 for "NTFS", 0x0B for "FAT32" and 6
  // for "FAT"; 0 for gaps, bare disks and partitions without a type byte (GPT).
  std::uint8_t partitionType = 0;
  std::int32_t diskNumber = -1;
  // The partition's number on its disk; 0 for gaps, bare disks and a file system that fills a
  // disk without partitions.
  std::int32_t partitionNumber = -1;
  std::uint64_t totalBytes = 0;  // capacity (gaps and bare disks: their size)
  std::uint64_t usedBytes = 0;   // totalBytes - freeBytes
  std::uint64_t freeBytes = 0;   // gaps and bare disks: equal to totalBytes
  // In bytes while the inventory is being built, in the disk's sectors once Refresh finished.
  std::int64_t startSector = 0;
  std::int64_t sectorCount = 0;
  std::string fileSystem;  // "NTFS", "FAT32", "FAT", "ext4", ...; empty for gaps and bare disks
  std::string
      volumePath;     // the partition's device, e.g. "/dev/sda1"; empty for gaps and bare disks
  std::string label;  // file-system label; empty for gaps and bare disks
  std::string mountPoint;  // the first place the partition is mounted; empty when it is not

  bool operator==(const DriveInfo&) const = default;
};

}  // namespace forge
