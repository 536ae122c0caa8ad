#include "burning/fake_recording_layer.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace forge::test {
namespace {

class FakeRecorderDrive final : public RecorderDrive {
 public:
  FakeRecorderDrive(FakeRecordingLayer& layer, const FakeDrive& drive, FakeDriveLog& log)
      : layer_(layer), drive_(drive), log_(log) {}
  ~FakeRecorderDrive() override {
    ++log_.releases;
    log_.ejected = log_.ejected || eject_;
  }

  DriveRole Role() override { return drive_.role; }
  bool AnnouncesWriting() override { return drive_.announcesWriting; }
  std::vector<int> Profiles() override { return drive_.profiles; }
  int CurrentProfile() override { return drive_.currentProfile; }
  DiscStatus Status() override { return drive_.status; }
  bool CanStayAppendable() override { return drive_.canStayAppendable; }

  ResultCode StartWrite(ImageStream& source, bool keepAppendable) override {
    ++log_.writesStarted;
    log_.keepAppendable = keepAppendable;
    layer_.Queue(drive_.messagesOnStart);
    if (drive_.startWriteResult != ResultOk) return drive_.startWriteResult;
    source_ = &source;
    sectors_ = static_cast<std::int32_t>(source.Size() / 2048);
    step_ = 0;
    written_ = 0;
    bytesRead_ = 0;
    imageResult_ = ResultOk;
    running_ = true;
    wroteWell_ = false;
    return ResultOk;
  }

  DrivePhase Poll(DriveProgress& progress) override {
    progress = {};
    progress.bytesRead = bytesRead_;
    progress.imageResult = imageResult_;
    if (!running_) return DrivePhase::Idle;
    const auto before = drive_.phasesBefore.size();
    if (step_ < before) {
      ++step_;
      return drive_.phasesBefore[step_ - 1];
    }
    if (cancelled_ || (drive_.failAfterSectors >= 0 && written_ >= drive_.failAfterSectors)) {
      return End(false);
    }
    if (written_ < sectors_) {
      // libburn counts the sector it is at, and the track's size once writing has begun.
      const auto chunk = std::min(drive_.sectorsPerPoll, sectors_ - written_);
      if (!Take(chunk)) {
        progress.imageResult = imageResult_;
        return End(false);
      }
      written_ += chunk;
      progress.startSector = drive_.startSector;
      progress.sectors = sectors_;
      progress.sector = written_;
      progress.bytesRead = bytesRead_;
      progress.bufferSize = 4 << 20;
      progress.bufferFree = (4 << 20) - 65536;
      return DrivePhase::Writing;
    }
    const auto closing = step_ - before;
    if (closing < drive_.phasesAfter.size()) {
      ++step_;
      return drive_.phasesAfter[closing];
    }
    return End(true);
  }

  std::chrono::milliseconds PollInterval() const override { return std::chrono::milliseconds(0); }

  void CancelWrite() override {
    ++log_.cancels;
    cancelled_ = true;
  }

  bool WroteWell() override { return wroteWell_; }
  void Eject() override { eject_ = true; }

 private:
  // Reads like libburn: whole sectors in order; past a read limit the track is padded.
  bool Take(std::int32_t sectors) {
    if (drive_.readsUpTo >= 0) sectors = std::clamp(drive_.readsUpTo - written_, 0, sectors);
    std::string buffer(static_cast<std::size_t>(sectors) * 2048, '\0');
    if (const auto code = source_->Read(std::as_writable_bytes(std::span(buffer)))) {
      imageResult_ = code;
      return false;
    }
    bytesRead_ += static_cast<std::int64_t>(buffer.size());
    log_.written += buffer;
    return true;
  }

  DrivePhase End(bool well) {
    running_ = false;
    wroteWell_ = well;
    layer_.Queue(drive_.messagesAtEnd);
    return DrivePhase::Idle;
  }

  FakeRecordingLayer& layer_;
  const FakeDrive& drive_;
  FakeDriveLog& log_;
  ImageStream* source_ = nullptr;
  std::int32_t sectors_ = 0;
  std::size_t step_ = 0;
  std::int32_t written_ = 0;
  std::int64_t bytesRead_ = 0;
  ResultCode imageResult_ = ResultOk;
  bool running_ = false;
  bool cancelled_ = false;
  bool wroteWell_ = false;
  bool eject_ = false;
};

}  // namespace

FakeRecordingLayer::FakeRecordingLayer() {
  drives_.reserve(16);  // drive objects point into this
  SetRecordingLayer(this);
}

FakeRecordingLayer::~FakeRecordingLayer() { SetRecordingLayer(nullptr); }

FakeDrive& FakeRecordingLayer::Add(FakeDrive drive) {
  drives_.push_back(std::move(drive));
  return drives_.back();
}

ResultCode FakeRecordingLayer::ScanDrives(std::vector<ScannedDrive>& drives) {
  if (scanResult != ResultOk) return scanResult;
  for (const auto& drive : drives_) {
    if (drive.listed) drives.push_back({drive.address, drive.vendor, drive.product});
  }
  return ResultOk;
}

std::vector<std::string> FakeRecordingLayer::MountPaths(const std::string& address) {
  for (const auto& drive : drives_) {
    if (drive.address == address) return drive.mountPaths;
  }
  return {};
}

std::unique_ptr<RecorderDrive> FakeRecordingLayer::Grab(const std::string& address,
                                                        bool loadTray, ResultCode& error) {
  for (const auto& drive : drives_) {
    if (drive.address != address || drive.grabFails) continue;
    auto& log = logs_[address];
    ++log.grabs;
    log.loadTray = loadTray;
    error = ResultOk;
    return std::make_unique<FakeRecorderDrive>(*this, drive, log);
  }
  error = ResultInvalidParameter;
  return nullptr;
}

std::vector<LayerMessage> FakeRecordingLayer::TakeMessages() { return std::exchange(queue_, {}); }

void FakeRecordingLayer::Queue(std::vector<LayerMessage> messages) {
  queue_.insert(queue_.end(), messages.begin(), messages.end());
}

std::vector<int> DvdWriterProfiles() {
  return {0x12, 0x11, 0x15, 0x16, 0x14, 0x13, 0x1a, 0x1b, 0x2b, 0x10, 0x0a, 0x09, 0x08, 0x02};
}

std::vector<int> BluRayWriterProfiles() {
  return {0x43, 0x41, 0x42, 0x40, 0x12, 0x11, 0x15, 0x16, 0x14, 0x13, 0x1a, 0x1b,
          0x2b, 0x10, 0x0a, 0x09, 0x08, 0x02};
}

}  // namespace forge::test
