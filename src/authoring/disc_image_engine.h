// DiscImageEngine: the image tree behind the Creator list. Every file and folder the user adds
// goes into the image at once (held by path, nothing copied); the tree can then be written to
// an .iso file (iso_file_writer.h) or burned, any number of times.
//
// Threads: no lock. Adding runs on a worker, removing on the interface thread, writing on
// another worker; the caller makes sure they never overlap. The engine is not tied to the
// thread that created it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

#include "app/result_codes.h"
#include "authoring/file_system_image.h"

namespace forge {

// One row of the Creator list, and one entry of a folder walk.
struct SourceItem {
  bool isFolder = false;
  // A file: its size. A folder: 0 until AddItemToImage stores the sum of its files' sizes.
  std::uint64_t size = 0;
  std::filesystem::path fullPath;  // absolute, as the user picked it
};

// Asked on the adding thread for every file before it is added.
class AddProgressSink {
 public:
  // 0 adds the file; any other answer (normally CancelCode) leaves it out.
  virtual ResultCode OnProgress(const SourceItem& entry) = 0;

 protected:
  ~AddProgressSink() = default;
};

// The file systems the Creator offers, as it stores the choice.
enum class FileSystemChoice : int {
  IsoJoliet = 0,
  Iso9660 = 1,
  Udf = 2,
};

// 1 gives ISO 9660, 2 UDF, every other value ISO 9660 + Joliet.
FileSystems ToFileSystems(FileSystemChoice choice);

class DiscImageEngine {
 public:
  // Creates the image through the image-mastering service; the engine still works (adding and
  // removing change nothing) when the service is not available.
  DiscImageEngine();
  // Uses `image`, which may be null for "service not available".
  explicit DiscImageEngine(std::unique_ptr<FileSystemImage> image);

  DiscImageEngine(const DiscImageEngine&) = delete;
  DiscImageEngine& operator=(const DiscImageEngine&) = delete;

  // Adds a file under its own name, or a folder with everything below it under its own name,
  // at the image root. The name is the path after its last "/"; a path ending in "/" puts the
  // folder's contents at the root. Below a folder, entries whose names start with "." are left
  // out, folders reached through symbolic links are entered unless that would close a loop,
  // and anything but regular files and folders is skipped. `sink` (may be null) is asked for
  // every file first. A folder's size becomes the sum of its files' sizes.
  // Returns 0, the sink's non-zero answer for a top-level file, or the service's code for a
  // top-level file it could not add. Files inside a folder that cannot be added are left out.
  ResultCode AddItemToImage(SourceItem& item, AddProgressSink* sink);

  // Removes a row: a folder with everything below it, or one file. 0 or the service's code.
  ResultCode RemoveItemFromImage(const SourceItem& item);

  // The image-mastering service's image; null when it is not available.
  FileSystemImage* Image() { return image_.get(); }

 private:
  ResultCode FetchRoot();
  std::uint64_t AddFolderToImage(const std::filesystem::path& folder);
  ResultCode AddFileToImage(const SourceItem& entry);
  std::string NameInImage(const std::string& fullPath) const;

  std::unique_ptr<FileSystemImage> image_;
  ImageFolder* root_ = nullptr;
  AddProgressSink* sink_ = nullptr;
  std::size_t nameOffset_ = 0;
};

}  // namespace forge
