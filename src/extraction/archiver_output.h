// What an archiver run's output and exit status say about its success.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "app/result_codes.h"

namespace forge {

// Watches the archiver's output, block by block, for the two things its exit status does not
// tell: that a path operand matched nothing ("No files to process", with status 0), and the
// system error behind a failure ("errno=28 : No space left on device"). Keeps only the line
// being read. One thread.
class ArchiverOutputWatch {
 public:
  void Feed(std::span<const char> bytes);
  // Takes a last line that ended without a line feed.
  void Finish();

  bool NothingMatched() const { return nothingMatched_; }
  // The first errno the archiver reported, 0 if none.
  int SystemError() const { return systemError_; }

 private:
  void CheckLine(std::string_view line);

  static constexpr std::size_t kLongestLineOfInterest = 256;
  std::string line_;
  bool lineTooLong_ = false;
  bool nothingMatched_ = false;
  int systemError_ = 0;
};

// The result of one run from its exit status: 0 (success) and 1 (warnings) succeed, unless a
// run with path operands matched nothing in the image (ResultFileNotFound). Other statuses fail
// with the system error the archiver reported, or else with ResultFromArchiverStatus.
ResultCode ArchiverRunResult(int exitStatus, const ArchiverOutputWatch& output, bool withPaths);

}  // namespace forge
