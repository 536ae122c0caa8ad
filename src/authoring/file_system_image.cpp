// The image-mastering service: the tree, its settings, and the choice of producer.
#include "authoring/file_system_image.h"

#include "authoring/image_production.h"

namespace forge {
namespace {

class RootFolder final : public ImageFolder {
 public:
  explicit RootFolder(ImageState& state) : state_(state) {}

  ResultCode AddFolder(std::string_view relativeName) override {
    if (Busy()) return ResultBusy;
    return state_.tree.AddFolder(relativeName);
  }
  ResultCode AddFile(std::string_view relativeName, const std::filesystem::path& source) override {
    if (Busy()) return ResultBusy;
    return state_.tree.AddFile(relativeName, source.string());
  }
  ResultCode RemoveFile(std::string_view relativeName) override {
    if (Busy()) return ResultBusy;
    return state_.tree.RemoveFile(relativeName);
  }
  ResultCode RemoveTree(std::string_view relativeName) override {
    if (Busy()) return ResultBusy;
    return state_.tree.RemoveTree(relativeName);
  }

 private:
  bool Busy() const { return state_.liveResults.load() != 0; }

  ImageState& state_;
};

class MasteringImage final : public FileSystemImage {
 public:
  MasteringImage() : state_(std::make_shared<ImageState>()), root_(*state_) {}

  void SetFileSystemsToCreate(FileSystems fileSystems) override {
    settings_.fileSystems = fileSystems;
  }
  // Media types change nothing in the layout: the images are the same for every medium, and
  // whether an image fits a disc is the recorder's question.
  void ChooseImageDefaultsForMediaType(MediaType media) override { settings_.media = media; }
  void SetVolumeName(std::string_view name) override { settings_.volumeName = name; }

  ResultCode GetRoot(ImageFolder*& root) override {
    root = &root_;
    return ResultOk;
  }

  ResultCode CreateResultImage(std::unique_ptr<ImageResult>& result) override {
    result.reset();
    state_->SetFailedSource({});
    const FileSystems chosen = settings_.fileSystems;
    const bool udf = HasFileSystem(chosen, FileSystems::Udf);
    const bool iso = HasFileSystem(chosen, FileSystems::Iso9660 | FileSystems::Joliet);
    if (udf && !iso) return CreateUdfResult(state_, settings_, result);
    if (iso && !udf) return CreateIsoResult(state_, settings_, result);
    return ResultInvalidParameter;  // nothing chosen, or a UDF bridge, which we do not make
  }

  std::filesystem::path LastFailedSource() const override { return state_->FailedSource(); }

 private:
  std::shared_ptr<ImageState> state_;
  RootFolder root_;
  ProductionSettings settings_;
};

}  // namespace

std::unique_ptr<FileSystemImage> CreateFileSystemImage() {
  if (!StartIsoLibrary()) return nullptr;
  return std::make_unique<MasteringImage>();
}

}  // namespace forge
