#include "burning/drive_mounts.h"

#include <mntent.h>
#include <sys/stat.h>

#include <memory>

namespace forge {

std::vector<std::string> MountPointsOfDrive(const std::string& devicePath,
                                            const std::string& mountTable) {
  struct stat drive {};
  if (::stat(devicePath.c_str(), &drive) != 0 || !S_ISBLK(drive.st_mode)) return {};
  const std::unique_ptr<FILE, int (*)(FILE*)> table(::setmntent(mountTable.c_str(), "re"),
                                                    ::endmntent);
  if (!table) return {};
  std::vector<std::string> points;
  struct mntent entry {};
  char buffer[8192];
  while (::getmntent_r(table.get(), &entry, buffer, sizeof buffer) != nullptr) {
    // Sources are compared as devices, so a link such as /dev/cdrom counts as /dev/sr0.
    struct stat source {};
    if (::stat(entry.mnt_fsname, &source) == 0 && S_ISBLK(source.st_mode) &&
        source.st_rdev == drive.st_rdev) {
      points.emplace_back(entry.mnt_dir);
    }
  }
  return points;
}

}  // namespace forge
