// What libblkid finds on a block device: file system, label and the partition-table entry.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace forge {

struct BlockProbe {
  std::string fileSystem;  // display name (see FileSystemDisplayName); empty when none found
  std::string label;
  std::string tableScheme;  // "dos" or "gpt" for a partition; empty otherwise
  std::string entryType;    // "0x83" on "dos", a type GUID on "gpt"
};

// Reads the device's signatures, opening it read-only. False when it cannot be opened or read;
// a device without any known signature gives true with empty fields.
bool ProbeBlockDevice(const std::filesystem::path& device, BlockProbe& probe);

// The name shown for a file system that libblkid calls `type` with `version`: "NTFS", "FAT32",
// "FAT" for FAT12 and FAT16, "exFAT"; any other type as libblkid names it ("ext4", "swap").
std::string FileSystemDisplayName(std::string_view type, std::string_view version);

}  // namespace forge
