// image-forge-cli extract IMAGE -o DEST [PATH...]
#include <cstdio>

#include "cli/commands.h"
#include "cli/extraction_commands.h"
#include "cli/image_paths.h"
#include "extraction/archiver_bridge.h"

namespace forge::cli {
namespace {

int Usage() {
  std::fprintf(stderr, "Usage: image-forge-cli extract IMAGE -o DEST [--] [PATH...]\n");
  return kExitUsage;
}

}  // namespace

int RunExtractCommand(const std::vector<std::string>& args) {
  std::string image, destination;
  std::vector<std::string> paths;
  bool options = true;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options && arg == "--") {
      options = false;
    } else if (options && arg == "-o") {
      if (++i == args.size() || !destination.empty()) return Usage();
      destination = args[i];
    } else if (options && arg.size() > 1 && arg.starts_with('-')) {
      return Usage();
    } else if (image.empty()) {
      image = arg;
    } else {
      paths.push_back(PathInImage(arg));
    }
  }
  if (image.empty() || destination.empty()) return Usage();

  ListingBuffer buffer;
  const ResultCode result = paths.empty() ? ExtractOne(destination, buffer, image, {})
                                          : ExtractSelection(buffer, image, destination, paths);
  if (result != ResultOk) {
    std::fprintf(stderr, "image-forge-cli extract: cannot extract %s: %s\n", image.c_str(),
                 DescribeResult(result).c_str());
    return kExitFailed;
  }
  std::printf("Extracted %s into %s\n", image.c_str(), destination.c_str());
  return kExitOk;
}

}  // namespace forge::cli
