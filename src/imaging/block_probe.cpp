#include "imaging/block_probe.h"

#include <blkid/blkid.h>

#include <memory>

namespace forge {
namespace {

struct ProbeDeleter {
  void operator()(blkid_struct_probe* probe) const { blkid_free_probe(probe); }
};

std::string LookUp(blkid_probe probe, const char* name) {
  const char* value = nullptr;
  std::size_t length = 0;
  if (blkid_probe_lookup_value(probe, name, &value, &length) != 0 || value == nullptr) return {};
  // The length counts the terminating zero.
  return std::string(value, length > 0 ? length - 1 : 0);
}

}  // namespace

std::string FileSystemDisplayName(std::string_view type, std::string_view version) {
  if (type == "ntfs") return "NTFS";
  if (type == "exfat") return "exFAT";
  if (type == "vfat" || type == "msdos") return version == "FAT32" ? "FAT32" : "FAT";
  return std::string(type);
}

bool ProbeBlockDevice(const std::filesystem::path& device, BlockProbe& probe) {
  probe = {};
  std::unique_ptr<blkid_struct_probe, ProbeDeleter> handle(
      blkid_new_probe_from_filename(device.c_str()));
  if (!handle) return false;
  blkid_probe_enable_superblocks(handle.get(), 1);
  blkid_probe_set_superblocks_flags(handle.get(),
                                    BLKID_SUBLKS_TYPE | BLKID_SUBLKS_LABEL | BLKID_SUBLKS_VERSION);
  blkid_probe_enable_partitions(handle.get(), 1);
  blkid_probe_set_partitions_flags(handle.get(), BLKID_PARTS_ENTRY_DETAILS);
  // 0 found, 1 nothing found, -2 contradicting signatures (treated as nothing), -1 failure.
  if (blkid_do_safeprobe(handle.get()) == -1) return false;
  probe.fileSystem =
      FileSystemDisplayName(LookUp(handle.get(), "TYPE"), LookUp(handle.get(), "VERSION"));
  probe.label = LookUp(handle.get(), "LABEL");
  probe.tableScheme = LookUp(handle.get(), "PART_ENTRY_SCHEME");
  probe.entryType = LookUp(handle.get(), "PART_ENTRY_TYPE");
  return true;
}

}  // namespace forge
