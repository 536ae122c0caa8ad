// A one-line progress display on standard error, drawn only when standard error is a terminal.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace forge::cli {

class ProgressBar {
 public:
  // `label` starts the line ("Writing", "Backing up").
  explicit ProgressBar(std::string label);
  ~ProgressBar();  // ends the line if anything was drawn
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  bool Enabled() const { return enabled_; }

  // Shows `percent` (0..100) with speed and time left computed from `bytesDone` since the bar
  // was made; `detail` is added after the percentage (e.g. "1234/5678 sectors"). Redraws at
  // most ten times a second, and always at 100 %.
  void Update(double percent, std::uint64_t bytesDone, const std::string& detail = {});

  // Ends the current line.
  void Finish();

 private:
  using Clock = std::chrono::steady_clock;

  std::string label_;
  bool enabled_;
  bool drawn_ = false;
  Clock::time_point start_;
  Clock::time_point lastDraw_;
};

// "12.3 MB/s" style speed text.
std::string FormatSpeed(double bytesPerSecond);

}  // namespace forge::cli
