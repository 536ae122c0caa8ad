// image-forge-cli: the engines of Norvessa Image Forge from a terminal.
#include <cstdio>
#include <string>
#include <vector>

#include "app/language_table.h"
#include "cli/commands.h"

namespace {

using forge::cli::Commands;

void PrintHelp() {
  std::printf(
      "Usage: image-forge-cli COMMAND [OPTIONS]\n"
      "       image-forge-cli --help | --version\n"
      "\n"
      "Norvessa Image Forge from the command line: create ISO images, burn discs,\n"
      "back up disks byte by byte and extract ISO images.\n");
  if (!Commands().empty()) std::printf("\nCommands:\n");
  for (const auto& command : Commands()) {
    std::printf("  image-forge-cli %.*s%s%.*s\n      %.*s\n", static_cast<int>(command.name.size()),
                command.name.data(), command.synopsis.empty() ? "" : " ",
                static_cast<int>(command.synopsis.size()), command.synopsis.data(),
                static_cast<int>(command.summary.size()), command.summary.data());
  }
  std::printf(
      "\nProgress is drawn on standard error when it is a terminal.\n"
      "Exit status: 0 on success, 1 when the job failed, 2 for a usage error.\n");
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintHelp();
    return args.empty() ? forge::cli::kExitUsage : forge::cli::kExitOk;
  }
  if (args[0] == "--version") {
    auto& language = forge::LanguageTable::Instance();
    std::printf("%s\n", language.GetSection("MainWnd").LookupText("Version").c_str());
    return forge::cli::kExitOk;
  }
  for (const auto& command : Commands()) {
    if (command.name == args[0]) {
      return command.run(std::vector<std::string>(args.begin() + 1, args.end()));
    }
  }
  std::fprintf(stderr, "image-forge-cli: unknown command '%s' (see image-forge-cli --help)\n",
               args[0].c_str());
  return forge::cli::kExitUsage;
}
