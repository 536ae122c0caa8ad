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

constexpr char kCommand[] = "backup";

int UsageError(const std::string& text) { return cli::UsageError(kCommand, text); }
int Failure(const std::string& text) { return cli::Failure(kCommand, text); }

template <typename Number>
bool ParseNumber(const std::string& text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value >= 0;
}

// Parses the arguments; returns -1 when they are fine, else the exit status.
int Parse(const std::vector<std::string>& args, BackupOptions& options) {
  ArgumentReader reader(args);
  while (reader.Next()) {
    const std::string& arg = reader.Current();
    std::string value;
    std::int64_t number = 0;
    if (reader.IsOperand()) {
      return UsageError("unexpected argument '" + arg + "'");
    } else if (arg != "--disk" && arg != "--start" && arg != "--count" && arg != "-o" &&
               arg != "--output") {
      return UsageError("unknown option '" + arg + "'");
    } else if (!reader.TakeValue(value)) {
      return UsageError(arg + " needs a value");
    } else if (arg == "-o" || arg == "--output") {
      options.output = value;
    } else if (arg == "--disk") {
      options.disk = value;
      if (!value.starts_with("/") && !ParseNumber(value, options.diskNumber)) {
        return UsageError("--disk takes a disk number or a device path, not '" + value + "'");
      }
    } else if (!ParseNumber(value, number)) {
      return UsageError(arg + " takes a whole number, not '" + value + "'");
    } else if (arg == "--start") {
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
  if (const int status = Parse(args, options); status >= 0) return status;

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
    return Failure("there is no disk " + options.disk +
                   " with a medium (see image-forge-cli disks)");
  }
  const std::int32_t diskNumber = options.diskNumber;
  const std::uint64_t diskSectors = length / geometry.bytesPerSector;
  if (options.start &&
      (static_cast<std::uint64_t>(*options.start) >= diskSectors ||
       static_cast<std::uint64_t>(*options.count) > diskSectors - *options.start)) {
    return Failure("the range ends after the last sector of disk " + std::to_string(diskNumber) +
                   " (" + device + " has " + std::to_string(diskSectors) + " sectors)");
  }
  if (source.WritesToDisk(diskNumber, options.output)) {
    return Failure(options.output + " is disk " + std::to_string(diskNumber) +
                   " itself; the image must go elsewhere");
  }
  std::unique_ptr<DiskReader> probe;
  if (const auto result = source.OpenForReading(diskNumber, probe); result != ResultOk) {
    const std::string cause =
        result == ResultAccessDenied ? MissingPermission(device) : DescribeResult(result);
    return Failure("cannot read disk " + std::to_string(diskNumber) + ": " + cause);
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
    std::string message = result == CancelCode ? "cancelled"
                                               : "cannot copy disk " + std::to_string(diskNumber) +
                                                     ": " + DescribeResult(result);
    if (copied > 0) {
      message += "; " + options.output + " keeps the first " + std::to_string(copied) + " sectors";
    }
    return Failure(message);
  }
  std::printf("Copied %llu sectors (%s) of disk %d (%s) to %s\n",
              static_cast<unsigned long long>(copied),
              FormatSizeText(static_cast<std::int64_t>(copied * geometry.bytesPerSector)).c_str(),
              diskNumber, device.c_str(), options.output.c_str());
  return kExitOk;
}

}  // namespace forge::cli
