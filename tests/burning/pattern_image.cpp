#include "burning/pattern_image.h"

namespace forge::test {

std::string PatternImage::Contents() const {
  std::string contents(size_, '\0');
  for (std::uint64_t i = 0; i < size_; ++i) contents[i] = ByteAt(i);
  return contents;
}

ResultCode PatternImage::Read(std::span<std::byte> buffer) {
  if (done_ + buffer.size() > size_) return ResultInvalidParameter;
  if (done_ + buffer.size() > failAt_) return failure_;
  for (std::size_t i = 0; i < buffer.size(); ++i) {
    buffer[i] = static_cast<std::byte>(ByteAt(done_ + i));
  }
  done_ += buffer.size();
  return ResultOk;
}

}  // namespace forge::test
