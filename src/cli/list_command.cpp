// image-forge-cli list IMAGE [FOLDER]
#include <cstdio>

#include "cli/commands.h"
#include "cli/extraction_commands.h"
#include "cli/image_paths.h"
#include "extraction/archiver_bridge.h"

namespace forge::cli {

int RunListCommand(const std::vector<std::string>& given) {
  // "--" lets an image name begin with "-".
  const bool operandsOnly = !given.empty() && given[0] == "--";
  const std::vector<std::string> args(given.begin() + (operandsOnly ? 1 : 0), given.end());
  if (args.empty() || args.size() > 2 || (!operandsOnly && args[0].starts_with('-'))) {
    std::fprintf(stderr, "Usage: image-forge-cli list [--] IMAGE [FOLDER]\n");
    return kExitUsage;
  }
  const std::string& image = args[0];
  const std::string prefix = FolderPrefixInImage(args.size() > 1 ? args[1] : std::string());

  ListingBuffer buffer;
  std::vector<ArchiveEntry> entries;
  const ResultCode result = ListFolder(entries, buffer, image, prefix);
  for (const auto& entry : entries) {
    std::printf("%-6s %14lld  %s  %s\n", entry.isFolder ? "Folder" : "File",
                static_cast<long long>(entry.size), entry.modified.c_str(), entry.name.c_str());
  }
  if (result != ResultOk) {
    std::fprintf(stderr, "image-forge-cli list: cannot list %s: %s\n", image.c_str(),
                 DescribeResult(result).c_str());
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace forge::cli
