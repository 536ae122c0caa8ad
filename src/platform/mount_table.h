// The mounted file systems, read from the kernel's mount table of this process.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace forge {

struct MountEntry {
  dev_t device = 0;        // the mounted device's number (major:minor)
  std::string mountPoint;  // with the table's escapes (\040 for a space) undone
  std::string fsType;      // "ext4", "vfat", ...
  std::string source;      // "/dev/sda1", or what the file system names instead
};

// Reads a device number written as "major:minor" (as sysfs and the mount table write it).
bool ParseDeviceNumber(std::string_view text, dev_t& device);

// Parses the text of /proc/<pid>/mountinfo, in its order. Malformed lines are skipped.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// The mount table of this process; empty when it cannot be read.
std::vector<MountEntry> ReadMountTable(
    const std::filesystem::path& mountInfo = "/proc/self/mountinfo");

}  // namespace forge
