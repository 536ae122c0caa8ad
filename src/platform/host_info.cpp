#include "platform/host_info.h"

#include <limits.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace forge {

std::string GetComputerName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

namespace {

struct Account {
  std::string name;
  std::string home;
};

Account EffectiveAccount() {
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
      found == nullptr) {
    return {};
  }
  return {found->pw_name ? found->pw_name : "", found->pw_dir ? found->pw_dir : ""};
}

}  // namespace

std::string GetUserName() { return EffectiveAccount().name; }

std::string GetHomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') return home;
  return EffectiveAccount().home;
}

}  // namespace forge
