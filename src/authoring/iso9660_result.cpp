// ISO 9660 images through libisofs: ISO level 3 (files of 4 GiB and more in several extents),
// Rock Ridge for whole names on Linux and macOS, Joliet with long names for Windows, deep
// folder trees kept in place. File data comes from our own stream class, which reads each
// source file by its path only while libisofs copies it and checks that it did not change.
#include <stdint.h>
#include <sys/types.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#define LIBISOFS_WITHOUT_LIBBURN 1
#include <libisofs/libisofs.h>

#include "authoring/image_production.h"
#include "authoring/source_file.h"

namespace forge {
namespace {

// libisofs declares its stream object only for C (a member is called "class"); this copy has
// the same layout under other names, as the library's own documentation suggests for C++.
struct IsoStreamObject {
  IsoStreamIface* iface;
  int refcount;
  void* data;
};

// File system number our streams report, so that only files with the same device and inode
// (hard links, or one file added twice) share their data in the image.
constexpr unsigned int kSourceFsId = 0x4E494653;

// Bytes read from a source file at a time; libisofs asks for 2 KiB pieces.
constexpr std::size_t kReadAhead = 256 * 1024;

// The ring buffer between the library's writer thread and us (in 2 KiB blocks), and the piece
// we take from it at a time.
constexpr std::size_t kRingBlocks = 4096;
constexpr std::size_t kStagingBytes = 1024 * 1024;
constexpr int kRingActive = 1;

struct SourceStream {
  const std::string* path = nullptr;  // owned by the tree, which the result keeps alive
  SourceInfo info;
  ProductionFailure* failure = nullptr;
  SourceReader reader;
  std::unique_ptr<std::byte[]> buffer;  // only while open
  std::size_t filled = 0;
  std::size_t used = 0;
};

SourceStream& DataOf(IsoStream* stream) {
  return *static_cast<SourceStream*>(reinterpret_cast<IsoStreamObject*>(stream)->data);
}

int StreamOpen(IsoStream* stream) {
  SourceStream& source = DataOf(stream);
  if (source.failure->Code() != ResultOk) return ISO_CANCELED;
  const ResultCode code = source.reader.Open(*source.path, source.info.size);
  if (code != ResultOk) {
    source.failure->Record(code, *source.path);
    return ISO_FILE_ERROR;
  }
  source.buffer.reset(new (std::nothrow) std::byte[kReadAhead]);
  if (!source.buffer) {
    source.reader.Close();
    source.failure->Record(ResultOutOfMemory, *source.path);
    return ISO_OUT_OF_MEM;
  }
  source.filled = source.used = 0;
  return ISO_SUCCESS;
}

int StreamClose(IsoStream* stream) {
  SourceStream& source = DataOf(stream);
  source.reader.Close();
  source.buffer.reset();
  return ISO_SUCCESS;
}

off_t StreamGetSize(IsoStream* stream) { return static_cast<off_t>(DataOf(stream).info.size); }

int StreamRead(IsoStream* stream, void* out, size_t count) {
  SourceStream& source = DataOf(stream);
  if (!source.reader.IsOpen() && source.used == source.filled) return 0;
  if (source.used == source.filled) {
    const auto piece = static_cast<std::size_t>(
        std::min<std::uint64_t>(kReadAhead, source.reader.Remaining()));
    if (piece == 0) return 0;
    // A failure is recorded before libisofs gets (and pads) the piece, so the consumer of the
    // image sees it no later than the bytes it spoils.
    const ResultCode code = source.reader.Read({source.buffer.get(), piece});
    if (code != ResultOk) {
      source.failure->Record(code, *source.path);
      source.reader.Close();
      return ISO_FILE_READ_ERROR;
    }
    source.filled = piece;
    source.used = 0;
  }
  const std::size_t n = std::min(count, source.filled - source.used);
  std::memcpy(out, source.buffer.get() + source.used, n);
  source.used += n;
  return static_cast<int>(n);
}

int StreamIsRepeatable(IsoStream*) { return 1; }

void StreamGetId(IsoStream* stream, unsigned int* fsId, dev_t* device, ino_t* inode) {
  const SourceStream& source = DataOf(stream);
  *fsId = kSourceFsId;
  *device = source.info.identity.device;
  *inode = source.info.identity.inode;
}

void StreamFree(IsoStream* stream) { delete &DataOf(stream); }

int StreamUpdateSize(IsoStream*) { return ISO_SUCCESS; }

IsoStreamIface kSourceStreamClass = {
    1, {'u', 's', 'e', 'r'}, StreamOpen, StreamClose, StreamGetSize, StreamRead,
    StreamIsRepeatable, StreamGetId, StreamFree, StreamUpdateSize, nullptr, nullptr, nullptr,
};

IsoStream* NewSourceStream(const std::string& path, const SourceInfo& info,
                           ProductionFailure& failure) {
  auto* object = static_cast<IsoStreamObject*>(std::malloc(sizeof(IsoStreamObject)));
  if (object == nullptr) return nullptr;
  auto* data = new (std::nothrow) SourceStream;
  if (data == nullptr) {
    std::free(object);
    return nullptr;
  }
  data->path = &path;
  data->info = info;
  data->failure = &failure;
  object->iface = &kSourceStreamClass;
  object->refcount = 1;
  object->data = data;
  return reinterpret_cast<IsoStream*>(object);
}

ResultCode CodeOfLibraryError(int error) {
  if (error == static_cast<int>(ISO_OUT_OF_MEM)) return ResultOutOfMemory;
  if (error == static_cast<int>(ISO_NODE_NAME_NOT_UNIQUE)) return ResultFileExists;
  if (error == static_cast<int>(ISO_RR_NAME_TOO_LONG)) return ResultNameTooLong;
  return ResultImageFault;
}

void FreeBurnSource(burn_source* source) {
  if (source != nullptr && --source->refcount == 0) {
    if (source->free_data != nullptr) source->free_data(source);
    std::free(source);
  }
}

struct ImageReleaser {
  void operator()(IsoImage* image) const { iso_image_unref(image); }
};
using ImagePtr = std::unique_ptr<IsoImage, ImageReleaser>;

struct OptionsReleaser {
  void operator()(IsoWriteOpts* options) const { iso_write_opts_free(options); }
};
using OptionsPtr = std::unique_ptr<IsoWriteOpts, OptionsReleaser>;

class IsoResult final : public ImageResult, public ImageStream {
 public:
  explicit IsoResult(std::shared_ptr<ImageState> state) : lease_(std::move(state)) {}

  ~IsoResult() override {
    if (source_ != nullptr) {
      if (fetched_ < size_ && source_->cancel != nullptr) source_->cancel(source_);
      FreeBurnSource(source_);  // joins the library's writer thread
    }
    image_.reset();  // frees our streams, before the failure record they point to
  }

  // Builds the library's tree from ours, examining every source file.
  ResultCode Build(const ProductionSettings& settings) {
    IsoImage* image = nullptr;
    if (const int error = iso_image_new(settings.volumeName.c_str(), &image); error < 0) {
      return CodeOfLibraryError(error);
    }
    image_.reset(image);
    iso_image_set_truncate_mode(image, 0, 255);
    const time_t now = std::time(nullptr);

    struct Pending {
      const ImageTree::Node* node;
      IsoDir* dir;
    };
    std::deque<Pending> queue{{&lease_.Tree().Root(), iso_image_get_root(image)}};
    while (!queue.empty()) {
      const Pending folder = queue.front();
      queue.pop_front();
      for (const auto& [name, child] : folder.node->children) {
        IsoNode* node = nullptr;
        if (child->isFolder) {
          IsoDir* dir = nullptr;
          const int error = iso_image_add_new_dir(image, folder.dir, name.c_str(), &dir);
          if (error < 0) return CodeOfLibraryError(error);
          node = reinterpret_cast<IsoNode*>(dir);
          iso_node_set_permissions(node, 0555);
          SetTimes(node, now);
          queue.push_back({child.get(), dir});
        } else {
          SourceInfo info;
          if (const ResultCode code = ExamineSource(child->source, info); code != ResultOk) {
            lease_.State().SetFailedSource(child->source);
            return code;
          }
          IsoStream* stream = NewSourceStream(child->source, info, failure_);
          if (stream == nullptr) return ResultOutOfMemory;
          IsoFile* file = nullptr;
          const int error = iso_image_add_new_file(image, folder.dir, name.c_str(), stream, &file);
          if (error < 0) {
            iso_stream_unref(stream);
            return CodeOfLibraryError(error);
          }
          node = reinterpret_cast<IsoNode*>(file);
          iso_node_set_permissions(node, info.executable ? 0555 : 0444);
          SetTimes(node, info.modified.tv_sec);
          sources_.Add(info.identity);
        }
        iso_node_set_uid(node, 0);
        iso_node_set_gid(node, 0);
      }
    }
    sources_.Seal();
    return Start(settings);
  }

  ImageStream& GetImageStream() override { return *this; }
  bool ReadsSourceFile(const FileIdentity& identity) const override {
    return sources_.Contains(identity);
  }

  std::uint64_t Size() const override { return size_; }

  ResultCode Read(std::span<std::byte> buffer) override {
    if (failed_ != ResultOk) return failed_;
    if (buffer.size() > size_ - position_) return ResultInvalidParameter;
    while (!buffer.empty()) {
      if (stagedFrom_ == stagedTo_) {
        if (const ResultCode code = Stage(); code != ResultOk) return Fail(code);
      }
      const std::size_t n = std::min(buffer.size(), stagedTo_ - stagedFrom_);
      std::memcpy(buffer.data(), staging_.data() + stagedFrom_, n);
      stagedFrom_ += n;
      position_ += n;
      buffer = buffer.subspan(n);
    }
    return ResultOk;
  }

 private:
  static void SetTimes(IsoNode* node, time_t time) {
    iso_node_set_mtime(node, time);
    iso_node_set_atime(node, time);
    iso_node_set_ctime(node, time);
  }

  ResultCode Start(const ProductionSettings& settings) {
    IsoWriteOpts* raw = nullptr;
    if (const int error = iso_write_opts_new(&raw, 0); error < 0) return CodeOfLibraryError(error);
    OptionsPtr options(raw);
    iso_write_opts_set_iso_level(raw, 3);
    iso_write_opts_set_rockridge(raw, 1);
    iso_write_opts_set_allow_deep_paths(raw, 1);
    iso_write_opts_set_allow_longer_paths(raw, 1);
    iso_write_opts_set_always_gmt(raw, 1);
    iso_write_opts_set_fifo_size(raw, kRingBlocks);
    if (HasFileSystem(settings.fileSystems, FileSystems::Joliet)) {
      iso_write_opts_set_joliet(raw, 1);
      iso_write_opts_set_joliet_long_names(raw, 1);
      iso_write_opts_set_joliet_longer_paths(raw, 1);
      iso_write_opts_set_joliet_utf16(raw, 1);
      // Joliet names as they are: no ";1" version and no dot added to names without one.
      iso_write_opts_set_omit_version_numbers(raw, 2);
      iso_write_opts_set_no_force_dots(raw, 2);
      iso_write_opts_set_dir_rec_mtime(raw, 1 | 2);
    } else {
      iso_write_opts_set_dir_rec_mtime(raw, 1);
    }
    burn_source* source = nullptr;
    if (const int error = iso_image_create_burn_source(image_.get(), raw, &source); error < 0) {
      return CodeOfLibraryError(error);
    }
    source_ = source;
    size_ = static_cast<std::uint64_t>(source->get_size(source));
    return ResultOk;
  }

  // Takes the next piece of the image from the library's ring buffer. The ring wakes its reader
  // for every 2 KiB block it receives, so a reader that waits inside it costs a thread switch
  // per block; instead we wait outside until a whole piece is there (or the writer has ended).
  ResultCode Stage() {
    const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(kStagingBytes, size_ - fetched_));
    for (;;) {
      std::size_t capacity = 0;
      std::size_t free = 0;
      const int status = iso_ring_buffer_get_status(source_, &capacity, &free);
      if (status != kRingActive || capacity - free >= want) break;
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    // The library delivers only whole requests, so never ask for more than is left.
    const int got = source_->read_xt(source_, reinterpret_cast<unsigned char*>(staging_.data()),
                                     static_cast<int>(want));
    if (const ResultCode code = failure_.Code(); code != ResultOk) return code;
    if (got != static_cast<int>(want)) return ResultImageFault;
    fetched_ += want;
    stagedFrom_ = 0;
    stagedTo_ = want;
    return ResultOk;
  }

  ResultCode Fail(ResultCode code) {
    failed_ = code;
    const std::string culprit = failure_.Source();
    if (!culprit.empty()) lease_.State().SetFailedSource(culprit);
    return code;
  }

  TreeLease lease_;
  ProductionFailure failure_;
  SourceIdentities sources_;
  ImagePtr image_;
  burn_source* source_ = nullptr;
  std::uint64_t size_ = 0;
  std::uint64_t position_ = 0;  // delivered to the caller
  std::uint64_t fetched_ = 0;   // taken from the ring buffer
  std::vector<std::byte> staging_ = std::vector<std::byte>(kStagingBytes);
  std::size_t stagedFrom_ = 0;
  std::size_t stagedTo_ = 0;
  ResultCode failed_ = ResultOk;
};

}  // namespace

bool StartIsoLibrary() {
  static const bool started = [] {
    // bit 0: leave the process's locale alone; names are handed over as UTF-8.
    if (iso_init_with_flag(1) < 0) return false;
    static char utf8[] = "UTF-8";
    iso_set_local_charset(utf8, 0);
    // Engines show nothing: no messages on standard error, none queued. A source file that
    // fails stops the image at once instead of being filled with zeros.
    static char never[] = "NEVER";
    static char prefix[] = "";
    iso_set_msgs_severities(never, never, prefix);
    static char mishap[] = "MISHAP";
    iso_set_abort_severity(mishap);
    return true;
  }();
  return started;
}

ResultCode CreateIsoResult(std::shared_ptr<ImageState> state, const ProductionSettings& settings,
                           std::unique_ptr<ImageResult>& result) {
  auto production = std::make_unique<IsoResult>(std::move(state));
  if (const ResultCode code = production->Build(settings); code != ResultOk) return code;
  result = std::move(production);
  return ResultOk;
}

}  // namespace forge
