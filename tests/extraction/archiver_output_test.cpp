// Judging archiver runs from their recorded output (fixtures/, made by record.sh) and exit status.
#include "extraction/archiver_output.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/test_files.h"

namespace forge {
namespace {

ResultCode Judge(std::string_view output, int status, bool withPaths, std::size_t blockSize) {
  ArchiverOutputWatch watch;
  for (std::size_t at = 0; at < output.size(); at += blockSize) {
    const auto piece = output.substr(at, std::min(blockSize, output.size() - at));
    watch.Feed({piece.data(), piece.size()});
  }
  watch.Finish();
  return ArchiverRunResult(status, watch, withPaths);
}

TEST(ArchiverRunResult, RecordedRuns) {
  const struct {
    std::string_view fixture;
    int status;  // as record.sh reported it, unless the case says otherwise
    bool withPaths;
    ResultCode expected;
  } cases[] = {
      {"folder-extract.txt", 0, true, ResultOk},
      {"folder-extract.txt", 1, true, ResultOk},  // warnings only
      {"joliet-list.txt", 0, false, ResultOk},
      {"no-such-path-extract.txt", 0, true, ResultFileNotFound},
      {"unreadable-extract.txt", 2, false, ResultFromArchiverStatus(2)},
      {"unreadable-list.txt", 2, false, ResultFromArchiverStatus(2)},
      {"missing-list.txt", 2, false, ResultFileNotFound},
      {"disk-full-extract.txt", 2, false, ResultDiskFull},
  };
  for (const auto& c : cases) {
    const std::string output =
        test::ReadFile(test::SourceFolder() / "tests/extraction/fixtures" / c.fixture);
    ASSERT_FALSE(output.empty()) << c.fixture;
    // Blocks that split lines anywhere must not change the verdict.
    for (const std::size_t blockSize : {std::size_t{1}, std::size_t{7}, output.size()}) {
      EXPECT_EQ(Judge(output, c.status, c.withPaths, blockSize), c.expected)
          << c.fixture << " status " << c.status << " in blocks of " << blockSize;
    }
  }
}

TEST(ArchiverRunResult, StatusAloneWhenTheOutputSaysNothing) {
  EXPECT_EQ(Judge("", 0, true, 1), ResultOk);
  EXPECT_EQ(Judge("", 7, false, 1), ResultFromArchiverStatus(7));
  EXPECT_EQ(Judge("extract: 7zz not found\n", 127, false, 1), ResultFromArchiverStatus(127));
  // A long line before the message does not hide it.
  EXPECT_EQ(Judge(std::string(300, 'x') + "\nerrno=28 : No space left on device\n", 2, false, 64),
            ResultDiskFull);
  // Only the whole line counts.
  EXPECT_EQ(Judge("No files to process.txt\n", 0, true, 1), ResultOk);
}

}  // namespace
}  // namespace forge
