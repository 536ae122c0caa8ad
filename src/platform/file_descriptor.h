// Ownership of one POSIX file descriptor.
#pragma once

#include <unistd.h>

#include <utility>

namespace forge {

// Owns a file descriptor and closes it when destroyed, unless it was released. Movable, not
// copyable; one owner uses it at a time.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~FileDescriptor() { reset(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int release() { return std::exchange(fd_, -1); }
  // Closes the current descriptor and takes `fd` instead.
  void reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  // For calls that hand back a descriptor through a pointer; the current one must be empty.
  int* out() { return &fd_; }

 private:
  int fd_ = -1;
};

}  // namespace forge
