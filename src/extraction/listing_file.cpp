#include "extraction/listing_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "app/paths.h"

namespace forge {

std::filesystem::path ListingFilePath() {
  const auto folder = GetProgramDataFolder();
  if (folder.empty()) return {};
  return folder / "extractiso.tmp";
}

FileDescriptor CreateListingFile(const std::filesystem::path& path, int& error) {
  // Removing the old file and creating a new one exclusively means a reader that still holds the
  // old one keeps its contents, and two runs never share a file.
  for (int attempt = 0; attempt < 8; ++attempt) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
      error = errno;
      return {};
    }
    FileDescriptor fd(::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (fd.valid()) return fd;
    error = errno;
    if (error != EEXIST) return {};
  }
  return {};
}

bool WriteExactly(int fd, std::span<const char> bytes, int& error) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      error = written < 0 ? errno : EIO;
      return false;
    }
    bytes = bytes.subspan(static_cast<std::size_t>(written));
  }
  return true;
}

bool ReadLines(int fd, std::span<char> block, const std::function<bool(std::string_view)>& onLine,
               int& error) {
  std::string carried;  // the start of a line that continues in the next block
  off_t offset = 0;
  for (;;) {
    const ssize_t got = ::pread(fd, block.data(), block.size(), offset);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error = errno;
      return false;
    }
    if (got == 0) break;
    offset += got;
    std::string_view rest(block.data(), static_cast<std::size_t>(got));
    for (auto end = rest.find('\n'); end != std::string_view::npos; end = rest.find('\n')) {
      bool more;
      if (carried.empty()) {
        more = onLine(rest.substr(0, end));
      } else {
        carried.append(rest.substr(0, end));
        more = onLine(carried);
        carried.clear();
      }
      if (!more) return true;
      rest.remove_prefix(end + 1);
    }
    carried.append(rest);
  }
  if (!carried.empty()) onLine(carried);
  return true;
}

}  // namespace forge
