// Where the disc of a drive is mounted, from the system's table of mounted file systems.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace forge {

// The mount points of every file system mounted from the block device at `devicePath` (any
// name of it: /dev/sr0, /dev/cdrom, ...), in table order; empty when none is, or when
// `devicePath` is no block device. `mountInfo` is a file in the format of
// /proc/self/mountinfo.
std::vector<std::string> MountPointsOfDrive(
    const std::string& devicePath,
    const std::filesystem::path& mountInfo = "/proc/self/mountinfo");

}  // namespace forge
