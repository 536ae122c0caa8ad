#include "cli/commands.h"

namespace forge::cli {

std::span<const Command> Commands() {
  // In the order --help lists them.
  static const std::vector<Command> kCommands = {
  };
  return kCommands;
}

}  // namespace forge::cli
