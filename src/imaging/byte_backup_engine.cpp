#include "imaging/byte_backup_engine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <limits>

namespace forge {
namespace {

std::int64_t SteadyMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::int32_t Percent(std::uint64_t done, std::uint64_t total) {
  if (done <= std::numeric_limits<std::uint64_t>::max() / 100) {
    return static_cast<std::int32_t>(done * 100 / total);
  }
  return static_cast<std::int32_t>(done / (total / 100));
}

}  // namespace

ByteBackupEngine::ByteBackupEngine(DiskSource& source, MillisecondClock clock)
    : source_(source), clock_(clock ? std::move(clock) : MillisecondClock(SteadyMilliseconds)) {}

ResultCode ByteBackupEngine::Run(std::int32_t diskNumber, std::int64_t startSector,
                                 std::int64_t sectorCount, const std::filesystem::path& imagePath,
                                 BackupProgressSink* sink) {
  ResultCode result = Open(diskNumber, startSector, sectorCount, imagePath, sink);
  if (result == ResultOk) result = Copy();
  Close(result);
  buffer_ = {};
  return result;
}

ResultCode ByteBackupEngine::Open(std::int32_t diskNumber, std::int64_t startSector,
                                  std::int64_t sectorCount, const std::filesystem::path& imagePath,
                                  BackupProgressSink* sink) {
  sink_ = sink;
  sectorSize_ = 512;
  imageWritten_ = 0;

  if (const auto result = source_.OpenForReading(diskNumber, device_); result != ResultOk) {
    return result;
  }
  DiskGeometry geometry;
  if (const auto result = source_.QueryGeometry(diskNumber, geometry); result != ResultOk) {
    return result;
  }
  sectorSize_ = static_cast<std::int32_t>(geometry.bytesPerSector);
  const auto sectorBytes = static_cast<std::uint64_t>(sectorSize_);

  if (startSector < 0 || sectorCount < 0) return ResultInvalidParameter;
  startSector_ = static_cast<std::uint64_t>(startSector);
  sectorCount_ = static_cast<std::uint64_t>(sectorCount);
  if (sectorCount_ == 0) {
    std::uint64_t lengthBytes = 0;
    if (source_.QueryLength(diskNumber, lengthBytes) == ResultOk) {
      sectorCount_ = lengthBytes / sectorBytes;
    }
    if (sectorCount_ == 0) sectorCount_ = geometry.cylinders * geometry.SectorsPerCylinder();
  }
  // The range must be addressable in bytes.
  constexpr auto kMaxOffset = static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());
  if (startSector_ > kMaxOffset / sectorBytes || sectorCount_ > kMaxOffset / sectorBytes ||
      (startSector_ + sectorCount_) > kMaxOffset / sectorBytes) {
    return ResultInvalidParameter;
  }
  readOffset_ = startSector_ * sectorBytes;

  // Writing the image onto the disk being read would destroy what is being saved.
  if (source_.WritesToDisk(diskNumber, imagePath)) return ResultInvalidParameter;
  // The image holds every byte of the range, other users' files included: only its owner may
  // read it.
  image_.reset(::open(imagePath.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
  if (!image_.valid()) return ResultFromErrno(errno);
  return ResultOk;
}

ResultCode ByteBackupEngine::Copy() {
  const auto sectorBytes = static_cast<std::uint64_t>(sectorSize_);
  const std::uint64_t total = sectorCount_ * sectorBytes;
  if (total == 0) return ResultOk;
  // Whole sectors per chunk, at least one.
  std::uint64_t chunk = std::max<std::uint64_t>(1, kChunkBytes / sectorBytes) * sectorBytes;
  buffer_.resize(chunk);

  const std::int64_t startTick = clock_();
  std::int64_t estimateTick = startTick;
  std::int32_t secondsLeft = -1;
  std::uint64_t done = 0;
  std::uint64_t remaining = total;
  while (remaining != 0) {
    chunk = std::min(chunk, remaining);
    std::uint64_t sectorsRead = 0;
    if (const auto result = ReadSectors(chunk / sectorBytes, sectorsRead); result != ResultOk) {
      return result;
    }
    std::uint64_t sectorsWritten = 0;
    if (const auto result = WriteSectors(sectorsRead, sectorsWritten); result != ResultOk) {
      return result;
    }
    const std::uint64_t copied = sectorsRead * sectorBytes;
    remaining -= copied;
    done += copied;

    const std::int64_t now = clock_();
    if (now - estimateTick >= kEstimateIntervalMs) {
      const auto elapsedSeconds = static_cast<std::uint64_t>((now - startTick) / 1000);
      std::uint64_t speed = elapsedSeconds > 0 ? done / elapsedSeconds : done;
      if (speed == 0) speed = 1;
      secondsLeft = static_cast<std::int32_t>(std::min<std::uint64_t>(
          (total - done) / speed, std::numeric_limits<std::int32_t>::max()));
      estimateTick = now;
    }
    if (sink_ != nullptr) {
      const auto answer = sink_->OnProgress(Percent(done, total), done / sectorBytes,
                                            total / sectorBytes, secondsLeft);
      if (answer != ResultOk) return answer;
    }
  }
  return ResultOk;
}

ResultCode ByteBackupEngine::ReadSectors(std::uint64_t count, std::uint64_t& sectorsRead) {
  const auto sectorBytes = static_cast<std::uint64_t>(sectorSize_);
  const std::uint64_t wanted = count * sectorBytes;
  std::uint64_t got = 0;
  ResultCode result = ResultOk;
  while (got < wanted) {
    std::size_t piece = 0;
    const auto target = std::span(buffer_).subspan(got, wanted - got);
    if (device_->ReadAt(readOffset_ + got, target, piece) != ResultOk || piece == 0) {
      result = ResultReadFault;
      break;
    }
    got += piece;
  }
  readOffset_ += got;
  sectorsRead = got / sectorBytes;
  return result;
}

ResultCode ByteBackupEngine::WriteSectors(std::uint64_t count, std::uint64_t& sectorsWritten) {
  const auto sectorBytes = static_cast<std::uint64_t>(sectorSize_);
  const std::uint64_t wanted = count * sectorBytes;
  std::uint64_t put = 0;
  ResultCode result = ResultOk;
  while (put < wanted) {
    const ssize_t written = ::write(image_.get(), buffer_.data() + put, wanted - put);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      result = written < 0 ? ResultFromErrno(errno) : ResultWriteFault;
      break;
    }
    put += static_cast<std::uint64_t>(written);
    imageWritten_ += static_cast<std::uint64_t>(written);
  }
  sectorsWritten = put / sectorBytes;
  return result;
}

void ByteBackupEngine::Close(ResultCode& result) {
  device_.reset();
  if (!image_.valid()) return;
  // An older, longer file at the same path would otherwise keep its tail after the copy.
  struct stat status {};
  if (::fstat(image_.get(), &status) == 0 && S_ISREG(status.st_mode) &&
      static_cast<std::uint64_t>(status.st_size) > imageWritten_ &&
      ::ftruncate(image_.get(), static_cast<off_t>(imageWritten_)) != 0 && result == ResultOk) {
    result = ResultFromErrno(errno);
  }
  // A file system may report a failed write only when the file is closed.
  if (::close(image_.release()) != 0 && result == ResultOk) result = ResultFromErrno(errno);
}

}  // namespace forge
