#include "extraction/archiver_output.h"

#include <charconv>

namespace forge {
namespace {

constexpr std::string_view kNothingMatched = "No files to process";
constexpr std::string_view kErrnoMarker = "errno=";

}  // namespace

void ArchiverOutputWatch::Feed(std::span<const char> bytes) {
  std::string_view rest(bytes.data(), bytes.size());
  while (!rest.empty()) {
    const auto end = rest.find('\n');
    const std::string_view piece = rest.substr(0, end);
    if (!lineTooLong_) {
      if (line_.size() + piece.size() <= kLongestLineOfInterest) {
        line_.append(piece);
      } else {
        lineTooLong_ = true;
        line_.clear();
      }
    }
    if (end == std::string_view::npos) break;
    if (!lineTooLong_) CheckLine(line_);
    line_.clear();
    lineTooLong_ = false;
    rest.remove_prefix(end + 1);
  }
}

void ArchiverOutputWatch::Finish() {
  if (!lineTooLong_) CheckLine(line_);
  line_.clear();
  lineTooLong_ = false;
}

void ArchiverOutputWatch::CheckLine(std::string_view line) {
  if (line == kNothingMatched) nothingMatched_ = true;
  // "errno=2 : No such file or directory", alone or after "ERROR: ".
  if (line.starts_with("ERROR: ")) line.remove_prefix(7);
  if (systemError_ == 0 && line.starts_with(kErrnoMarker)) {
    line.remove_prefix(kErrnoMarker.size());
    int error = 0;
    const auto [end, status] = std::from_chars(line.data(), line.data() + line.size(), error);
    if (status == std::errc() && error > 0) systemError_ = error;
  }
}

ResultCode ArchiverRunResult(int exitStatus, const ArchiverOutputWatch& output, bool withPaths) {
  if (exitStatus == 0 || exitStatus == 1) {
    return withPaths && output.NothingMatched() ? ResultFileNotFound : ResultOk;
  }
  if (output.SystemError() != 0) return ResultFromErrno(output.SystemError());
  return ResultFromArchiverStatus(exitStatus);
}

}  // namespace forge
