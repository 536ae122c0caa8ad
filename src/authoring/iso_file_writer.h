// Writes the image tree of a DiscImageEngine into an .iso file, copying the image stream in
// pieces of 64 KiB and reporting the percentage after each one.
#pragma once

#include <cstdint>
#include <filesystem>

#include "app/result_codes.h"
#include "authoring/disc_image_engine.h"

namespace forge {

// Told on the writing thread after every piece.
class WriteProgressSink {
 public:
  // `percent` is the whole-number share written so far (0..100), `bytesWritten` its byte
  // count. 0 goes on; any other answer (normally CancelCode) stops the copy with that answer.
  virtual ResultCode OnProgress(int percent, std::uint64_t bytesWritten) = 0;

 protected:
  ~WriteProgressSink() = default;
};

// The volume name of every .iso file the Creator writes.
inline constexpr char kIsoVolumeName[] = "BuildDisc";
inline constexpr std::size_t kIsoCopyPiece = 64 * 1024;

// Produces the engine's image in `choice` with the volume name "BuildDisc" and writes it to
// `outputPath`, replacing any file there (a longer one is cut to the image's length). Returns
// 0; the sink's answer (the partial file stays); ResultDiskFull when the disk fills up;
// ResultServiceUnavailable when the engine has no image; ResultSharingViolation when
// `outputPath` is one of the image's own source files (it is left untouched); or the code of
// the failing step (a source file that vanished, a write error, ...).
ResultCode WriteIsoFile(DiscImageEngine& engine, const std::filesystem::path& outputPath,
                        WriteProgressSink* sink, FileSystemChoice choice);

}  // namespace forge
