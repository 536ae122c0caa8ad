// How the program names the file system of a mounted volume.
#pragma once

#include <string>

#include "platform/mount_table.h"

namespace forge {

// The name of a mounted file system as the rest of the program spells it ("NTFS", "FAT32",
// "FAT", "exFAT", else the mount type such as "ext4"). The kernel does not say which FAT it
// mounted; the cluster count decides, as the FAT layout itself does.
std::string MountedFileSystemName(const MountEntry& mount);

}  // namespace forge
