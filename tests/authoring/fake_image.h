// An image-mastering service for tests: records what the engine asks of it and hands out a
// stream of chosen length whose bytes are a known pattern, failing at a chosen offset.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "authoring/disc_image_engine.h"
#include "authoring/file_system_image.h"

namespace forge::test {

// Byte `offset` of every fake stream.
inline std::byte PatternByte(std::uint64_t offset) {
  return static_cast<std::byte>((offset * 131 + offset / 251) & 0xFF);
}

class RecordingImage final : public FileSystemImage, public ImageFolder {
 public:
  struct Call {
    std::string operation;  // "folder", "file", "remove file", "remove tree"
    std::string name;
    std::string source;
    bool operator==(const Call&) const = default;
  };

  // What the image records and produces.
  std::vector<Call> calls;
  FileSystems fileSystems = FileSystems::None;
  std::string volumeName;
  std::uint64_t streamSize = 0;
  std::uint64_t failAt = std::numeric_limits<std::uint64_t>::max();
  ResultCode failCode = ResultReadFault;

  void SetFileSystemsToCreate(FileSystems chosen) override { fileSystems = chosen; }
  void ChooseImageDefaultsForMediaType(MediaType) override {}
  void SetVolumeName(std::string_view name) override { volumeName = name; }
  ResultCode GetRoot(ImageFolder*& root) override {
    root = this;
    return ResultOk;
  }
  ResultCode CreateResultImage(std::unique_ptr<ImageResult>& result) override;
  std::filesystem::path LastFailedSource() const override { return {}; }

  ResultCode AddFolder(std::string_view name) override { return Record("folder", name); }
  ResultCode AddFile(std::string_view name, const std::filesystem::path& source) override {
    return Record("file", name, source.string());
  }
  ResultCode RemoveFile(std::string_view name) override { return Record("remove file", name); }
  ResultCode RemoveTree(std::string_view name) override { return Record("remove tree", name); }

  // The names of the recorded calls of one kind, in order.
  std::vector<std::string> Names(const std::string& operation) const;

 private:
  ResultCode Record(std::string operation, std::string_view name, std::string source = {}) {
    calls.push_back({std::move(operation), std::string(name), std::move(source)});
    return ResultOk;
  }
};

// An engine over a new recording image; `image` is set to the image the engine owns.
std::unique_ptr<DiscImageEngine> EngineWithRecordingImage(RecordingImage*& image);

}  // namespace forge::test
