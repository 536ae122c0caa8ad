#include "imaging/linux_disk_source.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <linux/hdreg.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fstream>

#include "imaging/block_probe.h"
#include "imaging/mounted_file_system.h"
#include "platform/file_descriptor.h"

namespace forge {
namespace {

namespace fs = std::filesystem;

// Sysfs counts partition starts and sizes in 512-byte units whatever the sector size.
constexpr std::uint64_t kSysfsUnit = 512;

std::optional<std::string> ReadSysText(const fs::path& path) {
  std::ifstream file(path);
  std::string text;
  if (!file || !std::getline(file, text)) return std::nullopt;
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

std::optional<std::uint64_t> ReadSysNumber(const fs::path& path) {
  const auto text = ReadSysText(path);
  std::uint64_t value = 0;
  if (!text) return std::nullopt;
  const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
  if (error != std::errc() || end != text->data() + text->size()) return std::nullopt;
  return value;
}

std::optional<dev_t> ReadSysDevice(const fs::path& path) {
  const auto text = ReadSysText(path);
  dev_t device = 0;
  if (!text || !ParseDeviceNumber(*text, device)) return std::nullopt;
  return device;
}

// Whole disks worth listing: hardware-backed ones and loop devices that have a file.
bool IsListedDisk(const fs::path& sysEntry, const std::string& name) {
  if (name.starts_with("ram") || name.starts_with("zram") || name.starts_with("sr")) return false;
  std::error_code error;
  if (name.starts_with("loop")) {
    const auto file = ReadSysText(sysEntry / "loop" / "backing_file");
    return file && !file->empty();
  }
  return fs::exists(sysEntry / "device", error);
}

// The partition-type byte from libblkid's "0x83" text; 0 when it is not one.
std::uint8_t ParseTypeByte(const std::string& text) {
  unsigned value = 0;
  if (!text.starts_with("0x")) return 0;
  const auto [end, error] = std::from_chars(text.data() + 2, text.data() + text.size(), value, 16);
  if (error != std::errc() || end != text.data() + text.size() || value > 0xFF) return 0;
  return static_cast<std::uint8_t>(value);
}

bool IsExtendedType(std::uint8_t type) { return type == 0x05 || type == 0x0F || type == 0x85; }

// The entries of a sysfs folder; entries vanish while disks come and go, so errors end the walk
// quietly.
std::vector<fs::path> FolderEntries(const fs::path& folder, std::error_code& error) {
  std::vector<fs::path> entries;
  for (auto it = fs::directory_iterator(folder, error); !error && it != fs::directory_iterator();
       it.increment(error)) {
    entries.push_back(it->path());
  }
  return entries;
}

// The names of the disks worth listing, as sysfs has them now.
std::vector<std::string> ListedDiskNames(const fs::path& sysBlock, std::error_code& error) {
  std::vector<std::string> names;
  for (const auto& entry : FolderEntries(sysBlock, error)) {
    auto name = entry.filename().string();
    if (IsListedDisk(entry, name)) names.push_back(std::move(name));
  }
  return names;
}

// Fills in what libblkid and the mount table say about the volume at `sysEntry`. Without the
// right to read the device, a mounted volume still gets its type from the mount table.
void DescribeVolume(const fs::path& sysEntry, const std::vector<MountEntry>& mounts,
                    DiskVolume& volume) {
  BlockProbe probe;
  if (ProbeBlockDevice(volume.devicePath, probe)) {
    volume.fileSystem = probe.fileSystem;
    volume.label = probe.label;
    if (probe.tableScheme == "dos") {
      volume.tableType = ParseTypeByte(probe.entryType);
      volume.container = IsExtendedType(volume.tableType);
    }
  }
  const auto device = ReadSysDevice(sysEntry / "dev");
  const auto mount = std::find_if(mounts.begin(), mounts.end(), [&](const MountEntry& entry) {
    return (device && entry.device == *device) || entry.source == volume.devicePath;
  });
  if (mount == mounts.end()) return;
  volume.mountPoint = mount->mountPoint;
  if (volume.fileSystem.empty()) volume.fileSystem = MountedFileSystemName(*mount);
  struct statvfs space {};
  if (::statvfs(mount->mountPoint.c_str(), &space) == 0) {
    volume.spaceKnown = true;
    volume.totalBytes = std::uint64_t{space.f_blocks} * space.f_frsize;
    volume.freeBytes = std::uint64_t{space.f_bfree} * space.f_frsize;
  }
}

class DeviceReader final : public DiskReader {
 public:
  explicit DeviceReader(FileDescriptor fd) : fd_(std::move(fd)) {}

  ResultCode ReadAt(std::uint64_t offset, std::span<std::byte> buffer, std::size_t& got) override {
    got = 0;
    for (;;) {
      const ssize_t read =
          ::pread(fd_.get(), buffer.data(), buffer.size(), static_cast<off_t>(offset));
      if (read >= 0) {
        got = static_cast<std::size_t>(read);
        return ResultOk;
      }
      if (errno != EINTR) return ResultFromErrno(errno);
    }
  }

 private:
  FileDescriptor fd_;
};

}  // namespace

LinuxDiskSource::LinuxDiskSource(LinuxSystemPaths paths) : paths_(std::move(paths)) {}

ResultCode LinuxDiskSource::ListDisks(std::vector<DiskEntry>& disks) {
  disks.clear();
  std::error_code error;
  const auto names = ListedDiskNames(paths_.sysBlock, error);
  if (error) return ResultFromErrno(error.value());

  const auto numbers = numbering_.Assign(names);
  const auto mounts = ReadMountTable(paths_.mountInfo);
  for (std::size_t i = 0; i < names.size(); ++i) {
    DiskEntry disk;
    disk.number = numbers[i];
    disk.name = names[i];
    disk.devicePath = (paths_.dev / names[i]).string();
    const auto sysDisk = paths_.sysBlock / names[i];
    for (const auto& entry : FolderEntries(sysDisk, error)) {
      // Only a partition's folder has a "partition" file.
      const auto partition = ReadSysNumber(entry / "partition");
      if (!partition) continue;
      const auto start = ReadSysNumber(entry / "start");
      const auto size = ReadSysNumber(entry / "size");
      if (!start || !size) continue;
      DiskVolume volume;
      volume.partitionNumber = static_cast<std::int32_t>(*partition);
      volume.devicePath = (paths_.dev / entry.filename()).string();
      volume.startBytes = *start * kSysfsUnit;
      volume.lengthBytes = *size * kSysfsUnit;
      DescribeVolume(entry, mounts, volume);
      disk.volumes.push_back(std::move(volume));
    }
    // A disk without partitions may carry a file system of its own; it is then one volume.
    if (disk.volumes.empty()) {
      DiskVolume whole;
      whole.devicePath = disk.devicePath;
      whole.lengthBytes = ReadSysNumber(sysDisk / "size").value_or(0) * kSysfsUnit;
      DescribeVolume(sysDisk, mounts, whole);
      if (whole.lengthBytes > 0 && (!whole.fileSystem.empty() || !whole.mountPoint.empty())) {
        disk.volumes.push_back(std::move(whole));
      }
    }
    disks.push_back(std::move(disk));
  }
  std::sort(disks.begin(), disks.end(),
            [](const DiskEntry& a, const DiskEntry& b) { return a.number < b.number; });
  return ResultOk;
}

std::optional<std::string> LinuxDiskSource::PresentName(std::int32_t diskNumber) {
  // Number the disks present now, so that a disk can be named before anything was listed.
  std::error_code error;
  numbering_.Assign(ListedDiskNames(paths_.sysBlock, error));
  auto name = numbering_.NameOf(diskNumber);
  if (!name || !IsListedDisk(paths_.sysBlock / *name, *name)) return std::nullopt;
  return name;
}

ResultCode LinuxDiskSource::ReadShape(std::int32_t diskNumber, Shape& shape) {
  const auto name = PresentName(diskNumber);
  if (!name) return ResultFileNotFound;
  const FileDescriptor fd(::open((paths_.dev / *name).c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.valid()) {
    if (::ioctl(fd.get(), BLKGETSIZE64, &shape.lengthBytes) != 0) return ResultFromErrno(errno);
    int sectorSize = 0;
    if (::ioctl(fd.get(), BLKSSZGET, &sectorSize) == 0 && sectorSize > 0) {
      shape.bytesPerSector = static_cast<std::uint32_t>(sectorSize);
    }
    hd_geometry geometry{};
    if (::ioctl(fd.get(), HDIO_GETGEO, &geometry) == 0 && geometry.heads > 0 &&
        geometry.sectors > 0) {
      shape.tracksPerCylinder = geometry.heads;
      shape.sectorsPerTrack = geometry.sectors;
    }
    return ResultOk;
  }
  // Without the right to open the device, sysfs still tells its size.
  const int openError = errno;
  const auto sectors = ReadSysNumber(paths_.sysBlock / *name / "size");
  if (!sectors) return ResultFromErrno(openError);
  shape.lengthBytes = *sectors * kSysfsUnit;
  if (const auto size = ReadSysNumber(paths_.sysBlock / *name / "queue" / "logical_block_size")) {
    if (*size > 0) shape.bytesPerSector = static_cast<std::uint32_t>(*size);
  }
  return ResultOk;
}

ResultCode LinuxDiskSource::QueryGeometry(std::int32_t diskNumber, DiskGeometry& geometry) {
  Shape shape;
  if (const auto result = ReadShape(diskNumber, shape); result != ResultOk) return result;
  // A drive without a medium has no sectors to lay out.
  if (shape.lengthBytes == 0) return ResultFromErrno(ENOMEDIUM);
  geometry = GeometryFromLength(shape.lengthBytes, shape.bytesPerSector, shape.tracksPerCylinder,
                                shape.sectorsPerTrack);
  return ResultOk;
}

ResultCode LinuxDiskSource::QueryLength(std::int32_t diskNumber, std::uint64_t& lengthBytes) {
  Shape shape;
  if (const auto result = ReadShape(diskNumber, shape); result != ResultOk) return result;
  lengthBytes = shape.lengthBytes;
  return ResultOk;
}

bool LinuxDiskSource::IsRemovable(std::int32_t diskNumber) {
  const auto name = PresentName(diskNumber);
  if (!name) return false;
  const auto entry = paths_.sysBlock / *name;
  if (ReadSysNumber(entry / "removable").value_or(0) == 1) return true;
  // A disk on a USB bus: its device path in sysfs runs through a USB controller.
  std::error_code error;
  const auto device = fs::canonical(entry, error).string();
  return !error && device.find("/usb") != std::string::npos;
}

ResultCode LinuxDiskSource::OpenForReading(std::int32_t diskNumber,
                                           std::unique_ptr<DiskReader>& reader) {
  reader.reset();
  const auto name = PresentName(diskNumber);
  if (!name) return ResultFileNotFound;
  // Read-only: nothing done through this descriptor can change the disk.
  FileDescriptor fd(::open((paths_.dev / *name).c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return ResultFromErrno(errno);
  // Make sure the node really is the disk sysfs describes, not a stale node of another one.
  struct stat status {};
  const auto expected = ReadSysDevice(paths_.sysBlock / *name / "dev");
  if (::fstat(fd.get(), &status) != 0) return ResultFromErrno(errno);
  if (!S_ISBLK(status.st_mode) || (expected && status.st_rdev != *expected)) {
    return ResultFromErrno(ENODEV);
  }
  ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
  reader = std::make_unique<DeviceReader>(std::move(fd));
  return ResultOk;
}

bool LinuxDiskSource::WritesToDisk(std::int32_t diskNumber, const fs::path& path) {
  const auto name = PresentName(diskNumber);
  struct stat target {};
  if (!name || ::stat(path.c_str(), &target) != 0) return false;
  const auto entry = paths_.sysBlock / *name;
  if (S_ISBLK(target.st_mode)) {
    if (ReadSysDevice(entry / "dev") == target.st_rdev) return true;
    std::error_code error;
    const auto children = FolderEntries(entry, error);
    return std::any_of(children.begin(), children.end(), [&](const fs::path& child) {
      return fs::exists(child / "partition", error) &&
             ReadSysDevice(child / "dev") == target.st_rdev;
    });
  }
  // A loop disk reads its sectors from a file: writing into that file writes onto the disk.
  const auto backing = ReadSysText(entry / "loop" / "backing_file");
  struct stat file {};
  return backing && ::stat(backing->c_str(), &file) == 0 && file.st_dev == target.st_dev &&
         file.st_ino == target.st_ino;
}

DiskSource& SystemDiskSource() {
  static LinuxDiskSource source;
  return source;
}

}  // namespace forge
