#include "burning/libburn_layer.h"

#include <stdint.h>  // libburn.h needs the fixed-width types first
#include <sys/stat.h>
#include <unistd.h>

#include <libburn/libburn.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <string_view>
#include <thread>
#include <utility>

#include "burning/drive_mounts.h"

namespace forge {
namespace {

using namespace std::chrono_literals;

// libburn's message that its write thread is about to end; IDLE alone does not say so, since a
// failed write keeps the thread for another half second.
constexpr int kMessageWriteThreadEnded = 0x20178;
// "A drive operation is still going on": a scan or grab met the end of a write thread.
constexpr int kMessageDriveStillBusy = 0x20102;

MessageSeverity SeverityOf(std::string_view name) {
  struct Row {
    std::string_view name;
    MessageSeverity severity;
  };
  static constexpr Row kRows[] = {
      {"ABORT", MessageSeverity::Abort},     {"FATAL", MessageSeverity::Fatal},
      {"FAILURE", MessageSeverity::Failure}, {"SORRY", MessageSeverity::Sorry},
      {"WARNING", MessageSeverity::Warning}, {"HINT", MessageSeverity::Hint},
      {"NOTE", MessageSeverity::Note},       {"UPDATE", MessageSeverity::Update},
  };
  for (const auto& row : kRows) {
    if (row.name == name) return row.severity;
  }
  return MessageSeverity::Debug;
}

// libburn for the whole process: started on first use, finished at exit (after every drive
// object is gone). Scans and grabs change libburn's global drive list and hold `DriveMutex()`.
// libburn's message queue is drained only here: messages of warning and worse are kept for
// TakeMessages, the end of each write thread is counted.
class Library {
 public:
  static Library& Instance() {
    static Library library;
    return library;
  }
  bool Started() const { return started_; }
  std::mutex& DriveMutex() { return driveMutex_; }

  // Moves libburn's queued messages here; returns how many write threads have ended so far.
  std::uint64_t Drain() {
    std::lock_guard lock(messageMutex_);
    int code = 0;
    int osErrno = 0;
    char text[BURN_MSGS_MESSAGE_LEN];
    char severity[80];
    while (started_ && burn::burn_msgs_obtain(const_cast<char*>("ALL"), &code, text, &osErrno,
                                              severity) > 0) {
      if (code == kMessageWriteThreadEnded) ++writeThreadsEnded_;
      const auto level = SeverityOf(severity);
      if (level >= MessageSeverity::Warning) kept_.push_back({code, level, osErrno, text});
    }
    return writeThreadsEnded_;
  }

  std::vector<LayerMessage> Take() {
    Drain();
    std::lock_guard lock(messageMutex_);
    return std::exchange(kept_, {});
  }

  // True (and the message dropped) when libburn refused a scan because a write thread was
  // still ending.
  bool TakeStillBusy() {
    Drain();
    std::lock_guard lock(messageMutex_);
    const auto busy = std::ranges::find(kept_, kMessageDriveStillBusy, &LayerMessage::code);
    if (busy == kept_.end()) return false;
    kept_.erase(busy);
    return true;
  }

  ~Library() {
    if (started_) burn::burn_finish();
  }

 private:
  Library() {
    started_ = burn::burn_initialize() != 0;
    // Everything is queued (the end of a write thread is a debug message); libburn prints
    // nothing itself.
    if (started_) {
      burn::burn_msgs_set_severities(const_cast<char*>("ALL"), const_cast<char*>("NEVER"),
                                     const_cast<char*>("image-forge: "));
    }
  }

  bool started_ = false;
  std::mutex driveMutex_;
  std::mutex messageMutex_;
  std::vector<LayerMessage> kept_;
  std::uint64_t writeThreadsEnded_ = 0;
};

// Runs `attempt` (a scan or grab answering > 0 on success) again while libburn says a write
// thread is still ending, for up to three seconds.
template <typename Attempt>
int RetryWhileBusy(Attempt attempt) {
  int result = attempt();
  for (int tries = 0; result <= 0 && tries < 30 && Library::Instance().TakeStillBusy(); ++tries) {
    std::this_thread::sleep_for(100ms);
    result = attempt();
  }
  return result;
}

std::string TrimmedText(const char* text) {
  std::string_view view(text);
  while (!view.empty() && view.back() == ' ') view.remove_suffix(1);
  while (!view.empty() && view.front() == ' ') view.remove_prefix(1);
  return std::string(view);
}

// The image behind a burn_source. libburn frees the burn_source when it likes, so the image is
// reached only through this link, which the drive cuts once the write thread has ended.
class SourceLink {
 public:
  explicit SourceLink(ImageStream& image)
      : image_(&image), size_(static_cast<off_t>(image.Size())) {}

  // libburn's read: the whole request, or what is left of the image; 0 at its end, −1 when
  // the image failed (the code is kept).
  int Read(unsigned char* buffer, int size) {
    std::lock_guard lock(mutex_);
    if (image_ == nullptr || size < 0 || failure_ != ResultOk) return -1;
    const auto left = static_cast<std::uint64_t>(image_->Size()) - done_;
    const auto count = std::min<std::uint64_t>(static_cast<std::uint64_t>(size), left);
    if (count == 0) return 0;
    if (const auto code = image_->Read(std::span(reinterpret_cast<std::byte*>(buffer), count))) {
      failure_ = code;
      return -1;
    }
    done_ += count;
    bytesRead_ = static_cast<std::int64_t>(done_);
    return static_cast<int>(count);
  }
  void Cut() {
    std::lock_guard lock(mutex_);
    image_ = nullptr;
  }
  std::int64_t BytesRead() const { return bytesRead_.load(); }
  ResultCode Failure() const {
    std::lock_guard lock(mutex_);
    return failure_;
  }
  off_t Size() const { return size_.load(); }
  void SetSize(off_t size) { size_.store(size); }

 private:
  mutable std::mutex mutex_;
  ImageStream* image_;
  std::uint64_t done_ = 0;
  ResultCode failure_ = ResultOk;
  std::atomic<std::int64_t> bytesRead_{0};
  std::atomic<off_t> size_;
};

SourceLink& LinkOf(burn::burn_source* source) {
  return **static_cast<std::shared_ptr<SourceLink>*>(source->data);
}

// A burn_source (version 1) over a link. libburn reads it one sector per call and frees the
// struct with free(), so it comes from calloc().
burn::burn_source* NewBurnSource(std::shared_ptr<SourceLink> link) {
  auto* source = static_cast<burn::burn_source*>(std::calloc(1, sizeof(burn::burn_source)));
  if (source == nullptr) return nullptr;
  source->refcount = 1;
  source->read = nullptr;
  source->version = 1;
  source->read_xt = [](burn::burn_source* s, unsigned char* buffer, int size) {
    return LinkOf(s).Read(buffer, size);
  };
  source->get_size = [](burn::burn_source* s) { return LinkOf(s).Size(); };
  source->set_size = [](burn::burn_source* s, off_t size) {
    LinkOf(s).SetSize(size);
    return 1;
  };
  source->cancel = [](burn::burn_source*) { return 1; };  // the image stops when it goes
  source->free_data = [](burn::burn_source* s) {
    delete static_cast<std::shared_ptr<SourceLink>*>(s->data);
    s->data = nullptr;
  };
  source->data = new std::shared_ptr<SourceLink>(std::move(link));
  return source;
}

class LibburnDrive final : public RecorderDrive {
 public:
  explicit LibburnDrive(burn::burn_drive_info* info) : info_(info), drive_(info->drive) {}

  ~LibburnDrive() override {
    if (writing_) {
      burn::burn_drive_cancel(drive_);
      DriveProgress ignored;
      while (Poll(ignored) != DrivePhase::Idle) std::this_thread::sleep_for(PollInterval());
    }
    EndWrite();
    std::lock_guard lock(Library::Instance().DriveMutex());
    burn::burn_drive_release(drive_, eject_ ? 1 : 0);
    burn::burn_drive_info_free(info_);
  }

  DriveRole Role() override {
    switch (burn::burn_drive_get_drive_role(drive_)) {
      case 1: return DriveRole::Optical;
      case 2: return DriveRole::PseudoReadWrite;
      case 3: return DriveRole::PseudoSequential;
      case 4: return DriveRole::PseudoReadOnly;
      case 5: return DriveRole::PseudoWriteOnly;
      default: return DriveRole::Null;
    }
  }

  bool AnnouncesWriting() override {
    return info_->write_cdr || info_->write_cdrw || info_->write_dvdr || info_->write_dvdram;
  }

  std::vector<int> Profiles() override {
    int count = 0;
    int profiles[64] = {};
    char current[64] = {};
    burn::burn_drive_get_all_profiles(drive_, &count, profiles, current);
    return std::vector<int>(profiles, profiles + std::clamp(count, 0, 64));
  }

  int CurrentProfile() override {
    int profile = 0;
    char name[80] = {};
    return burn::burn_disc_get_profile(drive_, &profile, name) > 0 ? profile : 0;
  }

  DiscStatus Status() override {
    // A drive that is still spinning the disc up answers "unready" for a while.
    auto status = burn::burn_disc_get_status(drive_);
    for (int tries = 0; status == burn::BURN_DISC_UNREADY && tries < 100; ++tries) {
      std::this_thread::sleep_for(100ms);
      status = burn::burn_disc_get_status(drive_);
    }
    switch (status) {
      case burn::BURN_DISC_BLANK: return DiscStatus::Blank;
      case burn::BURN_DISC_EMPTY: return DiscStatus::Empty;
      case burn::BURN_DISC_APPENDABLE: return DiscStatus::Appendable;
      case burn::BURN_DISC_FULL: return DiscStatus::Full;
      case burn::BURN_DISC_UNGRABBED: return DiscStatus::Ungrabbed;
      case burn::BURN_DISC_UNSUITABLE: return DiscStatus::Unsuitable;
      default: return DiscStatus::Unready;
    }
  }

  bool CanStayAppendable() override {
    burn::burn_multi_caps* caps = nullptr;
    const int possible = burn::burn_disc_get_multi_caps(drive_, burn::BURN_WRITE_NONE, &caps, 0);
    const bool multi = possible > 0 && caps != nullptr && caps->multi_session != 0;
    if (caps != nullptr) burn::burn_disc_free_multi_caps(&caps);
    return multi;
  }

  ResultCode StartWrite(ImageStream& image, bool keepAppendable) override {
    if (writing_) return ResultBusy;
    if (const auto code = TruncatePseudoDriveFile()) return code;

    link_ = std::make_shared<SourceLink>(image);
    burn::burn_source* input = NewBurnSource(link_);
    if (input == nullptr) {
      EndWrite();
      return ResultOutOfMemory;
    }
    disc_ = burn::burn_disc_create();
    burn::burn_session* session = burn::burn_session_create();
    burn::burn_disc_add_session(disc_, session, BURN_POS_END);
    burn::burn_track* track = burn::burn_track_create();
    burn::burn_track_define_data(track, 0, 0, 1, BURN_MODE1);
    const bool attached = burn::burn_track_set_source(track, input) == burn::BURN_SOURCE_OK;
    burn::burn_source_free(input);  // the track holds it now
    burn::burn_session_add_track(session, track, BURN_POS_END);
    burn::burn_track_free(track);
    burn::burn_session_free(session);
    options_ = burn::burn_write_opts_new(drive_);
    if (!attached || options_ == nullptr) {
      EndWrite();
      return ResultInvalidParameter;
    }
    burn::burn_write_opts_set_underrun_proof(options_, 1);
    burn::burn_write_opts_set_multi(options_, keepAppendable ? 1 : 0);
    char reasons[BURN_REASONS_LEN] = {};
    if (burn::burn_write_opts_auto_write_type(options_, disc_, reasons, 0) ==
        burn::BURN_WRITE_NONE) {
      EndWrite();
      return ResultMediaNotSupported;
    }
    threadsEndedBefore_ = Library::Instance().Drain();
    burn::burn_disc_write(options_, disc_);
    // A write that libburn refused at once started no thread and left the drive idle.
    writing_ = true;
    threadStarted_ = burn::burn_drive_get_status(drive_, nullptr) != burn::BURN_DRIVE_IDLE;
    wroteWell_ = false;
    return ResultOk;
  }

  DrivePhase Poll(DriveProgress& progress) override {
    burn::burn_progress p{};
    const DrivePhase phase = PhaseOf(burn::burn_drive_get_status(drive_, &p));
    progress = {};
    progress.startSector = p.start_sector;
    progress.sectors = p.sectors;
    progress.sector = p.sector;
    progress.bufferSize = p.buffer_capacity;
    progress.bufferFree = p.buffer_available;
    progress.bytesRead = link_ ? link_->BytesRead() : lastBytesRead_;
    progress.imageResult = link_ ? link_->Failure() : lastImageResult_;
    if (phase == DrivePhase::Idle && writing_) {
      WaitForWriteThread();
      wroteWell_ = burn::burn_drive_wrote_well(drive_) == 1;
      writing_ = false;
      EndWrite();
      progress.bytesRead = lastBytesRead_;
      progress.imageResult = lastImageResult_;
    }
    return phase;
  }

  std::chrono::milliseconds PollInterval() const override { return 100ms; }

  void CancelWrite() override {
    if (writing_) burn::burn_drive_cancel(drive_);
  }

  bool WroteWell() override { return wroteWell_; }

  void Eject() override { eject_ = true; }

 private:
  static DrivePhase PhaseOf(burn::burn_drive_status status) {
    switch (status) {
      case burn::BURN_DRIVE_IDLE: return DrivePhase::Idle;
      case burn::BURN_DRIVE_SPAWNING: return DrivePhase::Spawning;
      case burn::BURN_DRIVE_READING: return DrivePhase::Reading;
      case burn::BURN_DRIVE_WRITING: return DrivePhase::Writing;
      case burn::BURN_DRIVE_WRITING_LEADIN: return DrivePhase::WritingLeadIn;
      case burn::BURN_DRIVE_WRITING_LEADOUT: return DrivePhase::WritingLeadOut;
      case burn::BURN_DRIVE_ERASING: return DrivePhase::Erasing;
      case burn::BURN_DRIVE_GRABBING: return DrivePhase::Grabbing;
      case burn::BURN_DRIVE_WRITING_PREGAP: return DrivePhase::WritingPregap;
      case burn::BURN_DRIVE_CLOSING_TRACK: return DrivePhase::ClosingTrack;
      case burn::BURN_DRIVE_CLOSING_SESSION: return DrivePhase::ClosingSession;
      case burn::BURN_DRIVE_FORMATTING: return DrivePhase::Formatting;
      case burn::BURN_DRIVE_READING_SYNC: return DrivePhase::ReadingSync;
      case burn::BURN_DRIVE_WRITING_SYNC: return DrivePhase::WritingSync;
    }
    return DrivePhase::Writing;
  }

  // libburn reports the drive idle before its write thread has finished with a failed write;
  // the disc, the image and the drive stay untouched until the thread says it ends.
  void WaitForWriteThread() {
    if (!threadStarted_) return;
    auto& library = Library::Instance();
    for (int tries = 0; tries < 1000 && library.Drain() == threadsEndedBefore_; ++tries) {
      std::this_thread::sleep_for(10ms);
    }
  }

  // libburn writes into a pseudo-drive's file without shortening it; a file that held a longer
  // image before would keep that image's tail.
  ResultCode TruncatePseudoDriveFile() {
    if (Role() != DriveRole::PseudoReadWrite) return ResultOk;
    char address[BURN_DRIVE_ADR_LEN] = {};
    if (burn::burn_drive_d_get_adr(drive_, address) <= 0) return ResultOk;
    struct stat info {};
    if (::stat(address, &info) != 0 || !S_ISREG(info.st_mode)) return ResultOk;
    if (::truncate(address, 0) != 0) return ResultFromErrno(errno);
    return ResultOk;
  }

  // Frees what the last write used; the image is not read any more after this.
  void EndWrite() {
    if (disc_ != nullptr) burn::burn_disc_free(disc_);
    if (options_ != nullptr) burn::burn_write_opts_free(options_);
    disc_ = nullptr;
    options_ = nullptr;
    if (link_) {
      link_->Cut();
      lastBytesRead_ = link_->BytesRead();
      lastImageResult_ = link_->Failure();
    }
    link_.reset();
  }

  burn::burn_drive_info* info_;
  burn::burn_drive* drive_;
  bool eject_ = false;
  bool writing_ = false;
  bool threadStarted_ = false;
  std::uint64_t threadsEndedBefore_ = 0;
  bool wroteWell_ = false;
  burn::burn_disc* disc_ = nullptr;
  burn::burn_write_opts* options_ = nullptr;
  std::shared_ptr<SourceLink> link_;
  std::int64_t lastBytesRead_ = 0;
  ResultCode lastImageResult_ = ResultOk;
};

class LibburnLayer final : public RecordingLayer {
 public:
  ResultCode ScanDrives(std::vector<ScannedDrive>& drives) override {
    auto& library = Library::Instance();
    if (!library.Started()) return ResultServiceUnavailable;
    std::lock_guard lock(library.DriveMutex());
    burn::burn_drive_clear_whitelist();
    burn::burn_drive_info* infos = nullptr;
    unsigned int count = 0;
    const int done = RetryWhileBusy([&] {
      int result = 0;
      while ((result = burn::burn_drive_scan(&infos, &count)) == 0) {
        std::this_thread::sleep_for(10ms);
      }
      return result;
    });
    if (done < 0) return ResultServiceUnavailable;
    if (infos == nullptr) return ResultOk;
    for (unsigned int i = 0; i < count; ++i) {
      char address[BURN_DRIVE_ADR_LEN] = {};
      ScannedDrive drive;
      if (burn::burn_drive_get_adr(&infos[i], address) > 0) drive.address = address;
      drive.vendor = TrimmedText(infos[i].vendor);
      drive.product = TrimmedText(infos[i].product);
      drives.push_back(std::move(drive));
    }
    // Scanned drives stay locked until forgotten; other programs may want them.
    for (unsigned int i = 0; i < count; ++i) burn::burn_drive_info_forget(&infos[i], 0);
    burn::burn_drive_info_free(infos);
    return ResultOk;
  }

  std::vector<std::string> MountPaths(const std::string& address) override {
    return MountPointsOfDrive(address);
  }

  std::unique_ptr<RecorderDrive> Grab(const std::string& address, bool loadTray,
                                      ResultCode& error) override {
    auto& library = Library::Instance();
    if (!library.Started()) {
      error = ResultServiceUnavailable;
      return nullptr;
    }
    std::lock_guard lock(library.DriveMutex());
    std::string target = address;
    if (!target.starts_with("stdio:")) {
      // A link such as /dev/cdrom leads to the drive's own address.
      char converted[BURN_DRIVE_ADR_LEN] = {};
      if (burn::burn_drive_convert_fs_adr(target.data(), converted) == 1) target = converted;
    }
    burn::burn_drive_info* info = nullptr;
    const int grabbed = RetryWhileBusy([&] {
      if (info != nullptr) burn::burn_drive_info_free(info);
      info = nullptr;
      return burn::burn_drive_scan_and_grab(&info, target.data(), loadTray ? 1 : 0);
    });
    if (grabbed <= 0 || info == nullptr) {
      if (info != nullptr) burn::burn_drive_info_free(info);
      error = ResultInvalidParameter;
      return nullptr;
    }
    error = ResultOk;
    return std::make_unique<LibburnDrive>(info);
  }

  std::vector<LayerMessage> TakeMessages() override { return Library::Instance().Take(); }
};

}  // namespace

RecordingLayer& LibburnRecordingLayer() {
  static LibburnLayer layer;
  return layer;
}

}  // namespace forge
