// The drive-imaging subcommands: the disk listing and the byte backup.
#pragma once

#include <string>
#include <vector>

namespace forge::cli {

// image-forge-cli disks
int RunDisksCommand(const std::vector<std::string>& args);
// image-forge-cli backup --disk N|DEVICE [--start SECTOR --count SECTORS] -o OUT.img
int RunBackupCommand(const std::vector<std::string>& args);

}  // namespace forge::cli
