#include "authoring/long_path.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string_view>

#include "platform/file_descriptor.h"

namespace forge {
namespace {

// The folder that holds the last component of `path` (reached one component at a time), and
// that last component. An invalid descriptor with errno set on failure.
FileDescriptor OpenParentFolder(const std::string& path, std::string& leaf) {
  std::string_view rest = path;
  FileDescriptor folder(::open(rest.starts_with('/') ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
  while (!rest.empty() && rest.front() == '/') rest.remove_prefix(1);
  while (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
  for (auto slash = rest.find('/'); folder.valid() && slash != std::string_view::npos;
       slash = rest.find('/')) {
    const std::string component(rest.substr(0, slash));
    rest.remove_prefix(slash);
    while (!rest.empty() && rest.front() == '/') rest.remove_prefix(1);
    if (component.empty()) continue;
    folder = FileDescriptor(::openat(folder.get(), component.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  }
  leaf.assign(rest.empty() ? "." : rest);
  return folder;
}

bool FitsTheSystem(const std::string& path) { return path.size() < PATH_MAX; }

}  // namespace

int OpenLongPath(const std::string& path, int flags, mode_t mode) {
  if (FitsTheSystem(path)) return ::open(path.c_str(), flags | O_CLOEXEC, mode);
  std::string leaf;
  const FileDescriptor folder = OpenParentFolder(path, leaf);
  if (!folder.valid()) return -1;
  return ::openat(folder.get(), leaf.c_str(), flags | O_CLOEXEC, mode);
}

int StatLongPath(const std::string& path, struct stat& info) {
  if (FitsTheSystem(path)) return ::stat(path.c_str(), &info);
  std::string leaf;
  const FileDescriptor folder = OpenParentFolder(path, leaf);
  if (!folder.valid()) return -1;
  return ::fstatat(folder.get(), leaf.c_str(), &info, 0);
}

}  // namespace forge
