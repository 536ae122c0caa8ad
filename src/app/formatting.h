// The short texts the windows and reports show for sizes, durations and times.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

namespace forge {

// "1023 Bytes", "1.13 KB", "1024.00 KB", "4.38 GB": powers of 1024, two decimals.
std::string FormatSizeText(std::int64_t bytes);

// "59 Sec", "1 Min 0 Sec", "1 Hour 1 Min" (seconds dropped once there are hours).
std::string FormatTimeText(std::int64_t seconds);

// Local calendar fields of a moment, as the clock layer hands them out.
struct LocalTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;      // 1..12
  std::uint16_t dayOfWeek = 0;  // 0 = Sunday
  std::uint16_t day = 0;        // 1..31
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t milliseconds = 0;
};

LocalTime ToLocalTime(std::chrono::system_clock::time_point moment);
LocalTime LocalTimeNow();

// "2014-3-7 09:05:00": a file's time in local time, month and day not padded.
std::string FormatFileTimeText(std::chrono::system_clock::time_point moment);
std::string FormatFileTimeText(std::filesystem::file_time_type moment);

}  // namespace forge
