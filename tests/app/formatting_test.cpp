#include "app/formatting.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

namespace forge {
namespace {

struct SizeCase {
  std::int64_t bytes;
  const char* text;
};

TEST(FormatSizeText, FollowsTheUnitTable) {
  const SizeCase cases[] = {
      {0, "0 Bytes"},
      {1023, "1023 Bytes"},
      {1024, "1.00 KB"},
      {1152, "1.13 KB"},  // 1.125: halves round up
      {1048575, "1024.00 KB"},
      {1048576, "1.00 MB"},
      {4700000000, "4.38 GB"},
      {std::int64_t{1} << 40, "1.00 TB"},
      {(std::int64_t{1} << 40) * 3 / 2, "1.50 TB"},
      {-5, "-5 Bytes"},
      {5LL * 1024 * 1024 * 1024, "5.00 GB"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatSizeText(c.bytes), c.text) << c.bytes;
}

TEST(FormatTimeText, FollowsTheUnitTable) {
  const struct {
    std::int64_t seconds;
    const char* text;
  } cases[] = {
      {0, "0 Sec"},           {59, "59 Sec"},          {60, "1 Min 0 Sec"},
      {3599, "59 Min 59 Sec"}, {3600, "1 Hour 0 Min"},  {3661, "1 Hour 1 Min"},
      {7200, "2 Hour 0 Min"},  {-1, "-1 Sec"},         {100 * 3600 + 59, "100 Hour 0 Min"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatTimeText(c.seconds), c.text) << c.seconds;
}

class LocalTimeZone : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* zone = getenv("TZ")) saved_ = zone, hadZone_ = true;
    setenv("TZ", "UTC", 1);
    tzset();
  }
  void TearDown() override {
    if (hadZone_) {
      setenv("TZ", saved_.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  std::string saved_;
  bool hadZone_ = false;
};

TEST_F(LocalTimeZone, FileTimeTextPadsOnlyTheTime) {
  // 2014-03-07 09:05:00 UTC
  const auto moment = std::chrono::system_clock::from_time_t(1394183100);
  EXPECT_EQ(FormatFileTimeText(moment), "2014-3-7 09:05:00");
  const LocalTime fields = ToLocalTime(moment + std::chrono::milliseconds(250));
  EXPECT_EQ(fields.year, 2014);
  EXPECT_EQ(fields.month, 3);
  EXPECT_EQ(fields.day, 7);
  EXPECT_EQ(fields.dayOfWeek, 5);  // a Friday
  EXPECT_EQ(fields.milliseconds, 250);
}

}  // namespace
}  // namespace forge
