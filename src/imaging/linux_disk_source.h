// The machine's disks: sysfs for the list of disks and partitions, block-device requests for
// size and geometry, libblkid for file systems and labels, the mount table and statvfs for
// mount points and free space.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "imaging/disk_numbering.h"
#include "imaging/disk_source.h"

namespace forge {

// Where the system describes its disks; tests point these at a folder of their own.
struct LinuxSystemPaths {
  std::filesystem::path sysBlock = "/sys/block";
  std::filesystem::path dev = "/dev";
  std::filesystem::path mountInfo = "/proc/self/mountinfo";
};

// Lists every whole disk backed by hardware (it has a device link in sysfs) and every loop
// device with a backing file; never RAM disks, compressed RAM disks, optical drives or loop
// devices without a file. Disks are only ever opened read-only. Thread-safe.
class LinuxDiskSource final : public DiskSource {
 public:
  explicit LinuxDiskSource(LinuxSystemPaths paths = {});

  ResultCode ListDisks(std::vector<DiskEntry>& disks) override;
  ResultCode QueryGeometry(std::int32_t diskNumber, DiskGeometry& geometry) override;
  ResultCode QueryLength(std::int32_t diskNumber, std::uint64_t& lengthBytes) override;
  bool IsRemovable(std::int32_t diskNumber) override;
  ResultCode OpenForReading(std::int32_t diskNumber, std::unique_ptr<DiskReader>& reader) override;
  bool WritesToDisk(std::int32_t diskNumber, const std::filesystem::path& path) override;

 private:
  struct Shape {
    std::uint64_t lengthBytes = 0;
    std::uint32_t bytesPerSector = 512;
    std::uint32_t tracksPerCylinder = kDefaultTracksPerCylinder;
    std::uint32_t sectorsPerTrack = kDefaultSectorsPerTrack;
  };

  // The name of disk `diskNumber` while it is present.
  std::optional<std::string> PresentName(std::int32_t diskNumber);
  ResultCode ReadShape(std::int32_t diskNumber, Shape& shape);

  LinuxSystemPaths paths_;
  DiskNumbering numbering_;
};

}  // namespace forge
