// The file systems mounted on this machine, as the kernel lists them in /proc/self/mountinfo.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

namespace forge {

struct MountEntry {
  unsigned major = 0;      // device number of the mounted file system
  unsigned minor = 0;
  std::string mountPoint;  // unescaped: "\040" in the table is a space here
  std::string fileSystem;  // "iso9660", "ext4", ...
  std::string source;      // "/dev/sr0", "tmpfs", ...
};

// Parses the text of a mountinfo table; lines that do not have its shape are skipped.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// The current table of this process; empty when it cannot be read.
std::vector<MountEntry> ReadMountTable();

// Where the block device `device` (a st_rdev value) is mounted, in table order.
std::vector<std::string> MountPointsOfDevice(const std::vector<MountEntry>& table, dev_t device);

}  // namespace forge
