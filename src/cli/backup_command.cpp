// image-forge-cli backup: a disk, or a range of its sectors, byte for byte into an image file.
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/formatting.h"
#include "cli/commands.h"
#include "cli/imaging_commands.h"
#include "cli/interrupt.h"
#include "cli/progress_bar.h"
#include "imaging/byte_backup_engine.h"
#include "imaging/drive_inventory.h"

namespace forge::cli {
namespace {

struct BackupOptions {
  std::string disk;  // a disk number, or the disk's device path
  std::int32_t diskNumber = -1;
  std::optional<std::int64_t> start;
  std::optional<std::int64_t> count;
  std::string output;
};

int UsageError(const std::string& cause) {
  std::fprintf(stderr,
               "image-forge-cli: %s (usage: image-forge-cli backup --disk N|DEVICE [--start "
               "SECTOR --count SECTORS] -o OUT.img)\n",
               cause.c_str());
  return kExitUsage;
}

template <typename Number>
bool ParseNumber(const std::string& text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value >= 0;
}

// Parses the arguments; returns the exit status of a usage error, or -1 when they are good.
int ParseArguments(const std::vector<std::string>& args, BackupOptions& options) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const auto& name = args[i];
    if (name != "--disk" && name != "--start" && name != "--count" && name != "-o" &&
        name != "--output") {
      return UsageError("unknown argument '" + name + "'");
    }
    if (i + 1 >= args.size()) return UsageError(name + " needs a value");
    const auto& value = args[++i];
    std::int64_t number = 0;
    if (name == "-o" || name == "--output") {
      options.output = value;
    } else if (name == "--disk") {
      options.disk = value;
      if (!value.starts_with("/") && !ParseNumber(value, options.diskNumber)) {
        return UsageError("--disk takes a disk number or a device path, not '" + value + "'");
      }
    } else if (!ParseNumber(value, number)) {
      return UsageError(name + " takes a whole number, not '" + value + "'");
    } else if (name == "--start") {
      options.start = number;
    } else {
      options.count = number;
    }
  }
  if (options.disk.empty()) return UsageError("--disk is required");
  if (options.output.empty()) return UsageError("-o is required");
  if (options.start.has_value() != options.count.has_value()) {
    return UsageError("--start and --count go together");
  }
  if (options.count == 0) return UsageError("--count must be at least 1");
  return -1;
}

// True when both paths name the same block device (through links such as /dev/disk/by-id/...).
bool SameBlockDevice(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
         S_ISBLK(first.st_mode) && S_ISBLK(second.st_mode) && first.st_rdev == second.st_rdev;
}

// What a user lacking the right to read `device` needs to be given.
std::string MissingPermission(const std::string& device) {
  struct stat status {};
  std::string groupName;
  if (::stat(device.c_str(), &status) == 0 && status.st_gid != 0) {
    struct group entry {};
    struct group* found = nullptr;
    char names[4096];
    if (::getgrgid_r(status.st_gid, &entry, names, sizeof names, &found) == 0 && found) {
      groupName = found->gr_name;
    }
  }
  return "reading " + device + " needs read permission on it: run as root" +
         (groupName.empty() ? std::string() : " or as a member of the group '" + groupName + "'");
}

class BarSink final : public BackupProgressSink {
 public:
  explicit BarSink(std::uint64_t sectorBytes) : sectorBytes_(sectorBytes), bar_("Backing up") {}

  ResultCode OnProgress(std::int32_t, std::uint64_t sectorsDone, std::uint64_t sectorsTotal,
                        std::int32_t) override {
    sectorsDone_ = sectorsDone;
    if (InterruptAsCancel::Requested()) return CancelCode;
    if (bar_.Enabled()) {
      bar_.Update(100.0 * static_cast<double>(sectorsDone) / static_cast<double>(sectorsTotal),
                  sectorsDone * sectorBytes_,
                  std::to_string(sectorsDone) + "/" + std::to_string(sectorsTotal) + " sectors");
    }
    return ResultOk;
  }

  std::uint64_t SectorsDone() const { return sectorsDone_; }
  void Finish() { bar_.Finish(); }

 private:
  std::uint64_t sectorBytes_;
  std::uint64_t sectorsDone_ = 0;
  ProgressBar bar_;
};

}  // namespace

int RunBackupCommand(const std::vector<std::string>& args) {
  BackupOptions options;
  if (const int status = ParseArguments(args, options); status >= 0) return status;

  auto& source = SystemDiskSource();
  std::vector<DiskEntry> disks;
  source.ListDisks(disks);
  std::string device;
  for (const auto& disk : disks) {
    if (disk.number == options.diskNumber ||
        (options.disk.starts_with("/") && SameBlockDevice(disk.devicePath, options.disk))) {
      options.diskNumber = disk.number;
      device = disk.devicePath;
    }
  }
  DiskGeometry geometry;
  std::uint64_t length = 0;
  if (device.empty() || source.QueryGeometry(options.diskNumber, geometry) != ResultOk ||
      GetDiskLengthBytes(options.diskNumber, length, source) != ResultOk) {
    std::fprintf(stderr,
                 "image-forge-cli: there is no disk %s with a medium (see image-forge-cli disks)\n",
                 options.disk.c_str());
    return kExitFailed;
  }
  const std::int32_t diskNumber = options.diskNumber;
  const std::uint64_t diskSectors = length / geometry.bytesPerSector;
  if (options.start &&
      (static_cast<std::uint64_t>(*options.start) >= diskSectors ||
       static_cast<std::uint64_t>(*options.count) > diskSectors - *options.start)) {
    std::fprintf(
        stderr,
        "image-forge-cli: the range ends after the last sector of disk %d (%s has %llu sectors)\n",
        diskNumber, device.c_str(), static_cast<unsigned long long>(diskSectors));
    return kExitFailed;
  }
  if (source.WritesToDisk(diskNumber, options.output)) {
    std::fprintf(stderr, "image-forge-cli: %s is disk %d itself; the image must go elsewhere\n",
                 options.output.c_str(), diskNumber);
    return kExitFailed;
  }
  std::unique_ptr<DiskReader> probe;
  if (const auto result = source.OpenForReading(diskNumber, probe); result != ResultOk) {
    const std::string cause =
        result == ResultAccessDenied ? MissingPermission(device) : DescribeResult(result);
    std::fprintf(stderr, "image-forge-cli: cannot read disk %d: %s\n", diskNumber, cause.c_str());
    return kExitFailed;
  }
  probe.reset();

  const InterruptAsCancel cancelOnInterrupt;
  BarSink sink(geometry.bytesPerSector);
  ByteBackupEngine engine(source);
  const auto result = engine.Run(diskNumber, options.start.value_or(0), options.count.value_or(0),
                                 options.output, &sink);
  sink.Finish();
  const auto copied = sink.SectorsDone();
  if (result != ResultOk) {
    std::string message =
        "image-forge-cli: backup of disk " + std::to_string(diskNumber) +
        (result == CancelCode ? " cancelled" : " failed: " + DescribeResult(result));
    if (copied > 0) {
      message += "; " + options.output + " keeps the first " + std::to_string(copied) + " sectors";
    }
    std::fprintf(stderr, "%s\n", message.c_str());
    return kExitFailed;
  }
  std::printf("Copied %llu sectors (%s) of disk %d (%s) to %s\n",
              static_cast<unsigned long long>(copied),
              FormatSizeText(static_cast<std::int64_t>(copied * geometry.bytesPerSector)).c_str(),
              diskNumber, device.c_str(), options.output.c_str());
  return kExitOk;
}

}  // namespace forge::cli
