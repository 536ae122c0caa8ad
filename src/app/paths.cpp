#include "app/paths.h"

#include "platform/host_info.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>

namespace forge {
namespace {

constexpr std::string_view kSeparators = "/\\";

struct ModuleFolderCache {
  std::mutex lock;
  std::filesystem::path folder;
};

ModuleFolderCache& Cache() {
  static ModuleFolderCache cache;
  return cache;
}

std::filesystem::path ReadModuleFolder() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return std::filesystem::path(GetFolderOfPath(exe.string()));
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::filesystem::path GetModuleFolder() {
  auto& cache = Cache();
  std::lock_guard guard(cache.lock);
  if (cache.folder.empty()) cache.folder = ReadModuleFolder();
  return cache.folder;
}

void OverrideModuleFolder(const std::filesystem::path& folder) {
  auto& cache = Cache();
  std::lock_guard guard(cache.lock);
  cache.folder = folder;
  if (!cache.folder.empty() && cache.folder.has_filename()) cache.folder += "/";
}

std::filesystem::path GetAppDataFolder() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && data[0] == '/') {
    std::string folder = data;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
  }
  const std::filesystem::path home = GetHomeFolder();
  if (home.empty()) return {};
  return home / ".local" / "share";
}

std::filesystem::path GetProgramDataFolder() {
  const auto appData = GetAppDataFolder();
  if (appData.empty()) return {};
  return appData / "Norvessa Image Forge" / "";
}

bool CreateFolderPath(std::string_view path) {
  if (path.empty()) return false;
  std::string copy(path);
  for (char& c : copy) {
    if (c == '\\') c = '/';
  }
  for (std::size_t at = copy.find('/', 1); at != std::string::npos; at = copy.find('/', at + 1)) {
    const std::string prefix = copy.substr(0, at);
    if (prefix.empty() || prefix.back() == '/' || IsFolder(prefix)) continue;
    if (::mkdir(prefix.c_str(), 0777) != 0 && !(errno == EEXIST && IsFolder(prefix))) return false;
  }
  return true;
}

std::string GetFolderOfPath(std::string_view path) {
  const auto at = path.find_last_of(kSeparators);
  if (at == std::string_view::npos) return std::string(path);
  return std::string(path.substr(0, at + 1));
}

std::string GetFileTitleOfPath(std::string_view path) {
  const auto slash = path.find_last_of(kSeparators);
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const auto dot = name.rfind('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  return std::string(name);
}

}  // namespace forge
