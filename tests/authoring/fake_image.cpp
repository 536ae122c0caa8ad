#include "fake_image.h"

namespace forge::test {
namespace {

class PatternResult final : public ImageResult, public ImageStream {
 public:
  PatternResult(std::uint64_t size, std::uint64_t failAt, ResultCode failCode)
      : size_(size), failAt_(failAt), failCode_(failCode) {}

  ImageStream& GetImageStream() override { return *this; }
  bool ReadsSourceFile(const FileIdentity&) const override { return false; }
  std::uint64_t Size() const override { return size_; }
  ResultCode Read(std::span<std::byte> buffer) override {
    if (buffer.size() > size_ - position_) return ResultInvalidParameter;
    if (position_ + buffer.size() > failAt_) return failCode_;
    for (auto& byte : buffer) byte = PatternByte(position_++);
    return ResultOk;
  }

 private:
  std::uint64_t size_;
  std::uint64_t failAt_;
  ResultCode failCode_;
  std::uint64_t position_ = 0;
};

}  // namespace

ResultCode RecordingImage::CreateResultImage(std::unique_ptr<ImageResult>& result) {
  result = std::make_unique<PatternResult>(streamSize, failAt, failCode);
  return ResultOk;
}

std::unique_ptr<DiscImageEngine> EngineWithRecordingImage(RecordingImage*& image) {
  auto owned = std::make_unique<RecordingImage>();
  image = owned.get();
  return std::make_unique<DiscImageEngine>(std::move(owned));
}

std::vector<std::string> RecordingImage::Names(const std::string& operation) const {
  std::vector<std::string> names;
  for (const auto& call : calls) {
    if (call.operation == operation) names.push_back(call.name);
  }
  return names;
}

}  // namespace forge::test
