// The disc-recording layer: what the burner needs of the machine's optical drives and of the
// library that drives them. The program runs on libburn (GetRecordingLayer); tests install a
// double that reports what real drives report. The facts are the library's own (disc status,
// MMC profiles, drive phases, messages); the burner turns them into media choices, progress
// events and result codes.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/result_codes.h"
#include "authoring/file_system_image.h"  // ImageStream

namespace forge {

// What kind of drive an address leads to.
enum class DriveRole {
  Null,                // a pseudo-drive without file: no medium, no reading, no writing
  Optical,             // a real drive
  PseudoReadWrite,     // a regular file or block device standing for a random-access disc
  PseudoSequential,    // a pipe or character device standing for a write-once disc
  PseudoReadOnly,
  PseudoWriteOnly,
};

// The state of the disc in a grabbed drive.
enum class DiscStatus { Unready, Blank, Empty, Appendable, Full, Ungrabbed, Unsuitable };

// What a drive is doing.
enum class DrivePhase {
  Idle,
  Spawning,  // an operation is about to start
  Reading,
  Writing,
  WritingLeadIn,
  WritingLeadOut,
  Erasing,
  Grabbing,
  WritingPregap,
  ClosingTrack,
  ClosingSession,
  Formatting,
  ReadingSync,
  WritingSync,
};

struct DriveProgress {
  std::int32_t startSector = 0;  // first sector of the track being written
  std::int32_t sectors = 0;      // sectors of that track; 0 until the write knows them
  std::int32_t sector = 0;       // sectors written so far
  std::int64_t bytesRead = 0;    // bytes taken from the image so far, kept after the write
  ResultCode imageResult = 0;    // the code that stopped the image, kept after the write
  // The drive's buffer, in bytes.
  std::int64_t bufferSize = 0;
  std::int64_t bufferFree = 0;
};

enum class MessageSeverity { Debug, Update, Note, Hint, Warning, Sorry, Failure, Fatal, Abort };

// One message the library queued, e.g. {0x2013a, Fatal, 0, "No suitable media detected"}.
struct LayerMessage {
  int code = 0;
  MessageSeverity severity = MessageSeverity::Debug;
  int osErrno = 0;
  std::string text;
};

struct ScannedDrive {
  std::string address;  // the drive's persistent address, e.g. "/dev/sr0"
  std::string vendor;
  std::string product;
};

// A grabbed drive: held exclusively until the object goes. Used by one thread at a time.
class RecorderDrive {
 public:
  // Releases the drive, ejecting the disc if Eject() was called. A write still running is
  // cancelled and waited for first.
  virtual ~RecorderDrive() = default;

  virtual DriveRole Role() = 0;
  // True when the drive's capabilities say it writes at least one kind of medium.
  virtual bool AnnouncesWriting() = 0;
  // Every profile the drive knows, readable or writable, in the drive's order.
  virtual std::vector<int> Profiles() = 0;
  // The profile of the loaded disc; 0 without a disc, 0xffff for a pseudo-drive.
  virtual int CurrentProfile() = 0;
  virtual DiscStatus Status() = 0;
  // True when the loaded disc can be left appendable after a write.
  virtual bool CanStayAppendable() = 0;

  // Starts writing `image` as the one data track of a new session. The image is read on the
  // library's thread and must outlive the write (until Poll answers Idle). Returns 0 once the
  // write runs, or a code when it cannot start (ResultMediaNotSupported when the library has
  // no way to write this disc).
  virtual ResultCode StartWrite(ImageStream& image, bool keepAppendable) = 0;
  // What the drive is doing now; never blocks.
  virtual DrivePhase Poll(DriveProgress& progress) = 0;
  // How long to wait between two polls.
  virtual std::chrono::milliseconds PollInterval() const = 0;
  // Asks the running write to stop; Poll answers Idle once it has.
  virtual void CancelWrite() = 0;
  // After the write ended: true when the library says every byte reached the disc.
  virtual bool WroteWell() = 0;

  // Opens the tray when the drive is released.
  virtual void Eject() = 0;
};

class RecordingLayer {
 public:
  virtual ~RecordingLayer() = default;
  // The optical drives found, in the library's order. Returns 0 or the failing code.
  virtual ResultCode ScanDrives(std::vector<ScannedDrive>& drives) = 0;
  // Where the disc of the drive at `address` is mounted; empty when nowhere.
  virtual std::vector<std::string> MountPaths(const std::string& address) = 0;
  // Grabs the drive at `address` (a scanned address or "stdio:/path" for a pseudo-drive),
  // loading the tray when `loadTray`. Returns null with `error` set when it cannot.
  virtual std::unique_ptr<RecorderDrive> Grab(const std::string& address, bool loadTray,
                                              ResultCode& error) = 0;
  // Takes the messages queued since the last call (warnings and worse), oldest first.
  virtual std::vector<LayerMessage> TakeMessages() = 0;
};

// The layer the program uses: libburn's unless a test installed its own.
RecordingLayer& GetRecordingLayer();

// Makes GetRecordingLayer return `layer` (not owned; null restores libburn's).
void SetRecordingLayer(RecordingLayer* layer);

}  // namespace forge
