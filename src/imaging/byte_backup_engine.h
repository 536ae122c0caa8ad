// Copies a disk, or a range of its sectors, byte for byte into an image file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "app/result_codes.h"
#include "imaging/disk_source.h"
#include "platform/file_descriptor.h"

namespace forge {

// Told about the copy after every piece, on the copying thread.
class BackupProgressSink {
 public:
  // `secondsLeft` is -1 while there is no estimate yet. Answer 0 to go on; any other value
  // (normally CancelCode) stops the copy and becomes its result.
  virtual ResultCode OnProgress(std::int32_t percent, std::uint64_t sectorsDone,
                                std::uint64_t sectorsTotal, std::int32_t secondsLeft) = 0;

 protected:
  ~BackupProgressSink() = default;
};

// One engine per copy, used by one thread. The disk is opened read-only; the image file is
// created or overwritten from its start, and whatever was copied stays in it whatever the
// result.
class ByteBackupEngine {
 public:
  // Milliseconds from a steady clock; tests pass their own.
  using MillisecondClock = std::function<std::int64_t()>;

  static constexpr std::size_t kChunkBytes = 65536;
  static constexpr std::int64_t kEstimateIntervalMs = 5000;

  // `source` must outlive the engine.
  explicit ByteBackupEngine(DiskSource& source = SystemDiskSource(), MillisecondClock clock = {});

  // Copies `sectorCount` sectors from `startSector` of disk `diskNumber` into `imagePath`; both
  // 0 copy the whole disk. `sink` may be null. Returns 0 when every sector was copied, the code
  // of a failed open or write, ResultReadFault when a read failed (the chunk it was in is not
  // written), ResultInvalidParameter for a negative range or an image path that is the disk
  // itself, or the sink's non-zero answer.
  ResultCode Run(std::int32_t diskNumber, std::int64_t startSector, std::int64_t sectorCount,
                 const std::filesystem::path& imagePath, BackupProgressSink* sink);

  // Bytes per sector of the disk; 512 until Run has read its geometry.
  std::int32_t sectorSize() const { return sectorSize_; }

 private:
  ResultCode Open(std::int32_t diskNumber, std::int64_t startSector, std::int64_t sectorCount,
                  const std::filesystem::path& imagePath, BackupProgressSink* sink);
  ResultCode Copy();
  // Reads `count` sectors at the read position into the buffer; `sectorsRead` is how many
  // arrived.
  ResultCode ReadSectors(std::uint64_t count, std::uint64_t& sectorsRead);
  // Writes `count` sectors of the buffer at the end of the image; `sectorsWritten` is how many
  // went out.
  ResultCode WriteSectors(std::uint64_t count, std::uint64_t& sectorsWritten);
  // Closes both sides and cuts an existing longer image file to what this copy wrote. A failure
  // to do so becomes the result of a copy that had succeeded.
  void Close(ResultCode& result);

  DiskSource& source_;
  MillisecondClock clock_;
  std::int32_t sectorSize_ = 512;
  std::uint64_t startSector_ = 0;
  std::uint64_t sectorCount_ = 0;
  std::unique_ptr<DiskReader> device_;
  FileDescriptor image_;
  BackupProgressSink* sink_ = nullptr;
  std::vector<std::byte> buffer_;
  std::uint64_t readOffset_ = 0;    // next byte of the disk to read
  std::uint64_t imageWritten_ = 0;  // bytes written into the image, partial writes included
};

}  // namespace forge
