// An image for burns in tests: bytes made up from their offset, so any size costs no memory and
// a written copy can be checked byte by byte. Can fail or end early at a chosen offset.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "burning/recording_layer.h"

namespace forge::test {

class PatternSource final : public TrackSource {
 public:
  explicit PatternSource(std::uint64_t size) : size_(size) {}

  // From `offset` on, Read fails with `code`.
  void FailAt(std::uint64_t offset, ResultCode code) {
    failAt_ = offset;
    failure_ = code;
  }
  // From `offset` on, Read answers the end of the image although Size() says more.
  void EndAt(std::uint64_t offset) { endAt_ = offset; }

  static char ByteAt(std::uint64_t offset) {
    return static_cast<char>((offset * 7 + offset / 2048 * 13) & 0xff);
  }
  // The whole image as it should have been written.
  std::string Contents() const;

  std::uint64_t Size() const override { return size_; }
  std::int64_t Read(std::span<std::byte> buffer) override;
  ResultCode Failure() const override { return failed_ ? failure_ : ResultOk; }
  void Cancel() override { cancelled_ = true; }

  bool Cancelled() const { return cancelled_; }

 private:
  std::uint64_t size_;
  std::uint64_t done_ = 0;
  std::uint64_t failAt_ = UINT64_MAX;
  std::uint64_t endAt_ = UINT64_MAX;
  ResultCode failure_ = ResultOk;
  std::atomic<bool> failed_{false};
  std::atomic<bool> cancelled_{false};
};

}  // namespace forge::test
