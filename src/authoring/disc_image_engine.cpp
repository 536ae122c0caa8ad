#include "authoring/disc_image_engine.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <deque>
#include <string>

#include "authoring/long_path.h"
#include "authoring/source_file.h"

namespace forge {
namespace {

// The folders above one being walked, to recognise a symbolic link that leads back up.
struct Ancestor {
  FileIdentity identity;
  std::shared_ptr<const Ancestor> parent;
};

bool IsAncestor(const std::shared_ptr<const Ancestor>& chain, const FileIdentity& identity) {
  for (const Ancestor* at = chain.get(); at != nullptr; at = at->parent.get()) {
    if (at->identity == identity) return true;
  }
  return false;
}

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

std::size_t NameOffsetOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? 0 : slash + 1;
}

}  // namespace

FileSystems ToFileSystems(FileSystemChoice choice) {
  switch (choice) {
    case FileSystemChoice::Iso9660:
      return FileSystems::Iso9660;
    case FileSystemChoice::Udf:
      return FileSystems::Udf;
    default:
      return FileSystems::Iso9660 | FileSystems::Joliet;
  }
}

DiscImageEngine::DiscImageEngine() : DiscImageEngine(CreateFileSystemImage()) {}

DiscImageEngine::DiscImageEngine(std::unique_ptr<FileSystemImage> image)
    : image_(std::move(image)) {
  if (image_) {
    image_->SetFileSystemsToCreate(FileSystems::Iso9660 | FileSystems::Joliet);
    image_->ChooseImageDefaultsForMediaType(MediaType::Disk);
  }
}

ResultCode DiscImageEngine::FetchRoot() {
  if (root_ != nullptr || !image_) return ResultOk;
  return image_->GetRoot(root_);
}

std::string DiscImageEngine::NameInImage(const std::string& fullPath) const {
  return nameOffset_ < fullPath.size() ? fullPath.substr(nameOffset_) : std::string();
}

ResultCode DiscImageEngine::AddItemToImage(SourceItem& item, AddProgressSink* sink) {
  sink_ = sink;
  nameOffset_ = NameOffsetOf(item.fullPath.native());
  if (const ResultCode code = FetchRoot(); code != ResultOk) return code;
  if (item.isFolder) {
    item.size = AddFolderToImage(item.fullPath);
    return ResultOk;
  }
  if (sink_ != nullptr) {
    if (const ResultCode answer = sink_->OnProgress(item); answer != ResultOk) return answer;
  }
  if (root_ == nullptr) return ResultOk;
  SourceInfo info;
  if (const ResultCode code = ExamineSource(item.fullPath.native(), info); code != ResultOk) {
    return code;
  }
  return root_->AddFile(NameInImage(item.fullPath.native()), item.fullPath);
}

std::uint64_t DiscImageEngine::AddFolderToImage(const std::filesystem::path& folder) {
  struct Pending {
    std::string path;
    std::shared_ptr<const Ancestor> ancestors;  // this folder and those above it
  };
  std::uint64_t total = 0;
  std::shared_ptr<const Ancestor> top;
  struct stat status{};
  if (StatLongPath(folder.native(), status) == 0) {
    top = std::make_shared<const Ancestor>(Ancestor{{status.st_dev, status.st_ino}, nullptr});
  }
  std::deque<Pending> queue;
  queue.push_back({folder.native(), top});
  while (!queue.empty()) {
    const Pending current = std::move(queue.front());
    queue.pop_front();
    // Breadth first: every folder is created before anything inside it. A folder that exists
    // already (for example two picked folders of one name) is fine; its files are still offered.
    if (root_ != nullptr) root_->AddFolder(NameInImage(current.path));
    std::string dir = current.path;
    if (!dir.ends_with('/')) dir += '/';

    const int fd = OpenLongPath(dir, O_RDONLY | O_DIRECTORY);
    if (fd < 0) continue;  // cannot be listed: contributes nothing more
    const std::unique_ptr<DIR, DirCloser> listing(::fdopendir(fd));
    if (!listing) {
      ::close(fd);
      continue;
    }
    while (const dirent* entry = ::readdir(listing.get())) {
      if (entry->d_name[0] == '.') continue;  // ".", ".." and hidden entries
      struct stat info{};
      if (::fstatat(::dirfd(listing.get()), entry->d_name, &info, 0) != 0) continue;
      std::string child = dir + entry->d_name;
      if (S_ISDIR(info.st_mode)) {
        const FileIdentity identity{info.st_dev, info.st_ino};
        if (IsAncestor(current.ancestors, identity)) continue;  // a link back up: a loop
        queue.push_back({std::move(child),
                         std::make_shared<const Ancestor>(Ancestor{identity, current.ancestors})});
      } else if (S_ISREG(info.st_mode)) {
        const auto size = static_cast<std::uint64_t>(info.st_size);
        total += size;
        AddFileToImage({false, size, std::move(child)});  // a file that cannot be added is left out
      }
    }
  }
  return total;
}

ResultCode DiscImageEngine::AddFileToImage(const SourceItem& entry) {
  if (sink_ != nullptr) {
    if (const ResultCode answer = sink_->OnProgress(entry); answer != ResultOk) return answer;
  }
  if (root_ == nullptr) return ResultOk;
  return root_->AddFile(NameInImage(entry.fullPath.native()), entry.fullPath);
}

ResultCode DiscImageEngine::RemoveItemFromImage(const SourceItem& item) {
  nameOffset_ = NameOffsetOf(item.fullPath.native());
  if (const ResultCode code = FetchRoot(); code != ResultOk) return code;
  if (root_ == nullptr) return ResultOk;
  const std::string name = NameInImage(item.fullPath.native());
  return item.isFolder ? root_->RemoveTree(name) : root_->RemoveFile(name);
}

}  // namespace forge
