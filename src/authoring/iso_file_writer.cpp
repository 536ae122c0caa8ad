#include "authoring/iso_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <vector>

#include "authoring/long_path.h"

namespace forge {
namespace {

// The output file, open for writing from its start.
class OutputFile {
 public:
  ~OutputFile() {
    if (fd_ >= 0) ::close(fd_);
  }

  ResultCode Open(const std::string& path) {
    fd_ = OpenLongPath(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    return fd_ < 0 ? ResultFromErrno(errno) : ResultOk;
  }

  ResultCode Write(std::span<const std::byte> data) {
    while (!data.empty()) {
      const ssize_t written = ::write(fd_, data.data(), data.size());
      if (written < 0) {
        if (errno == EINTR) continue;
        return ResultFromErrno(errno);
      }
      data = data.subspan(static_cast<std::size_t>(written));
    }
    return ResultOk;
  }

  // Some file systems report a failed write only when the file is closed.
  ResultCode Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result != 0 && errno != EINTR ? ResultFromErrno(errno) : ResultOk;
  }

 private:
  int fd_ = -1;
};

}  // namespace

ResultCode WriteIsoFile(DiscImageEngine& engine, const std::filesystem::path& outputPath,
                        WriteProgressSink* sink, FileSystemChoice choice) {
  FileSystemImage* image = engine.Image();
  if (image == nullptr) return ResultServiceUnavailable;
  image->SetFileSystemsToCreate(ToFileSystems(choice));
  image->SetVolumeName(kIsoVolumeName);
  image->ChooseImageDefaultsForMediaType(MediaType::Disk);

  std::unique_ptr<ImageResult> result;
  if (const ResultCode code = image->CreateResultImage(result); code != ResultOk) return code;
  ImageStream& stream = result->GetImageStream();

  // Replacing one of the image's own sources would destroy the data the image is made of.
  struct stat existing{};
  if (StatLongPath(outputPath.native(), existing) == 0 && S_ISREG(existing.st_mode) &&
      result->ReadsSourceFile({existing.st_dev, existing.st_ino})) {
    return ResultSharingViolation;
  }

  OutputFile output;
  if (const ResultCode code = output.Open(outputPath.native()); code != ResultOk) return code;

  const std::uint64_t total = stream.Size();
  std::uint64_t done = 0;
  std::vector<std::byte> piece(kIsoCopyPiece);
  ResultCode code = ResultOk;
  while (done < total) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kIsoCopyPiece, total - done));
    const std::span<std::byte> chunk(piece.data(), n);
    if ((code = stream.Read(chunk)) != ResultOk) break;
    if ((code = output.Write(chunk)) != ResultOk) break;
    done += n;
    if (sink != nullptr) {
      const auto percent = static_cast<int>(done * 100 / total);
      if ((code = sink->OnProgress(percent, done)) != ResultOk) break;
    }
  }
  const ResultCode closed = output.Close();
  return code != ResultOk ? code : closed;
}

}  // namespace forge
