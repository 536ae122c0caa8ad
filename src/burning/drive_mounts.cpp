#include "burning/drive_mounts.h"

#include <sys/stat.h>

#include "platform/mount_table.h"

namespace forge {

std::vector<std::string> MountPointsOfDrive(const std::string& devicePath,
                                            const std::filesystem::path& mountInfo) {
  // Mounts are matched by device number, so a link such as /dev/cdrom counts as /dev/sr0.
  struct stat drive {};
  if (::stat(devicePath.c_str(), &drive) != 0 || !S_ISBLK(drive.st_mode)) return {};
  std::vector<std::string> points;
  for (const auto& mount : ReadMountTable(mountInfo)) {
    if (mount.device == drive.st_rdev) points.push_back(mount.mountPoint);
  }
  return points;
}

}  // namespace forge
