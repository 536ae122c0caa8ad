// image-forge-cli recorders: the disc recorders of this machine and the media each can write.
#include <cinttypes>
#include <cstdio>
#include <string>
#include <vector>

#include "app/result_codes.h"
#include "burning/recorders.h"
#include "cli/burn_commands.h"
#include "cli/commands.h"

namespace forge::cli {
namespace {

constexpr char kCommand[] = "recorders";

}  // namespace

int RunRecorders(const std::vector<std::string>& args) {
  if (!args.empty()) return UsageError(kCommand, "takes no arguments, not '" + args[0] + "'");
  std::vector<RecorderEntry> recorders;
  if (const auto code = ListRecorders(recorders)) {
    return Failure(kCommand, "cannot list the recorders: " + DescribeResult(code));
  }
  if (recorders.empty()) std::printf("No recorders found.\n");
  for (const auto& recorder : recorders) {
    std::printf("%s\t%s\n", recorder.uniqueId.c_str(), recorder.displayText.c_str());
    MediaClassFlags flags;
    std::vector<MediaChoice> choices;
    if (const auto code = ListMediaChoices(recorder.uniqueId, flags, choices)) {
      std::printf("    cannot be opened: %s\n", DescribeResult(code).c_str());
      continue;
    }
    if (choices.empty()) std::printf("    writes none of the offered media\n");
    for (const auto& choice : choices) {
      std::printf("    %s\t%" PRIu64 " bytes\n", choice.label.c_str(), choice.capacity);
    }
  }
  return kExitOk;
}

}  // namespace forge::cli
