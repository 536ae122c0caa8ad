// Questions about the file system that will hold an image file, asked before a copy.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "app/result_codes.h"

namespace forge {

// The file system holding `path` is that of its nearest existing folder, so the file itself need
// not exist yet. Both answer 0 on success, else the code of the failing call.

// Bytes this program may still write there.
ResultCode GetDriveFreeBytes(const std::filesystem::path& path, std::uint64_t& freeBytes);

// The file system's name: "NTFS", "FAT32", "FAT" (FAT12 and FAT16), "exFAT", or the type the
// system mounted it as ("ext4", "btrfs", "tmpfs", ...).
ResultCode GetDriveFileSystem(const std::filesystem::path& path, std::string& fileSystem);

}  // namespace forge
