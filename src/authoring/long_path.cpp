#include "authoring/long_path.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string_view>

namespace forge {
namespace {

// Descriptor of the folder that holds the last component of `path` (walked one component at a
// time), and that last component. Returns -1 with errno set on failure.
int OpenParentFolder(const std::string& path, std::string& leaf) {
  std::string_view rest = path;
  int folder = ::open(rest.starts_with('/') ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return -1;
  while (!rest.empty() && rest.front() == '/') rest.remove_prefix(1);
  while (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
  for (;;) {
    const auto slash = rest.find('/');
    if (slash == std::string_view::npos) break;
    const std::string component(rest.substr(0, slash));
    rest.remove_prefix(slash);
    while (!rest.empty() && rest.front() == '/') rest.remove_prefix(1);
    if (component.empty()) continue;
    const int next = ::openat(folder, component.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    const int error = errno;
    ::close(folder);
    if (next < 0) {
      errno = error;
      return -1;
    }
    folder = next;
  }
  leaf.assign(rest.empty() ? "." : rest);
  return folder;
}

bool FitsTheSystem(const std::string& path) { return path.size() < PATH_MAX; }

}  // namespace

int OpenLongPath(const std::string& path, int flags, mode_t mode) {
  if (FitsTheSystem(path)) return ::open(path.c_str(), flags | O_CLOEXEC, mode);
  std::string leaf;
  const int folder = OpenParentFolder(path, leaf);
  if (folder < 0) return -1;
  const int fd = ::openat(folder, leaf.c_str(), flags | O_CLOEXEC, mode);
  const int error = errno;
  ::close(folder);
  errno = error;
  return fd;
}

int StatLongPath(const std::string& path, struct stat& info) {
  if (FitsTheSystem(path)) return ::stat(path.c_str(), &info);
  std::string leaf;
  const int folder = OpenParentFolder(path, leaf);
  if (folder < 0) return -1;
  const int result = ::fstatat(folder, leaf.c_str(), &info, 0);
  const int error = errno;
  ::close(folder);
  errno = error;
  return result;
}

}  // namespace forge
