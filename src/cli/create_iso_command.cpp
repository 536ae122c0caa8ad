// image-forge-cli create-iso: adds files and folders as the Creator page does and writes the
// image into an .iso file.
#include "cli/create_iso_command.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/formatting.h"
#include "app/result_codes.h"
#include "authoring/disc_image_engine.h"
#include "authoring/iso_file_writer.h"
#include "cli/commands.h"
#include "cli/interrupt.h"
#include "cli/progress_bar.h"
#include "cli/source_items.h"

namespace forge::cli {
namespace {

struct Request {
  const FileSystemName* fileSystem = &FileSystemNames().front();
  std::filesystem::path output;
  std::vector<std::filesystem::path> paths;
};

constexpr char kCommand[] = "create-iso";

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
    } else if (arg != "--fs" && arg != "-o" && arg != "--output") {
      return UsageError("unknown option '" + arg + "'");
    } else if (!reader.TakeValue(value)) {
      return UsageError(arg + " needs a value");
    } else if (arg != "--fs") {
      request.output = value;
    } else if ((request.fileSystem = FindFileSystem(value)) == nullptr) {
      return UsageError("unknown file system '" + value + "' (joliet, iso9660 or udf)");
    }
  }
  if (request.output.empty()) return UsageError("no output file (-o OUT.iso)");
  if (request.paths.empty()) return UsageError("nothing to put into the image");
  return -1;
}

class BarSink final : public WriteProgressSink {
 public:
  ResultCode OnProgress(int percent, std::uint64_t bytesWritten) override {
    if (InterruptAsCancel::Requested()) return CancelCode;
    bar_.Update(percent, bytesWritten);
    return ResultOk;
  }

 private:
  ProgressBar bar_{"Writing"};
};

}  // namespace

int RunCreateIso(const std::vector<std::string>& args) {
  Request request;
  if (const int status = Parse(args, request); status >= 0) return status;

  DiscImageEngine engine;
  std::uint64_t total = 0;
  if (std::string error; !AddPathsToImage(request.paths, engine, total, error)) {
    return Failure(error);
  }

  ResultCode code = ResultOk;
  {
    const InterruptAsCancel cancelOnInterrupt;
    BarSink sink;
    code = WriteIsoFile(engine, request.output, &sink, request.fileSystem->choice);
  }
  if (code == CancelCode) {
    return Failure("cancelled; " + request.output.string() + " keeps what was written");
  }
  if (code != ResultOk) {
    return Failure(DescribeImageFailure(engine, code, "cannot write " + request.output.string()));
  }
  std::error_code sizeError;
  const auto written = std::filesystem::file_size(request.output, sizeError);
  std::printf("%s: %s image of %s of files, %s\n", request.output.c_str(),
              request.fileSystem->shown, FormatSizeText(static_cast<std::int64_t>(total)).c_str(),
              sizeError ? "written" : FormatSizeText(static_cast<std::int64_t>(written)).c_str());
  return kExitOk;
}

}  // namespace forge::cli
