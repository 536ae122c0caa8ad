// The disk-source layer: what the drive inventory and the byte backup ask of the system about
// physical disks, their partitions and their bytes. The system's disks come from
// LinuxDiskSource; tests describe disks with FixtureDiskSource.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/result_codes.h"

namespace forge {

// How a disk lays out its sectors. Cylinders count whole cylinders only.
struct DiskGeometry {
  std::uint64_t cylinders = 0;
  std::uint32_t tracksPerCylinder = 0;
  std::uint32_t sectorsPerTrack = 0;
  std::uint32_t bytesPerSector = 0;

  std::uint64_t SectorsPerCylinder() const {
    return std::uint64_t{tracksPerCylinder} * sectorsPerTrack;
  }
};

// Geometry for a disk whose device names no heads and sectors: the usual translation to 255
// tracks per cylinder and 63 sectors per track.
inline constexpr std::uint32_t kDefaultTracksPerCylinder = 255;
inline constexpr std::uint32_t kDefaultSectorsPerTrack = 63;
DiskGeometry GeometryFromLength(std::uint64_t lengthBytes, std::uint32_t bytesPerSector,
                                std::uint32_t tracksPerCylinder = kDefaultTracksPerCylinder,
                                std::uint32_t sectorsPerTrack = kDefaultSectorsPerTrack);

// One partition as the system describes it.
struct DiskVolume {
  std::int32_t partitionNumber = 0;
  std::string devicePath;  // "/dev/sda1"
  std::uint64_t startBytes = 0;
  std::uint64_t lengthBytes = 0;
  std::uint8_t tableType = 0;  // the MBR entry's type byte; 0 on GPT or when it cannot be read
  bool container = false;      // an extended MBR partition: holds others, no data of its own
  std::string fileSystem;      // "NTFS", "FAT32", "FAT", "ext4", ...; empty when unknown
  std::string label;
  std::string mountPoint;   // the first mount point; empty when not mounted
  bool spaceKnown = false;  // totalBytes and freeBytes were read from the mounted file system
  std::uint64_t totalBytes = 0;
  std::uint64_t freeBytes = 0;
};

// One whole disk with its partitions (in any order).
struct DiskEntry {
  std::int32_t number = -1;  // kept for the life of the source, whatever comes and goes
  std::string name;          // "sda", "loop0"
  std::string devicePath;    // "/dev/sda"
  std::vector<DiskVolume> volumes;
};

// Read access to one open disk. Opened read-only: nothing can be written through it. Used by
// one thread at a time.
class DiskReader {
 public:
  virtual ~DiskReader() = default;
  // Reads up to buffer.size() bytes at `offset` into `buffer`; `got` is how many arrived, 0 at
  // the end of the disk. A failing read returns its code.
  virtual ResultCode ReadAt(std::uint64_t offset, std::span<std::byte> buffer,
                            std::size_t& got) = 0;
};

// Disks are named by their number. Implementations may be called from several threads (the
// interface thread lists, a worker thread copies).
class DiskSource {
 public:
  virtual ~DiskSource() = default;

  // Every disk present now, in ascending number. Fails only when the system's list of disks
  // cannot be read at all.
  virtual ResultCode ListDisks(std::vector<DiskEntry>& disks) = 0;
  virtual ResultCode QueryGeometry(std::int32_t diskNumber, DiskGeometry& geometry) = 0;
  virtual ResultCode QueryLength(std::int32_t diskNumber, std::uint64_t& lengthBytes) = 0;
  // True for removable media and for disks attached through USB; false on any failure.
  virtual bool IsRemovable(std::int32_t diskNumber) = 0;
  virtual ResultCode OpenForReading(std::int32_t diskNumber,
                                    std::unique_ptr<DiskReader>& reader) = 0;
  // True when writing into `path` would write onto the disk: the disk's own device, one of its
  // partitions, or the file a loop disk reads from.
  virtual bool WritesToDisk(std::int32_t diskNumber, const std::filesystem::path& path) = 0;
};

// The machine's disks, shared by the whole process so that disk numbers stay the same.
DiskSource& SystemDiskSource();

}  // namespace forge
