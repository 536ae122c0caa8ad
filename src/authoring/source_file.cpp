#include "authoring/source_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "authoring/long_path.h"

namespace forge {

ResultCode ExamineSource(const std::string& path, SourceInfo& info) {
  struct stat status{};
  if (StatLongPath(path, status) != 0) return ResultFromErrno(errno);
  if (!S_ISREG(status.st_mode)) return ResultAccessDenied;
  info.size = static_cast<std::uint64_t>(status.st_size);
  info.modified = status.st_mtim;
  info.executable = (status.st_mode & S_IXUSR) != 0;
  info.identity = {status.st_dev, status.st_ino};
  return ResultOk;
}

SourceReader::~SourceReader() { Close(); }

void SourceReader::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

ResultCode SourceReader::Open(const std::string& path, std::uint64_t expectedSize) {
  Close();
  expected_ = expectedSize;
  done_ = 0;
  // Non-blocking, so that a file replaced by a pipe cannot stall the image; regular files are
  // not affected by the flag.
  fd_ = OpenLongPath(path, O_RDONLY | O_NOCTTY | O_NONBLOCK);
  if (fd_ < 0) return ResultFromErrno(errno);
  struct stat status{};
  if (::fstat(fd_, &status) != 0) {
    const ResultCode code = ResultFromErrno(errno);
    Close();
    return code;
  }
  if (!S_ISREG(status.st_mode)) {
    Close();
    return ResultAccessDenied;
  }
  if (static_cast<std::uint64_t>(status.st_size) != expected_) {
    Close();
    return ResultFileChanged;
  }
  ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
  return ResultOk;
}

ResultCode SourceReader::Read(std::span<std::byte> buffer) {
  if (fd_ < 0 || buffer.size() > Remaining()) return ResultInvalidParameter;
  std::size_t filled = 0;
  while (filled < buffer.size()) {
    const ssize_t got = ::read(fd_, buffer.data() + filled, buffer.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      return ResultFromErrno(errno);
    }
    if (got == 0) return ResultFileChanged;  // shrank since it was laid out
    filled += static_cast<std::size_t>(got);
  }
  done_ += filled;
  if (done_ == expected_) {
    struct stat status{};
    if (::fstat(fd_, &status) != 0) return ResultFromErrno(errno);
    if (static_cast<std::uint64_t>(status.st_size) != expected_) return ResultFileChanged;
  }
  return ResultOk;
}

}  // namespace forge
