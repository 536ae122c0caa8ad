// What the image-mastering service shares with the results it produces, and the two producers
// (ISO 9660 through libisofs, UDF from our own writer). Internal to the service.
#pragma once

#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "authoring/file_system_image.h"
#include "authoring/image_tree.h"

namespace forge {

// The tree of an image and what its results report back. Shared by the image and its results,
// so a result stays valid even when the image goes first.
struct ImageState {
  ImageTree tree;
  std::atomic<int> liveResults{0};  // the tree refuses changes while this is not 0

  void SetFailedSource(std::filesystem::path path);
  std::filesystem::path FailedSource() const;

 private:
  mutable std::mutex lock_;
  std::filesystem::path failedSource_;
};

// Held by a result for its whole life: keeps the tree alive and unchanged.
class TreeLease {
 public:
  explicit TreeLease(std::shared_ptr<ImageState> state);
  ~TreeLease();
  TreeLease(const TreeLease&) = delete;
  TreeLease& operator=(const TreeLease&) = delete;

  const ImageTree& Tree() const { return state_->tree; }
  ImageState& State() const { return *state_; }

 private:
  std::shared_ptr<ImageState> state_;
};

// The first failure of one production and the source file to blame. Any thread.
class ProductionFailure {
 public:
  void Record(ResultCode code, const std::string& source);
  ResultCode Code() const { return code_.load(std::memory_order_acquire); }
  std::string Source() const;

 private:
  std::atomic<ResultCode> code_{ResultOk};
  mutable std::mutex lock_;
  std::string source_;
};

// The identities of the files a production reads, to answer ReadsSourceFile.
class SourceIdentities {
 public:
  void Add(const FileIdentity& identity) { identities_.push_back(identity); }
  void Seal();  // sorts; call once after the last Add
  bool Contains(const FileIdentity& identity) const;

 private:
  std::vector<FileIdentity> identities_;
};

struct ProductionSettings {
  FileSystems fileSystems = FileSystems::Iso9660 | FileSystems::Joliet;
  std::string volumeName;
  MediaType media = MediaType::Disk;
};

// Starts the ISO 9660 library once per process. False when it cannot start.
bool StartIsoLibrary();

// ISO 9660 with Rock Ridge, and Joliet when the settings ask for it.
ResultCode CreateIsoResult(std::shared_ptr<ImageState> state, const ProductionSettings& settings,
                           std::unique_ptr<ImageResult>& result);

// UDF 1.02.
ResultCode CreateUdfResult(std::shared_ptr<ImageState> state, const ProductionSettings& settings,
                           std::unique_ptr<ImageResult>& result);

}  // namespace forge
