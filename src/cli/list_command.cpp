// image-forge-cli list [--] IMAGE [FOLDER]
#include <cstdio>

#include "cli/commands.h"
#include "cli/extraction_commands.h"
#include "cli/image_paths.h"
#include "extraction/archiver_bridge.h"

namespace forge::cli {
namespace {

constexpr char kCommand[] = "list";

int UsageError(const std::string& text) { return cli::UsageError(kCommand, text); }

}  // namespace

int RunListCommand(const std::vector<std::string>& args) {
  std::vector<std::string> operands;
  ArgumentReader reader(args);
  while (reader.Next()) {
    const std::string& arg = reader.Current();
    if (!reader.IsOperand()) return UsageError("unknown option '" + arg + "'");
    if (operands.size() == 2) return UsageError("unexpected argument '" + arg + "'");
    operands.push_back(arg);
  }
  if (operands.empty()) return UsageError("no image given");
  const std::string& image = operands[0];
  const std::string prefix = FolderPrefixInImage(operands.size() > 1 ? operands[1] : "");

  ListingBuffer buffer;
  std::vector<ArchiveEntry> entries;
  const ResultCode result = ListFolder(entries, buffer, image, prefix);
  for (const auto& entry : entries) {
    std::printf("%-6s %14lld  %s  %s\n", entry.isFolder ? "Folder" : "File",
                static_cast<long long>(entry.size), entry.modified.c_str(), entry.name.c_str());
  }
  if (result != ResultOk) {
    return Failure(kCommand, "cannot list " + image + ": " + DescribeResult(result));
  }
  return kExitOk;
}

}  // namespace forge::cli
