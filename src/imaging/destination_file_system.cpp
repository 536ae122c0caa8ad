#include "imaging/destination_file_system.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <cerrno>

#include "imaging/block_probe.h"
#include "imaging/mounted_file_system.h"

namespace forge {
namespace {

namespace fs = std::filesystem;

// `path` itself or the nearest folder above it that exists.
ResultCode NearestExisting(const fs::path& path, fs::path& existing, struct stat& status) {
  std::error_code error;
  fs::path current = fs::absolute(path, error);
  if (error) return ResultFromErrno(error.value());
  for (;;) {
    if (::stat(current.c_str(), &status) == 0) {
      existing = current;
      return ResultOk;
    }
    if (errno != ENOENT && errno != ENOTDIR) return ResultFromErrno(errno);
    if (!current.has_relative_path()) return ResultFromErrno(ENOENT);
    current = current.parent_path();
  }
}

}  // namespace

ResultCode GetDriveFreeBytes(const fs::path& path, std::uint64_t& freeBytes) {
  fs::path folder;
  struct stat status {};
  if (const auto result = NearestExisting(path, folder, status); result != ResultOk) return result;
  struct statvfs space {};
  if (::statvfs(folder.c_str(), &space) != 0) return ResultFromErrno(errno);
  freeBytes = std::uint64_t{space.f_bavail} * space.f_frsize;
  return ResultOk;
}

ResultCode GetDriveFileSystem(const fs::path& path, std::string& fileSystem) {
  fs::path folder;
  struct stat status {};
  if (const auto result = NearestExisting(path, folder, status); result != ResultOk) return result;
  const auto mounts = ReadMountTable();
  // The last mount of the device is the one in force where several stack on one place.
  const auto mount = std::find_if(mounts.rbegin(), mounts.rend(), [&](const MountEntry& entry) {
    return entry.device == status.st_dev;
  });
  if (mount == mounts.rend()) return ResultFromErrno(ENOENT);
  BlockProbe probe;
  if (mount->source.starts_with("/dev/") && ProbeBlockDevice(mount->source, probe) &&
      !probe.fileSystem.empty()) {
    fileSystem = probe.fileSystem;
  } else {
    fileSystem = MountedFileSystemName(*mount);
  }
  return ResultOk;
}

}  // namespace forge
