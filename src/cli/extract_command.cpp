// image-forge-cli extract IMAGE -o DEST [--] [PATH...]
#include <cstdio>

#include "cli/commands.h"
#include "cli/extraction_commands.h"
#include "cli/image_paths.h"
#include "extraction/archiver_bridge.h"

namespace forge::cli {
namespace {

constexpr char kCommand[] = "extract";

int UsageError(const std::string& text) { return cli::UsageError(kCommand, text); }

}  // namespace

int RunExtractCommand(const std::vector<std::string>& args) {
  std::vector<std::string> operands;  // the image, then the paths inside it
  std::string destination;
  bool destinationGiven = false;
  ArgumentReader reader(args);
  while (reader.Next()) {
    const std::string& arg = reader.Current();
    if (reader.IsOperand()) {
      operands.push_back(arg);
    } else if (arg != "-o") {
      return UsageError("unknown option '" + arg + "'");
    } else if (destinationGiven) {
      return UsageError("-o is given twice");
    } else if (!reader.TakeValue(destination)) {
      return UsageError("-o needs a value");
    } else {
      destinationGiven = true;
    }
  }
  if (operands.empty()) return UsageError("no image given");
  if (destination.empty()) return UsageError("no destination folder (-o DEST)");
  const std::string& image = operands[0];
  std::vector<std::string> paths;
  for (auto path = operands.begin() + 1; path != operands.end(); ++path) {
    paths.push_back(PathInImage(*path));
  }

  ListingBuffer buffer;
  const ResultCode result = paths.empty() ? ExtractOne(destination, buffer, image, {})
                                          : ExtractSelection(buffer, image, destination, paths);
  if (result != ResultOk) {
    return Failure(kCommand, "cannot extract " + image + ": " + DescribeResult(result));
  }
  std::printf("Extracted %s into %s\n", image.c_str(), destination.c_str());
  return kExitOk;
}

}  // namespace forge::cli
