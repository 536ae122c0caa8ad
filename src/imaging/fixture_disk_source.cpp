#include "imaging/fixture_disk_source.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>

#include "platform/file_descriptor.h"

namespace forge {
namespace {

class FixtureReader final : public DiskReader {
 public:
  FixtureReader(FileDescriptor fd, std::optional<std::uint64_t> failReadAt)
      : fd_(std::move(fd)), failReadAt_(failReadAt) {}

  ResultCode ReadAt(std::uint64_t offset, std::span<std::byte> buffer, std::size_t& got) override {
    got = 0;
    if (failReadAt_ && offset >= *failReadAt_) return ResultFromErrno(EIO);
    auto size = buffer.size();
    if (failReadAt_ && offset + size > *failReadAt_) size = *failReadAt_ - offset;
    const ssize_t read = ::pread(fd_.get(), buffer.data(), size, static_cast<off_t>(offset));
    if (read < 0) return ResultFromErrno(errno);
    got = static_cast<std::size_t>(read);
    return ResultOk;
  }

 private:
  FileDescriptor fd_;
  std::optional<std::uint64_t> failReadAt_;
};

}  // namespace

FixtureDiskSource::FixtureDiskSource(std::vector<FixtureDisk> disks) { SetDisks(std::move(disks)); }

void FixtureDiskSource::SetDisks(std::vector<FixtureDisk> disks) {
  std::vector<std::string> names;
  for (auto& disk : disks) {
    names.push_back(disk.name);
    for (auto& volume : disk.volumes) {
      if (volume.devicePath.empty()) {
        volume.devicePath = "/dev/" + disk.name + std::to_string(volume.partitionNumber);
      }
    }
  }
  auto numbers = numbering_.Assign(names);
  std::lock_guard lock(mutex_);
  disks_ = std::move(disks);
  numbers_ = std::move(numbers);
}

std::optional<FixtureDisk> FixtureDiskSource::Find(std::int32_t diskNumber) const {
  std::lock_guard lock(mutex_);
  for (std::size_t i = 0; i < disks_.size(); ++i) {
    if (numbers_[i] == diskNumber) return disks_[i];
  }
  return std::nullopt;
}

ResultCode FixtureDiskSource::ListDisks(std::vector<DiskEntry>& disks) {
  std::lock_guard lock(mutex_);
  disks.clear();
  for (std::size_t i = 0; i < disks_.size(); ++i) {
    disks.push_back({numbers_[i], disks_[i].name, "/dev/" + disks_[i].name, disks_[i].volumes});
  }
  std::sort(disks.begin(), disks.end(),
            [](const DiskEntry& a, const DiskEntry& b) { return a.number < b.number; });
  return ResultOk;
}

ResultCode FixtureDiskSource::QueryLength(std::int32_t diskNumber, std::uint64_t& lengthBytes) {
  const auto disk = Find(diskNumber);
  if (!disk) return ResultFileNotFound;
  if (disk->lengthFails) return ResultFromErrno(ENOTTY);
  std::error_code error;
  lengthBytes = std::filesystem::file_size(disk->image, error);
  return error ? ResultFromErrno(error.value()) : ResultOk;
}

ResultCode FixtureDiskSource::QueryGeometry(std::int32_t diskNumber, DiskGeometry& geometry) {
  const auto disk = Find(diskNumber);
  if (!disk) return ResultFileNotFound;
  if (disk->geometryFails) return ResultFromErrno(ENOTTY);
  std::error_code error;
  const auto length = std::filesystem::file_size(disk->image, error);
  if (error) return ResultFromErrno(error.value());
  geometry = GeometryFromLength(length, disk->bytesPerSector, disk->tracksPerCylinder,
                                disk->sectorsPerTrack);
  return ResultOk;
}

bool FixtureDiskSource::IsRemovable(std::int32_t diskNumber) {
  const auto disk = Find(diskNumber);
  return disk && disk->removable;
}

ResultCode FixtureDiskSource::OpenForReading(std::int32_t diskNumber,
                                             std::unique_ptr<DiskReader>& reader) {
  reader.reset();
  const auto disk = Find(diskNumber);
  if (!disk) return ResultFileNotFound;
  FileDescriptor fd(::open(disk->image.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return ResultFromErrno(errno);
  reader = std::make_unique<FixtureReader>(std::move(fd), disk->failReadAt);
  return ResultOk;
}

bool FixtureDiskSource::WritesToDisk(std::int32_t diskNumber, const std::filesystem::path& path) {
  const auto disk = Find(diskNumber);
  std::error_code error;
  return disk && std::filesystem::equivalent(path, disk->image, error) && !error;
}

}  // namespace forge
