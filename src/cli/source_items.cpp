#include "cli/source_items.h"

#include <sys/stat.h>

#include <cerrno>
#include <set>

#include "app/result_codes.h"

namespace forge::cli {
namespace {

// The item's name at the image root, as the engine derives it; empty when a path ending in
// "/" puts a folder's contents at the root.
std::string RootName(const std::string& path) {
  return path.substr(path.rfind('/') + 1);
}

}  // namespace

const std::vector<FileSystemName>& FileSystemNames() {
  static const std::vector<FileSystemName> kNames = {
      {"joliet", FileSystemChoice::IsoJoliet, "ISO 9660 + Joliet"},
      {"iso9660", FileSystemChoice::Iso9660, "ISO 9660"},
      {"udf", FileSystemChoice::Udf, "UDF"},
  };
  return kNames;
}

const FileSystemName* FindFileSystem(std::string_view name) {
  for (const auto& fs : FileSystemNames()) {
    if (name == fs.name) return &fs;
  }
  return nullptr;
}

bool AddPathsToImage(const std::vector<std::filesystem::path>& paths, DiscImageEngine& engine,
                     std::uint64_t& total, std::string& error) {
  std::vector<SourceItem> items;
  std::set<std::string> rootNames;
  for (const auto& given : paths) {
    SourceItem item;
    item.fullPath = std::filesystem::absolute(given).lexically_normal().string();
    struct stat status{};
    if (::stat(item.fullPath.c_str(), &status) != 0) {
      error = given.string() + ": " + DescribeResult(ResultFromErrno(errno));
      return false;
    }
    item.isFolder = S_ISDIR(status.st_mode);
    if (!item.isFolder && !S_ISREG(status.st_mode)) {
      error = given.string() + ": not a file or folder";
      return false;
    }
    item.size = item.isFolder ? 0 : static_cast<std::uint64_t>(status.st_size);
    const std::string name = RootName(item.fullPath);
    if (!name.empty() && !rootNames.insert(name).second) {
      error = "two items would be named '" + name + "' in the image";
      return false;
    }
    items.push_back(std::move(item));
  }
  if (engine.Image() == nullptr) {
    error = DescribeResult(ResultServiceUnavailable);
    return false;
  }
  total = 0;
  for (auto& item : items) {
    if (const ResultCode code = engine.AddItemToImage(item, nullptr); code != ResultOk) {
      error = "cannot add " + item.fullPath + ": " + DescribeResult(code);
      return false;
    }
    total += item.size;
  }
  return true;
}

std::string DescribeImageFailure(DiscImageEngine& engine, ResultCode code,
                                 const std::string& action) {
  const std::filesystem::path culprit =
      engine.Image() ? engine.Image()->LastFailedSource() : std::filesystem::path();
  return (culprit.empty() ? action : culprit.string()) + ": " + DescribeResult(code);
}

}  // namespace forge::cli
