#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace forge {
namespace {

constexpr const char* kLockName = "norvessa-image-forge.lock";
constexpr const char* kSocketName = "norvessa-image-forge.socket";

// A folder that only the effective user may enter: owned by the user, no symbolic link, no
// access for group and others.
bool IsPrivateFolder(const std::filesystem::path& folder) {
  struct stat status {};
  return ::lstat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
         status.st_uid == ::geteuid() && (status.st_mode & 077) == 0;
}

std::optional<sockaddr_un> SocketAddress(const std::filesystem::path& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string text = path.string();
  if (text.empty() || text.size() >= sizeof address.sun_path) return std::nullopt;
  std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
  return address;
}

}  // namespace

std::filesystem::path GetInstanceFolder() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && runtime[0] == '/') {
    return runtime;
  }
  const std::filesystem::path folder =
      "/tmp/norvessa-image-forge-" + std::to_string(::geteuid());
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
  return IsPrivateFolder(folder) ? folder : std::filesystem::path();
}

SingleInstance::SingleInstance(std::filesystem::path folder) : folder_(std::move(folder)) {}

SingleInstance::~SingleInstance() {
  // Only the holder of the lock listens, so the file removed here is ours.
  if (listener_.valid()) ::unlink(SocketPath().c_str());
}

std::filesystem::path SingleInstance::LockPath() const { return folder_ / kLockName; }
std::filesystem::path SingleInstance::SocketPath() const { return folder_ / kSocketName; }

bool SingleInstance::Acquire() {
  if (lock_.valid()) return true;
  if (folder_.empty()) return true;
  FileDescriptor file(
      ::open(LockPath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (!file.valid()) return true;
  if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0) return errno != EWOULDBLOCK;
  lock_ = std::move(file);
  return true;
}

bool SingleInstance::AskFirstToShow() const {
  const auto address = SocketAddress(SocketPath());
  if (!address) return false;
  FileDescriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!socket.valid()) return false;
  int result;
  do {
    result = ::connect(socket.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

int SingleInstance::Listen() {
  if (listener_.valid()) return listener_.get();
  if (!lock_.valid()) return -1;
  const auto address = SocketAddress(SocketPath());
  if (!address) return -1;
  FileDescriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (!socket.valid()) return -1;
  // A socket file left by an earlier process that ended without removing it; the lock says
  // that process is gone.
  ::unlink(address->sun_path);
  if (::bind(socket.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0 ||
      ::listen(socket.get(), 8) != 0) {
    return -1;
  }
  listener_ = std::move(socket);
  return listener_.get();
}

int SingleInstance::TakeShowRequests() {
  if (!listener_.valid()) return 0;
  int count = 0;
  for (;;) {
    FileDescriptor connection(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (connection.valid()) {
      ++count;
      continue;
    }
    if (errno == EINTR || errno == ECONNABORTED) continue;
    return count;
  }
}

}  // namespace forge
