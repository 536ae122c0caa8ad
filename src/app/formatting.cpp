#include "app/formatting.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace forge {

std::string FormatSizeText(std::int64_t bytes) {
  struct Unit {
    std::int64_t size;
    const char* label;
  };
  static constexpr Unit kUnits[] = {
      {std::int64_t{1} << 40, " TB"},
      {std::int64_t{1} << 30, " GB"},
      {std::int64_t{1} << 20, " MB"},
      {std::int64_t{1} << 10, " KB"},
  };
  char text[64];
  for (const auto& unit : kUnits) {
    if (bytes >= unit.size) {
      // Two decimals with halves rounded up (1152 bytes are 1.13 KB, not the 1.12 that
      // printf's round-half-even would give for the exact value 1.125).
      const double value = static_cast<double>(bytes) / static_cast<double>(unit.size);
      const double hundredths = std::floor(value * 100.0 + 0.5);
      std::snprintf(text, sizeof text, "%.2f%s", hundredths / 100.0, unit.label);
      return text;
    }
  }
  std::snprintf(text, sizeof text, "%lld Bytes", static_cast<long long>(bytes));
  return text;
}

std::string FormatTimeText(std::int64_t seconds) {
  char text[96];
  const auto s = static_cast<long long>(seconds);
  if (s >= 3600) {
    std::snprintf(text, sizeof text, "%lld Hour %lld Min", s / 3600, (s % 3600) / 60);
  } else if (s >= 60) {
    std::snprintf(text, sizeof text, "%lld Min %lld Sec", s / 60, s % 60);
  } else {
    std::snprintf(text, sizeof text, "%lld Sec", s);
  }
  return text;
}

LocalTime ToLocalTime(std::chrono::system_clock::time_point moment) {
  using namespace std::chrono;
  const auto since = moment.time_since_epoch();
  auto secondsPart = floor<seconds>(since);
  const auto millis = duration_cast<milliseconds>(since - secondsPart).count();
  const std::time_t when = static_cast<std::time_t>(secondsPart.count());
  std::tm fields{};
  localtime_r(&when, &fields);
  LocalTime local;
  local.year = static_cast<std::uint16_t>(fields.tm_year + 1900);
  local.month = static_cast<std::uint16_t>(fields.tm_mon + 1);
  local.dayOfWeek = static_cast<std::uint16_t>(fields.tm_wday);
  local.day = static_cast<std::uint16_t>(fields.tm_mday);
  local.hour = static_cast<std::uint16_t>(fields.tm_hour);
  local.minute = static_cast<std::uint16_t>(fields.tm_min);
  local.second = static_cast<std::uint16_t>(fields.tm_sec);
  local.milliseconds = static_cast<std::uint16_t>(millis);
  return local;
}

LocalTime LocalTimeNow() { return ToLocalTime(std::chrono::system_clock::now()); }

std::string FormatFileTimeText(std::chrono::system_clock::time_point moment) {
  const LocalTime t = ToLocalTime(moment);
  char text[64];
  std::snprintf(text, sizeof text, "%d-%d-%d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

std::string FormatFileTimeText(std::filesystem::file_time_type moment) {
  return FormatFileTimeText(std::chrono::file_clock::to_sys(moment));
}

}  // namespace forge
