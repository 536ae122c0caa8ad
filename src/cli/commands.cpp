#include "cli/commands.h"

#include "cli/extraction_commands.h"

namespace forge::cli {

std::span<const Command> Commands() {
  // In the order --help lists them.
  static const std::vector<Command> kCommands = {
      {"list", "[--] IMAGE [FOLDER]",
       "Lists the folders and files directly inside FOLDER of an ISO image (default: the top).",
       RunListCommand},
      {"extract", "IMAGE -o DEST [--] [PATH...]",
       "Extracts the whole image, or the given files and folders of it, into DEST.",
       RunExtractCommand},
  };
  return kCommands;
}

}  // namespace forge::cli
