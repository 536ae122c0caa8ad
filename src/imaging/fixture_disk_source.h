// Disks described by a small table and backed by image files, for tests: their partitions are
// what the table says, their bytes are the image file's, and a read can be made to fail at a
// chosen offset.
#pragma once

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "imaging/disk_numbering.h"
#include "imaging/disk_source.h"

namespace forge {

struct FixtureDisk {
  std::string name;             // numbers follow names, as on the real system
  std::filesystem::path image;  // the disk's bytes; the disk is as long as the file
  std::uint32_t bytesPerSector = 512;
  std::uint32_t tracksPerCylinder = kDefaultTracksPerCylinder;
  std::uint32_t sectorsPerTrack = kDefaultSectorsPerTrack;
  bool geometryFails = false;
  bool lengthFails = false;
  bool removable = false;
  // A read that reaches this byte offset returns the bytes before it, and the next read fails.
  std::optional<std::uint64_t> failReadAt;
  std::vector<DiskVolume> volumes;  // devicePath defaults to "/dev/<name><partition number>"
};

// Thread-safe. The image files are only ever opened read-only.
class FixtureDiskSource final : public DiskSource {
 public:
  explicit FixtureDiskSource(std::vector<FixtureDisk> disks = {});
  // The disks present from now on; a disk keeps its number when it leaves and comes back.
  void SetDisks(std::vector<FixtureDisk> disks);

  ResultCode ListDisks(std::vector<DiskEntry>& disks) override;
  ResultCode QueryGeometry(std::int32_t diskNumber, DiskGeometry& geometry) override;
  ResultCode QueryLength(std::int32_t diskNumber, std::uint64_t& lengthBytes) override;
  bool IsRemovable(std::int32_t diskNumber) override;
  ResultCode OpenForReading(std::int32_t diskNumber, std::unique_ptr<DiskReader>& reader) override;
  bool WritesToDisk(std::int32_t diskNumber, const std::filesystem::path& path) override;

 private:
  // A copy of the present disk with `diskNumber`.
  std::optional<FixtureDisk> Find(std::int32_t diskNumber) const;

  mutable std::mutex mutex_;
  std::vector<FixtureDisk> disks_;
  std::vector<std::int32_t> numbers_;  // of disks_, in the same order
  DiskNumbering numbering_;
};

}  // namespace forge
