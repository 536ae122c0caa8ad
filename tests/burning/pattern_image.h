// An image for burns in tests: bytes made up from their offset, so any size costs no memory and
// a written copy can be checked byte by byte. Can fail at a chosen offset.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "authoring/file_system_image.h"

namespace forge::test {

class PatternImage final : public ImageStream {
 public:
  explicit PatternImage(std::uint64_t size) : size_(size) {}

  // The read that reaches `offset` fails with `code`, and every read after it.
  void FailAt(std::uint64_t offset, ResultCode code) {
    failAt_ = offset;
    failure_ = code;
  }

  static char ByteAt(std::uint64_t offset) {
    return static_cast<char>((offset * 7 + offset / 2048 * 13) & 0xff);
  }
  // The whole image as it should have been written.
  std::string Contents() const;

  std::uint64_t Size() const override { return size_; }
  ResultCode Read(std::span<std::byte> buffer) override;

 private:
  std::uint64_t size_;
  std::uint64_t done_ = 0;
  std::uint64_t failAt_ = UINT64_MAX;
  ResultCode failure_ = ResultOk;
};

// A produced image that is a pattern.
class PatternResult final : public ImageResult {
 public:
  explicit PatternResult(std::uint64_t size) : image_(size) {}
  PatternImage& Image() { return image_; }
  ImageStream& GetImageStream() override { return image_; }
  bool ReadsSourceFile(const FileIdentity&) const override { return false; }

 private:
  PatternImage image_;
};

}  // namespace forge::test
