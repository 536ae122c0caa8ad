// The image-mastering service: a tree of folders and files by name, produced on demand as an
// ISO 9660 (+ Joliet) or UDF image whose bytes are pulled in order from a stream of known
// length. ISO 9660 and Joliet come from libisofs, UDF from our own writer.
//
// Threads: an image and everything it hands out has no lock and no tie to the thread that made
// it; any one thread at a time may use it. A result's stream may be read on another thread than
// the one that created the result, one thread at a time.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "app/result_codes.h"

namespace forge {

// The file systems an image is produced in, as a bit set.
enum class FileSystems : std::uint32_t {
  None = 0,
  Iso9660 = 1,
  Joliet = 2,  // always together with Iso9660, whose tree it accompanies
  Udf = 4,
};

constexpr FileSystems operator|(FileSystems a, FileSystems b) {
  return static_cast<FileSystems>(static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b));
}
constexpr bool HasFileSystem(FileSystems set, FileSystems one) {
  return (static_cast<std::uint32_t>(set) & static_cast<std::uint32_t>(one)) != 0;
}

// Physical media an image is made for. Files use Disk; a burn passes the disc's own type.
enum class MediaType : int {
  Unknown = 0,
  CdRom = 1,
  CdR = 2,
  CdRw = 3,
  DvdRom = 4,
  DvdRam = 5,
  DvdPlusR = 6,
  DvdPlusRw = 7,
  DvdPlusRDualLayer = 8,
  DvdDashR = 9,
  DvdDashRw = 10,
  DvdDashRDualLayer = 11,
  Disk = 12,  // random-access writes: an image file
  DvdPlusRwDualLayer = 13,
  HdDvdRom = 14,
  HdDvdR = 15,
  HdDvdRam = 16,
  BdRom = 17,
  BdR = 18,
  BdRe = 19,
};

// Identity of a file on this machine (device and inode), to tell whether two paths are one file.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The bytes of a finished image, pulled from start to end. A burner or a file writer consumes
// it the same way: ask Size(), then Read() pieces in order until nothing remains.
class ImageStream {
 public:
  virtual ~ImageStream() = default;

  // Length of the whole image in bytes (a multiple of 2048 for real images).
  virtual std::uint64_t Size() const = 0;

  // Fills `buffer` with the next buffer.size() bytes; buffer.size() must not exceed what is
  // left. Returns 0, or the code of the failure that stopped the image (a source file that
  // vanished, became unreadable or changed size, a read error). After a failure every further
  // call returns the same code. Nothing is ever delivered from a failed production.
  virtual ResultCode Read(std::span<std::byte> buffer) = 0;
};

// One production of the image tree with the settings in force when it was created. While a
// result exists the tree refuses changes (ResultBusy), so the stream always matches its layout.
// Destroying the result stops any work still running for it.
class ImageResult {
 public:
  virtual ~ImageResult() = default;

  // The image's byte stream, positioned at its start. Owned by the result.
  virtual ImageStream& GetImageStream() = 0;

  // True when producing this image reads the file `identity` (so it must not be overwritten
  // while the stream is read).
  virtual bool ReadsSourceFile(const FileIdentity& identity) const = 0;
};

// The root folder of an image. Names are relative to the root, their components separated by
// "/"; they are kept exactly as given (never renamed by the tree; a file system with shorter
// limits may still shorten them in its own records, as Joliet does beyond 103 characters).
class ImageFolder {
 public:
  // Creates an empty folder; its parent must exist. ResultFileExists when the name is taken.
  virtual ResultCode AddFolder(std::string_view relativeName) = 0;

  // Adds the file at `source` under `relativeName`. The file is held by its path: nothing is
  // opened now; it is examined and read only when a result image is created and read.
  // ResultFileExists when the name is taken, ResultPathNotFound when the parent folder is missing.
  virtual ResultCode AddFile(std::string_view relativeName, const std::filesystem::path& source) = 0;

  // Removes one file. ResultFileNotFound when there is no file of that name.
  virtual ResultCode RemoveFile(std::string_view relativeName) = 0;

  // Removes a folder with everything below it. ResultPathNotFound when there is no such folder.
  virtual ResultCode RemoveTree(std::string_view relativeName) = 0;

 protected:
  ~ImageFolder() = default;
};

class FileSystemImage {
 public:
  virtual ~FileSystemImage() = default;

  // Settings used by the next CreateResultImage; they stay until set again.
  virtual void SetFileSystemsToCreate(FileSystems fileSystems) = 0;
  virtual void ChooseImageDefaultsForMediaType(MediaType media) = 0;
  virtual void SetVolumeName(std::string_view name) = 0;

  // The root folder, owned by the image. Returns 0 or a failure code.
  virtual ResultCode GetRoot(ImageFolder*& root) = 0;

  // Lays out the tree with the current settings. Every source file is examined now: one that
  // is missing, not a regular file or has a name the file system cannot hold fails the
  // production here, before any byte is produced. Leaves the tree unchanged.
  virtual ResultCode CreateResultImage(std::unique_ptr<ImageResult>& result) = 0;

  // The source file behind the last production failure (empty when none was to blame). Read
  // it on the thread that saw the failure, after the failing call returned.
  virtual std::filesystem::path LastFailedSource() const = 0;
};

// Creates an empty image with the defaults ISO 9660 + Joliet, media type Disk and an empty
// volume name. Null when the service cannot start.
std::unique_ptr<FileSystemImage> CreateFileSystemImage();

}  // namespace forge
