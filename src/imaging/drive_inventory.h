// The listing of every disk with what lies on it: its partitions, the unallocated gaps between
// and after them, and a whole-disk record for a disk without partitions.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "app/result_codes.h"
#include "imaging/disk_source.h"
#include "imaging/drive_info.h"

namespace forge {

// Owns its listing. Not thread-safe: one thread refreshes and walks it.
class DriveInventory {
 public:
  // `source` answers every query and must outlive the inventory.
  explicit DriveInventory(DiskSource& source = SystemDiskSource());

  // Bytes per sector of the last disk whose geometry was read; 512 until then.
  std::int32_t bytesPerSector = 512;

  // Rebuilds the listing: every partition (extended-partition containers excepted, they hold no
  // data of their own), every gap longer than one cylinder, a whole-disk record for every disk
  // numbered 0 to 127 without partitions; each disk's records sorted by start, every record
  // numbered by its 1-based position in `letter`. Starts and counts are in the disk's sectors.
  // Returns 0 when the system's list of disks cannot be read (the listing stays empty), else 1.
  int Refresh();

  // Copies the next record into `record`: disks in ascending number, each disk's records in
  // order. False after the last one. Refresh starts the walk again.
  bool NextRecord(DriveInfo& record);

  // Empties `records` and appends every record of the listing in walking order.
  void CopyAll(std::vector<DriveInfo>& records) const;

  // Refreshes, then appends to `removed` every record of `earlier` for which the new listing has
  // no record with the same disk number and start sector.
  void FindRemoved(std::vector<DriveInfo> earlier, std::vector<DriveInfo>& removed);

 private:
  void AddPartitions(const std::vector<DiskEntry>& disks);
  void AddGaps();
  void AddBareDisks(const std::vector<DiskEntry>& disks);
  void SortEachDisk();
  // The disk's length in sectors of `bytesPerSector`; the geometry's whole cylinders when the
  // length cannot be read.
  std::int64_t DiskSectors(std::int32_t diskNumber, const DiskGeometry& geometry) const;
  DriveInfo UnallocatedRecord(std::int32_t diskNumber, std::int64_t start,
                              std::int64_t count) const;

  DiskSource& source_;
  std::int32_t cursorDisk_ = 0;
  std::size_t cursorIndex_ = 0;
  std::map<std::int32_t, std::vector<DriveInfo>> listing_;
};

// Disks numbered above this one never get a whole-disk record.
inline constexpr std::int32_t kHighestBareDiskNumber = 127;

// 1 when the disk holds removable media or hangs on USB, else 0 (also on any failure).
int IsRemovableDisk(std::int32_t diskNumber, DiskSource& source = SystemDiskSource());

// 0 and the disk's length in bytes, or the code of the failing query.
ResultCode GetDiskLengthBytes(std::int32_t diskNumber, std::uint64_t& lengthBytes,
                              DiskSource& source = SystemDiskSource());

}  // namespace forge
