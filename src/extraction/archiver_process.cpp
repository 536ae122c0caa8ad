#include "extraction/archiver_process.h"

#include "app/paths.h"

namespace forge {
namespace {

// How long the pump waits on a silent pipe before it looks whether the child has ended.
constexpr int kQuietWaitMs = 100;

}  // namespace

std::filesystem::path ArchiverPath() {
  const auto folder = GetModuleFolder();
  if (folder.empty()) return {};
  std::error_code error;
  const auto absolute = std::filesystem::absolute(folder, error);
  if (error) return {};
  return absolute / "extract";
}

std::unique_ptr<ChildProcess> StartArchiver(const std::vector<std::string>& arguments,
                                            const std::filesystem::path& workingFolder,
                                            ResultCode& result) {
  const auto archiver = ArchiverPath();
  if (archiver.empty()) {
    result = ResultFileNotFound;
    return nullptr;
  }
  std::vector<std::string> argv = {archiver.string()};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  int error = 0;
  auto child = ChildProcess::Start(
      argv, {.captureOutput = true, .inputPipe = true, .workingFolder = workingFolder}, error);
  result = child ? ResultOk : ResultFromErrno(error);
  return child;
}

ResultCode PumpArchiverOutput(ChildProcess& child, std::span<char> block,
                              ArchiverOutputWatch& watch, const ArchiverOutputSink& sink) {
  ResultCode result = ResultOk;
  bool ended = false;
  for (;;) {
    // Once the child has ended, only what is already in the pipe is left to read.
    const long got = child.ReadOutput(block, ended ? 0 : kQuietWaitMs);
    if (got == 0) break;
    if (got < 0) {
      if (ended) break;
      // A silent pipe: the child may have ended while something it started still holds the pipe.
      ended = child.HasExited();
      continue;
    }
    const std::span<const char> bytes(block.data(), static_cast<std::size_t>(got));
    watch.Feed(bytes);
    if (sink) {
      result = sink(bytes);
      if (result != ResultOk) break;
    }
  }
  watch.Finish();
  return result;
}

ResultCode RunArchiver(const std::vector<std::string>& arguments,
                       const std::filesystem::path& workingFolder, std::span<char> block,
                       const ArchiverOutputSink& sink, bool withPaths) {
  ResultCode result = ResultOk;
  auto child = StartArchiver(arguments, workingFolder, result);
  if (!child) return result;
  ArchiverOutputWatch watch;
  result = PumpArchiverOutput(*child, block, watch, sink);
  if (result != ResultOk) return result;
  return ArchiverRunResult(child->Wait(), watch, withPaths);
}

}  // namespace forge
