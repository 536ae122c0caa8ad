// image-forge-cli burn: adds files and folders as the Creator page does and burns the image
// onto the blank disc of a recorder, or into a file through a "stdio:" pseudo-drive.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/formatting.h"
#include "app/result_codes.h"
#include "authoring/disc_image_engine.h"
#include "burning/burn_engine.h"
#include "cli/burn_commands.h"
#include "cli/commands.h"
#include "cli/interrupt.h"
#include "cli/progress_bar.h"
#include "cli/source_items.h"

namespace forge::cli {
namespace {

struct Request {
  std::string recorder;
  const FileSystemName* fileSystem = &FileSystemNames().front();
  std::string label;
  bool labelGiven = false;
  bool closeMedia = true;
  bool eject = false;
  std::vector<std::filesystem::path> paths;
};

constexpr char kCommand[] = "burn";

int UsageError(const std::string& text) { return cli::UsageError(kCommand, text); }
int Failure(const std::string& text) { return cli::Failure(kCommand, text); }

// Parses the arguments; returns -1 when they are fine, else the exit status.
int Parse(const std::vector<std::string>& args, Request& request) {
  ArgumentReader reader(args);
  while (reader.Next()) {
    const std::string& arg = reader.Current();
    std::string value;
    if (reader.IsOperand()) {
      request.paths.emplace_back(arg);
    } else if (arg == "--no-close") {
      request.closeMedia = false;
    } else if (arg == "--eject") {
      request.eject = true;
    } else if (arg != "--recorder" && arg != "--fs" && arg != "--label") {
      return UsageError("unknown option '" + arg + "'");
    } else if (!reader.TakeValue(value)) {
      return UsageError(arg + " needs a value");
    } else if (arg == "--recorder") {
      request.recorder = value;
    } else if (arg == "--label") {
      request.label = value;
      request.labelGiven = true;
    } else if ((request.fileSystem = FindFileSystem(value)) == nullptr) {
      return UsageError("unknown file system '" + value + "' (joliet, iso9660 or udf)");
    }
  }
  if (request.recorder.empty()) {
    return UsageError("no recorder given (--recorder ID; image-forge-cli recorders lists them)");
  }
  if (request.paths.empty()) return UsageError("nothing to put onto the disc");
  return -1;
}

// The burner's default label: the local date and time as 14 digits.
std::string DefaultLabel() {
  const LocalTime now = LocalTimeNow();
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", now.year, now.month, now.day,
                now.hour, now.minute, now.second);
  return text;
}

std::string WhyItFailed(ResultCode code, const Request& request, DiscImageEngine& engine) {
  switch (code) {
    case CancelCode:
      return "cancelled";
    case ResultInvalidParameter:
      return "cannot use recorder '" + request.recorder +
             "': no such recorder, or it is busy or writes no discs";
    case ResultMediaNotBlank:
      return "the disc in '" + request.recorder + "' is not blank";
    case ResultMediaNotSupported:
      return "recorder '" + request.recorder + "' cannot write the disc in it";
    default:
      break;
  }
  return DescribeImageFailure(engine, code, "the burn failed");
}

}  // namespace

int RunBurn(const std::vector<std::string>& args) {
  Request request;
  if (const int status = Parse(args, request); status >= 0) return status;
  if (!request.labelGiven) request.label = DefaultLabel();

  DiscImageEngine engine;
  std::uint64_t total = 0;
  if (std::string error; !AddPathsToImage(request.paths, engine, total, error)) {
    return Failure(error);
  }

  ResultCode code = ResultOk;
  {
    ProgressBar bar("Burning");
    // Ctrl+C (or SIGTERM) stops the write at its next step instead of leaving the disc
    // half-written.
    const InterruptAsCancel cancelOnInterrupt;
    // The burn window's arithmetic: the share of the track's sectors written so far.
    std::uint64_t bytesWritten = 0;
    const auto onProgress = [&](WriteAction action, const BurnProgress& progress) {
      if (InterruptAsCancel::Requested()) return 0;
      if (action == WriteAction::WritingData && progress.sectorCount > 0) {
        const auto done = static_cast<std::int64_t>(progress.lastWrittenLba) - progress.startLba;
        bytesWritten = static_cast<std::uint64_t>(std::max<std::int64_t>(done, 0)) * 2048;
        bar.Update(static_cast<double>(done) * 100 / progress.sectorCount, bytesWritten);
      } else if (action == WriteAction::Completed) {
        bar.Update(100, bytesWritten);
      }
      return 1;
    };
    code = BurnToDisc(engine, request.fileSystem->choice, request.label, request.recorder,
                      request.eject, request.closeMedia, onProgress);
  }
  if (code != ResultOk) return Failure(WhyItFailed(code, request, engine));
  std::printf("%s: burned %s of files as %s, label \"%s\"\n", request.recorder.c_str(),
              FormatSizeText(static_cast<std::int64_t>(total)).c_str(), request.fileSystem->shown,
              request.label.c_str());
  return kExitOk;
}

}  // namespace forge::cli
