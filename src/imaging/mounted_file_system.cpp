#include "imaging/mounted_file_system.h"

#include <sys/statvfs.h>

#include <cstdint>

namespace forge {
namespace {

// FAT12 and FAT16 hold fewer clusters than this; FAT32 holds at least as many.
constexpr std::uint64_t kFat32MinimumClusters = 65525;

}  // namespace

std::string MountedFileSystemName(const MountEntry& mount) {
  if (mount.fsType == "vfat" || mount.fsType == "msdos") {
    struct statvfs space {};
    const bool big =
        ::statvfs(mount.mountPoint.c_str(), &space) == 0 && space.f_blocks >= kFat32MinimumClusters;
    return big && mount.fsType == "vfat" ? "FAT32" : "FAT";
  }
  if (mount.fsType == "ntfs" || mount.fsType == "ntfs3") return "NTFS";
  if (mount.fsType == "exfat") return "exFAT";
  return mount.fsType;
}

}  // namespace forge
