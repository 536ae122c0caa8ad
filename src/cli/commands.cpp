#include "cli/commands.h"

namespace forge::cli {

int RunRecorders(const std::vector<std::string>& args);

std::span<const Command> Commands() {
  // In the order --help lists them.
  static const std::vector<Command> kCommands = {
      {"recorders", "", "list the disc recorders and the media each can write", RunRecorders},
  };
  return kCommands;
}

}  // namespace forge::cli
