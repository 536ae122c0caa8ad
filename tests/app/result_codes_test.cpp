#include "app/result_codes.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace forge {
namespace {

TEST(ResultCodes, ErrnoMapsToTheProgramsCodes) {
  const struct {
    int error;
    ResultCode code;
  } cases[] = {
      {ENOSPC, ResultDiskFull}, {EIO, ResultReadFault},       {EACCES, ResultAccessDenied},
      {ENOENT, ResultFileNotFound}, {EINVAL, ResultInvalidParameter},
  };
  for (const auto& c : cases) EXPECT_EQ(ResultFromErrno(c.error), c.code) << c.error;
  EXPECT_EQ(static_cast<std::uint32_t>(ResultDiskFull), 0x80070070u);
}

TEST(ResultCodes, DescriptionsNameTheCause) {
  EXPECT_EQ(DescribeResult(ResultDiskFull), "the disk is full (code 0x80070070)");
  EXPECT_EQ(DescribeResult(CancelCode), "cancelled by the user");
  EXPECT_EQ(DescribeResult(ResultReadFault), "read fault (code 30)");
  // An errno without a code of its own keeps its own words.
  EXPECT_NE(DescribeResult(ResultFromErrno(EXDEV)).find("cross-device"), std::string::npos);
  EXPECT_EQ(DescribeResult(ResultFromArchiverStatus(2)),
            "the archiver failed with exit status 2 (code 0xE0AC0002)");
}

}  // namespace
}  // namespace forge
