#include "burning/disc_format_data.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>

#include "burning/disc_format_data_event.h"

namespace forge {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::int64_t kSectorBytes = 2048;

// The profiles libburn can write (CD-R/RW, DVD-R/RW/RAM, DVD-R DL, DVD+RW, DVD+R, DVD+R DL,
// BD-R, BD-RE).
constexpr int kWritableProfiles[] = {0x09, 0x0a, 0x11, 0x12, 0x13, 0x14,
                                     0x15, 0x1a, 0x1b, 0x2b, 0x41, 0x43};

// libburn's messages that tell why a disc cannot be written.
constexpr int kMessageNotRecordable = 0x20139;  // "closed or not recordable"
constexpr int kMessageNoSuitableMedia = 0x2013a;
constexpr int kMessageUnsuitableMedia = 0x2011e;
constexpr int kMessageImageEndedEarly = 0x20180;

bool CanRecorderWrite(RecorderDrive& recorder) {
  switch (recorder.Role()) {
    case DriveRole::PseudoReadWrite:
    case DriveRole::PseudoSequential:
    case DriveRole::PseudoWriteOnly:
      return true;
    case DriveRole::Null:
    case DriveRole::PseudoReadOnly:
      return false;
    case DriveRole::Optical:
      break;
  }
  if (recorder.AnnouncesWriting()) return true;
  const auto profiles = recorder.Profiles();
  return std::ranges::any_of(profiles, [](int profile) {
    return std::ranges::find(kWritableProfiles, profile) != std::end(kWritableProfiles);
  });
}

bool IsReadOnlyType(MediaType type) {
  return type == MediaType::CdRom || type == MediaType::DvdRom || type == MediaType::HdDvdRom ||
         type == MediaType::BdRom;
}

// Whether the disc in the recorder can take a new image from its start.
ResultCode CheckDisc(DiscStatus status, int currentProfile) {
  switch (status) {
    case DiscStatus::Blank:
      return ResultOk;
    case DiscStatus::Empty:
      return ResultNoMedia;
    case DiscStatus::Unready:
      return ResultBusy;
    case DiscStatus::Ungrabbed:
      return ResultInvalidParameter;
    case DiscStatus::Unsuitable:
      return ResultMediaNotSupported;
    case DiscStatus::Appendable:
    case DiscStatus::Full:
      // A pressed disc is full too, but no blanking would ever make it writable.
      return IsReadOnlyType(MediaTypeOfProfile(currentProfile)) ? ResultMediaNotSupported
                                                                 : ResultMediaNotBlank;
  }
  return ResultInvalidParameter;
}

bool IsFailure(const LayerMessage& message) {
  return message.severity >= MessageSeverity::Failure;
}

// The code of a write that did not succeed: what the library said about the disc or the image,
// or the OS error behind its complaint; `otherwise` when it named no cause.
ResultCode FailureOfWrite(const std::vector<LayerMessage>& messages, ResultCode otherwise) {
  for (const auto& message : messages) {
    if (message.severity < MessageSeverity::Sorry) continue;
    if (message.code == kMessageNotRecordable || message.code == kMessageNoSuitableMedia) {
      return ResultMediaNotBlank;
    }
    if (message.code == kMessageUnsuitableMedia) return ResultMediaNotSupported;
    if (message.code == kMessageImageEndedEarly) return ResultReadFault;
  }
  for (const auto& message : messages) {
    if (message.severity >= MessageSeverity::Sorry && message.osErrno != 0) {
      return ResultFromErrno(message.osErrno);
    }
  }
  return otherwise;
}

// `dataStarted`: the track's sectors have been counted before; the library clears the count
// when the track is done.
WriteAction ActionOf(DrivePhase phase, const DriveProgress& progress, bool dataStarted) {
  switch (phase) {
    case DrivePhase::Formatting:
    case DrivePhase::Erasing:
      return WriteAction::FormattingMedia;
    case DrivePhase::Writing:
    case DrivePhase::WritingSync:
      // Until the write knows its track there is nothing to count sectors against.
      if (progress.sectors > 0) return WriteAction::WritingData;
      return dataStarted ? WriteAction::Finalizing : WriteAction::InitializingHardware;
    case DrivePhase::WritingLeadOut:
    case DrivePhase::ClosingTrack:
    case DrivePhase::ClosingSession:
      return WriteAction::Finalizing;
    case DrivePhase::Reading:
    case DrivePhase::ReadingSync:
      return WriteAction::ValidatingMedia;
    case DrivePhase::Idle:
    case DrivePhase::Spawning:
    case DrivePhase::Grabbing:
    case DrivePhase::WritingLeadIn:
    case DrivePhase::WritingPregap:
      break;
  }
  return WriteAction::InitializingHardware;
}

std::int32_t Clamp32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, 0, INT32_MAX));
}

WriteEventArgs ArgsOf(WriteAction action, const DriveProgress& progress, Clock::duration elapsed) {
  WriteEventArgs args;
  args.action = action;
  auto& v = args.values;
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
  v.elapsedTime = Clamp32(seconds);
  if (action == WriteAction::WritingData && progress.sector > 0 &&
      progress.sectors > progress.sector) {
    v.remainingTime = Clamp32(seconds * (progress.sectors - progress.sector) / progress.sector);
  }
  v.totalTime = Clamp32(std::int64_t{v.elapsedTime} + v.remainingTime);
  v.startLba = progress.startSector;
  v.sectorCount = progress.sectors;
  v.lastWrittenLba = Clamp32(std::int64_t{progress.startSector} + progress.sector);
  v.lastReadLba = Clamp32(std::int64_t{progress.startSector} +
                          std::min<std::int64_t>(progress.bytesRead / kSectorBytes,
                                                 progress.sectors));
  v.totalSystemBuffer = Clamp32(progress.bufferSize);
  v.freeSystemBuffer = Clamp32(progress.bufferFree);
  v.usedSystemBuffer = Clamp32(progress.bufferSize - progress.bufferFree);
  return args;
}

}  // namespace

bool IsValidClientName(std::string_view name) {
  if (name.empty() || name.size() > 63) return false;
  return std::ranges::all_of(name, [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view(" ,-.:;_").find(c) != std::string_view::npos;
  });
}

bool CDiscFormatData::Initialize(RecorderDrive* recorder, std::string_view clientName) {
  if (recorder == nullptr) return false;
  lastResult_ = ResultOk;
  if (!CanRecorderWrite(*recorder)) return false;
  writer_ = recorder;
  if (!IsValidClientName(clientName)) {
    lastResult_ = ResultInvalidParameter;
    return false;
  }
  supportedMediaTypes_.clear();
  auto profiles = recorder->Profiles();
  // The loaded disc's profile counts too: a pseudo-drive reports no list, only its own profile.
  const int current = recorder->CurrentProfile();
  if (current != 0 && std::ranges::find(profiles, current) == profiles.end()) {
    profiles.push_back(current);
  }
  for (int profile : profiles) supportedMediaTypes_.push_back(MediaTypeOfProfile(profile));
  return true;
}

MediaType CDiscFormatData::CurrentPhysicalMediaType() const {
  return writer_ != nullptr ? MediaTypeOfProfile(writer_->CurrentProfile()) : MediaType::Unknown;
}

void CDiscFormatData::Raise(const WriteEventArgs& args) {
  if (sink_ != nullptr) sink_->Update(*this, args);
}

void CDiscFormatData::CancelWrite() {
  cancelRequested_ = true;
  if (writeRunning_ && writer_ != nullptr) writer_->CancelWrite();
}

ResultCode CDiscFormatData::Write(ImageStream& image) {
  if (writer_ == nullptr) return ResultInvalidParameter;
  auto& layer = GetRecordingLayer();
  cancelRequested_ = false;
  layer.TakeMessages();  // whatever is queued belongs to earlier work

  Raise({WriteAction::ValidatingMedia, {}});
  if (cancelRequested_) return CancelCode;
  if (const auto code = CheckDisc(writer_->Status(), writer_->CurrentProfile())) return code;

  const bool keepAppendable = !forceMediaToBeClosed_ && writer_->CanStayAppendable();
  const auto started = Clock::now();
  if (const auto code = writer_->StartWrite(image, keepAppendable)) {
    return FailureOfWrite(layer.TakeMessages(), code);
  }
  writeRunning_ = true;

  // One event per change of action, and one per step of the sectors while writing.
  DriveProgress progress;
  std::optional<WriteAction> lastAction;
  std::int32_t lastSector = -1;
  for (;;) {
    const DrivePhase phase = writer_->Poll(progress);
    if (phase == DrivePhase::Idle) break;
    const WriteAction action = ActionOf(phase, progress, lastSector >= 0);
    if (action != lastAction ||
        (action == WriteAction::WritingData && progress.sector != lastSector)) {
      Raise(ArgsOf(action, progress, Clock::now() - started));
      lastAction = action;
      if (action == WriteAction::WritingData) lastSector = progress.sector;
    }
    std::this_thread::sleep_for(writer_->PollInterval());
  }
  writeRunning_ = false;

  const auto messages = layer.TakeMessages();
  // The library pads a track whose image ended early, and may call that writing well.
  const bool wholeImage = progress.bytesRead == static_cast<std::int64_t>(image.Size());
  const bool wroteWell =
      writer_->WroteWell() && wholeImage && std::ranges::none_of(messages, IsFailure);
  if (cancelRequested_) return CancelCode;
  if (progress.imageResult != ResultOk) return progress.imageResult;
  if (!wroteWell) {
    const bool imageEndedEarly = writer_->WroteWell() && !wholeImage;
    return FailureOfWrite(messages, imageEndedEarly ? ResultReadFault : ResultWriteFault);
  }

  Raise(ArgsOf(WriteAction::Completed, {}, Clock::now() - started));
  return ResultOk;
}

}  // namespace forge
