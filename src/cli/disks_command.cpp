// image-forge-cli disks: every disk with its partitions, gaps and whole-disk records.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "app/formatting.h"
#include "cli/commands.h"
#include "cli/imaging_commands.h"
#include "imaging/drive_inventory.h"

namespace forge::cli {
namespace {

constexpr char kCommand[] = "disks";

using Row = std::vector<std::string>;

std::string OrDash(const std::string& text) { return text.empty() ? "-" : text; }

std::string TypeText(std::uint8_t type) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", type);
  return text;
}

// Prints rows with every column as wide as its widest cell; numbers are right-aligned.
void PrintTable(const std::vector<Row>& rows, const std::vector<bool>& rightAligned) {
  std::vector<std::size_t> widths(rows.front().size(), 0);
  for (const auto& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
  }
  for (const auto& row : rows) {
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i) {
      const std::string padding(widths[i] - row[i].size(), ' ');
      line += rightAligned[i] ? padding + row[i] : row[i] + padding;
      if (i + 1 < row.size()) line += "  ";
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    std::printf("%s\n", line.c_str());
  }
}

}  // namespace

int RunDisksCommand(const std::vector<std::string>& args) {
  if (!args.empty()) return UsageError(kCommand, "takes no arguments, not '" + args[0] + "'");
  auto& source = SystemDiskSource();
  DriveInventory inventory(source);
  if (inventory.Refresh() == 0) return Failure(kCommand, "cannot read the list of disks");
  std::vector<DiskEntry> disks;
  source.ListDisks(disks);
  std::map<std::int32_t, std::string> diskDevices;
  std::vector<Row> diskRows;
  for (const auto& disk : disks) {
    diskDevices[disk.number] = disk.devicePath;
    DiskGeometry geometry;
    std::uint64_t length = 0;
    const bool known = source.QueryGeometry(disk.number, geometry) == ResultOk &&
                       GetDiskLengthBytes(disk.number, length, source) == ResultOk;
    diskRows.push_back({"Disk " + std::to_string(disk.number), disk.devicePath,
                        known ? FormatSizeText(static_cast<std::int64_t>(length)) : "no medium",
                        known ? std::to_string(geometry.bytesPerSector) + " bytes per sector" : "-",
                        IsRemovableDisk(disk.number, source) == 1 ? "removable" : ""});
  }

  std::vector<Row> rows = {{"Disk", "No", "Device", "Start", "Sectors", "Type", "File system",
                            "Label", "Mount point", "Used", "Free", "Capacity"}};
  DriveInfo record;
  while (inventory.NextRecord(record)) {
    const bool unallocated = record.volumePath.empty();
    std::string fileSystem = OrDash(record.fileSystem);
    if (unallocated) fileSystem = record.startSector == 0 ? "(whole disk)" : "(unallocated)";
    rows.push_back({std::to_string(record.diskNumber), std::to_string(record.letter),
                    unallocated ? diskDevices[record.diskNumber] : record.volumePath,
                    std::to_string(record.startSector), std::to_string(record.sectorCount),
                    unallocated ? "-" : TypeText(record.partitionType), fileSystem,
                    OrDash(record.label), OrDash(record.mountPoint),
                    FormatSizeText(static_cast<std::int64_t>(record.usedBytes)),
                    FormatSizeText(static_cast<std::int64_t>(record.freeBytes)),
                    FormatSizeText(static_cast<std::int64_t>(record.totalBytes))});
  }
  if (diskRows.empty()) {
    std::printf("No disks found.\n");
    return kExitOk;
  }
  PrintTable(diskRows, {false, false, true, false, false});
  std::printf("\n");
  PrintTable(rows, {true, true, false, true, true, false, false, false, false, true, true, true});
  std::printf("\nStart and Sectors count the disk's own sectors; No is the listing position.\n");
  return kExitOk;
}

}  // namespace forge::cli
