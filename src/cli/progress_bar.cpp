#include "cli/progress_bar.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "app/formatting.h"

namespace forge::cli {

std::string FormatSpeed(double bytesPerSecond) {
  return FormatSizeText(static_cast<std::int64_t>(bytesPerSecond)) + "/s";
}

ProgressBar::ProgressBar(std::string label)
    : label_(std::move(label)), enabled_(::isatty(STDERR_FILENO) == 1), start_(Clock::now()) {}

ProgressBar::~ProgressBar() { Finish(); }

void ProgressBar::Update(double percent, std::uint64_t bytesDone, const std::string& detail) {
  if (!enabled_) return;
  const auto now = Clock::now();
  percent = std::clamp(percent, 0.0, 100.0);
  if (drawn_ && percent < 100.0 && now - lastDraw_ < std::chrono::milliseconds(100)) return;
  lastDraw_ = now;
  drawn_ = true;

  constexpr int kWidth = 30;
  const int filled = static_cast<int>(percent / 100.0 * kWidth);
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.resize(kWidth, '-');

  const double seconds = std::chrono::duration<double>(now - start_).count();
  std::string speed = "--";
  std::string left = "--";
  if (seconds > 0.5 && bytesDone > 0) {
    speed = FormatSpeed(static_cast<double>(bytesDone) / seconds);
    if (percent > 0.0) {
      left = FormatTimeText(static_cast<std::int64_t>(seconds * (100.0 - percent) / percent));
    }
  }
  const std::string shownDetail = detail.empty() ? std::string() : "  " + detail;
  std::fprintf(stderr, "\r\033[K%s [%s] %5.1f%%%s  %s  %s left", label_.c_str(), bar.c_str(),
               percent, shownDetail.c_str(), speed.c_str(), left.c_str());
  std::fflush(stderr);
}

void ProgressBar::Finish() {
  if (!drawn_) return;
  std::fputc('\n', stderr);
  drawn_ = false;
}

}  // namespace forge::cli
