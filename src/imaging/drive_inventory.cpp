#include "imaging/drive_inventory.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace forge {
namespace {

// Sectors per cylinder of the usual 255 x 63 translation, in force until a disk says otherwise.
constexpr std::int64_t kDefaultCylinderSectors =
    std::int64_t{kDefaultTracksPerCylinder} * kDefaultSectorsPerTrack;

bool EqualsIgnoringCase(const std::string& a, const char* b) {
  const std::string other(b);
  return a.size() == other.size() &&
         std::equal(a.begin(), a.end(), other.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

// The partition type shown for a file system that Windows tools know by a type byte.
std::uint8_t TypeForFileSystem(const std::string& fileSystem, std::uint8_t tableType) {
  if (EqualsIgnoringCase(fileSystem, "NTFS")) return 0x07;
  if (EqualsIgnoringCase(fileSystem, "FAT32")) return 0x0B;
  if (EqualsIgnoringCase(fileSystem, "FAT")) return 0x06;
  return tableType;
}

}  // namespace

DriveInventory::DriveInventory(DiskSource& source) : source_(source) {}

int DriveInventory::Refresh() {
  cursorDisk_ = 0;
  cursorIndex_ = 0;
  listing_.clear();
  if (bytesPerSector <= 0) bytesPerSector = 512;

  std::vector<DiskEntry> disks;
  if (source_.ListDisks(disks) != ResultOk) return 0;
  AddPartitions(disks);
  SortEachDisk();
  AddGaps();
  AddBareDisks(disks);
  SortEachDisk();

  std::uint32_t position = 1;
  for (auto& [disk, records] : listing_) {
    for (auto& record : records) {
      if (record.letter == DriveInfo::kNoLetter)
        record.letter = static_cast<std::uint16_t>(position);
      ++position;
    }
  }
  return 1;
}

void DriveInventory::AddPartitions(const std::vector<DiskEntry>& disks) {
  for (const auto& disk : disks) {
    for (const auto& volume : disk.volumes) {
      if (volume.container) continue;
      DriveInfo record;
      record.partitionType = TypeForFileSystem(volume.fileSystem, volume.tableType);
      record.diskNumber = disk.number;
      record.partitionNumber = volume.partitionNumber;
      // Bytes for now; AddGaps turns them into sectors once the disk's sector size is known.
      record.startSector = static_cast<std::int64_t>(volume.startBytes);
      record.sectorCount = static_cast<std::int64_t>(volume.lengthBytes);
      record.fileSystem = volume.fileSystem;
      record.volumePath = volume.devicePath;
      record.label = volume.label;
      record.mountPoint = volume.mountPoint;
      if (volume.spaceKnown) {
        record.totalBytes = volume.totalBytes;
        record.freeBytes = std::min(volume.freeBytes, volume.totalBytes);
      } else {
        // Not mounted: nothing says what is free, so the partition counts as full.
        record.totalBytes = volume.lengthBytes;
        record.freeBytes = 0;
      }
      record.usedBytes = record.totalBytes - record.freeBytes;
      listing_[disk.number].push_back(std::move(record));
    }
  }
}

void DriveInventory::SortEachDisk() {
  for (auto& [disk, records] : listing_) {
    std::stable_sort(records.begin(), records.end(), [](const DriveInfo& a, const DriveInfo& b) {
      return a.startSector < b.startSector;
    });
  }
}

std::int64_t DriveInventory::DiskSectors(std::int32_t diskNumber,
                                         const DiskGeometry& geometry) const {
  std::uint64_t lengthBytes = 0;
  if (source_.QueryLength(diskNumber, lengthBytes) == ResultOk) {
    return static_cast<std::int64_t>(lengthBytes / static_cast<std::uint64_t>(bytesPerSector));
  }
  return static_cast<std::int64_t>(geometry.cylinders * geometry.SectorsPerCylinder());
}

DriveInfo DriveInventory::UnallocatedRecord(std::int32_t diskNumber, std::int64_t start,
                                            std::int64_t count) const {
  DriveInfo record;
  record.partitionType = 0;
  record.diskNumber = diskNumber;
  record.partitionNumber = 0;
  record.startSector = start;
  record.sectorCount = count;
  record.totalBytes =
      static_cast<std::uint64_t>(count) * static_cast<std::uint64_t>(bytesPerSector);
  record.freeBytes = record.totalBytes;
  record.usedBytes = 0;
  return record;
}

void DriveInventory::AddGaps() {
  // The cylinder size carries over from disk to disk when a disk's geometry cannot be read.
  std::int64_t cylinder = kDefaultCylinderSectors;
  for (auto& [diskNumber, records] : listing_) {
    std::int64_t scan = kDefaultSectorsPerTrack;
    std::int64_t diskSectors = 0;
    DiskGeometry geometry;
    if (source_.QueryGeometry(diskNumber, geometry) == ResultOk) {
      bytesPerSector = static_cast<std::int32_t>(geometry.bytesPerSector);
      cylinder = static_cast<std::int64_t>(geometry.SectorsPerCylinder());
      scan = geometry.sectorsPerTrack;
      diskSectors = DiskSectors(diskNumber, geometry);
    }
    std::vector<DriveInfo> gaps;
    for (auto& record : records) {
      record.startSector /= bytesPerSector;
      record.sectorCount /= bytesPerSector;
      if (record.startSector - scan > cylinder) {
        gaps.push_back(UnallocatedRecord(diskNumber, scan, record.startSector - scan));
      }
      scan = record.startSector + record.sectorCount;
    }
    if (diskSectors - scan > cylinder) {
      gaps.push_back(UnallocatedRecord(diskNumber, scan, diskSectors - scan));
    }
    records.insert(records.end(), gaps.begin(), gaps.end());
  }
}

void DriveInventory::AddBareDisks(const std::vector<DiskEntry>& disks) {
  for (const auto& disk : disks) {
    if (disk.number < 0 || disk.number > kHighestBareDiskNumber || listing_.contains(disk.number)) {
      continue;
    }
    DiskGeometry geometry;
    if (source_.QueryGeometry(disk.number, geometry) != ResultOk) continue;
    bytesPerSector = static_cast<std::int32_t>(geometry.bytesPerSector);
    listing_[disk.number].push_back(
        UnallocatedRecord(disk.number, 0, DiskSectors(disk.number, geometry)));
  }
}

bool DriveInventory::NextRecord(DriveInfo& record) {
  auto disk = listing_.lower_bound(cursorDisk_);
  if (disk == listing_.end()) return false;
  if (disk->first != cursorDisk_) {
    cursorDisk_ = disk->first;
    cursorIndex_ = 0;
  }
  // Past the last record of this disk: on to the next disk, or stay at the end.
  while (cursorIndex_ >= disk->second.size()) {
    const auto next = std::next(disk);
    if (next == listing_.end()) return false;
    disk = next;
    cursorDisk_ = disk->first;
    cursorIndex_ = 0;
  }
  record = disk->second[cursorIndex_++];
  return true;
}

void DriveInventory::CopyAll(std::vector<DriveInfo>& records) const {
  records.clear();
  for (const auto& [disk, diskRecords] : listing_) {
    records.insert(records.end(), diskRecords.begin(), diskRecords.end());
  }
}

void DriveInventory::FindRemoved(std::vector<DriveInfo> earlier, std::vector<DriveInfo>& removed) {
  Refresh();
  for (auto& old : earlier) {
    const auto disk = listing_.find(old.diskNumber);
    const bool present =
        disk != listing_.end() &&
        std::any_of(disk->second.begin(), disk->second.end(),
                    [&](const DriveInfo& record) { return record.startSector == old.startSector; });
    if (!present) removed.push_back(std::move(old));
  }
}

int IsRemovableDisk(std::int32_t diskNumber, DiskSource& source) {
  return source.IsRemovable(diskNumber) ? 1 : 0;
}

ResultCode GetDiskLengthBytes(std::int32_t diskNumber, std::uint64_t& lengthBytes,
                              DiskSource& source) {
  return source.QueryLength(diskNumber, lengthBytes);
}

}  // namespace forge
