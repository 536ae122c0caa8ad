#include "burning/pattern_source.h"

#include <algorithm>

namespace forge::test {

std::string PatternSource::Contents() const {
  std::string contents(size_, '\0');
  for (std::uint64_t i = 0; i < size_; ++i) contents[i] = ByteAt(i);
  return contents;
}

std::int64_t PatternSource::Read(std::span<std::byte> buffer) {
  if (done_ >= failAt_) {
    failed_ = true;
    return -1;
  }
  const auto end = std::min({size_, endAt_, failAt_});
  const auto count = std::min<std::uint64_t>(buffer.size(), end > done_ ? end - done_ : 0);
  for (std::uint64_t i = 0; i < count; ++i) buffer[i] = static_cast<std::byte>(ByteAt(done_ + i));
  done_ += count;
  return static_cast<std::int64_t>(count);
}

}  // namespace forge::test
