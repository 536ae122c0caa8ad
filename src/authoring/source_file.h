// The source files of an image: examined when an image is laid out, read when it is produced.
// A file is held by its path; a descriptor is open only while its data is being read.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>

#include "app/result_codes.h"
#include "authoring/file_system_image.h"

namespace forge {

// What the layout needs to know of a source file.
struct SourceInfo {
  std::uint64_t size = 0;
  timespec modified{};
  bool executable = false;  // the owner may execute it
  FileIdentity identity;
};

// Examines the file at `path` (following symbolic links). Fails with the errno's code when it
// cannot be reached, and with ResultAccessDenied when it is not a regular file.
ResultCode ExamineSource(const std::string& path, SourceInfo& info);

// Reads one source file from its start to its end and makes sure it is still the file that
// was laid out: a regular file of the expected size, which neither shrinks nor grows while it
// is read. One thread at a time.
class SourceReader {
 public:
  SourceReader() = default;
  ~SourceReader();
  SourceReader(const SourceReader&) = delete;
  SourceReader& operator=(const SourceReader&) = delete;

  // Opens the file. ResultFileChanged when its size is no longer `expectedSize`.
  ResultCode Open(const std::string& path, std::uint64_t expectedSize);

  // Reads the next `buffer.size()` bytes, which must not run past the expected size. When the
  // last byte has been read, also checks that the file has not grown. Read errors give the
  // errno's code (EIO gives ResultReadFault); a file that ends early gives ResultFileChanged.
  ResultCode Read(std::span<std::byte> buffer);

  std::uint64_t Remaining() const { return expected_ - done_; }
  bool IsOpen() const { return fd_ >= 0; }
  void Close();

 private:
  int fd_ = -1;
  std::uint64_t expected_ = 0;
  std::uint64_t done_ = 0;
};

}  // namespace forge
