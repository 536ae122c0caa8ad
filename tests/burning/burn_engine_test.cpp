// The burn over drives as libburn reports them: disc checks, progress events, cancel, eject and
// the result codes a real drive gives.
#include "burning/burn_engine.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "burning/disc_format_data.h"
#include "burning/disc_format_data_event.h"
#include "burning/fake_recording_layer.h"
#include "burning/pattern_image.h"

namespace forge {
namespace {

using test::FakeDrive;
using test::FakeRecordingLayer;
using test::PatternImage;
using test::PatternResult;

constexpr std::uint64_t kImageSize = 100 * 2048;

struct Event {
  WriteAction action;
  BurnProgress progress;
};

// Records every event and answers as told.
struct EventLog {
  std::vector<Event> events;
  // Answer 0 to the n-th event of this action (counted from 1); never when 0.
  WriteAction cancelAction = WriteAction::WritingData;
  int cancelAt = 0;

  BurnProgressHandler Handler() {
    return [this](WriteAction action, const BurnProgress& progress) {
      events.push_back({action, progress});
      if (cancelAt > 0 && action == cancelAction &&
          std::ranges::count(events, action, &Event::action) == cancelAt) {
        return 0;
      }
      return 1;
    };
  }
  std::vector<WriteAction> Actions() const {
    std::vector<WriteAction> actions;
    for (const auto& event : events) {
      if (actions.empty() || actions.back() != event.action) actions.push_back(event.action);
    }
    return actions;
  }
};

// A burn with a pattern image of `size` bytes.
struct Burn {
  BurnChoices choices{.recorderId = "/dev/sr0", .eject = true, .closeMedia = true};
  std::uint64_t size = kImageSize;
  MediaType preparedFor = MediaType::Unknown;
  ResultCode preparation = ResultOk;
  std::function<void(PatternImage&)> setUp;

  ResultCode Run(const BurnProgressHandler& handler) {
    return BurnImageToDisc(
        choices,
        [this](MediaType discType, std::unique_ptr<ImageResult>& image) {
          preparedFor = discType;
          if (preparation != ResultOk) return preparation;
          auto pattern = std::make_unique<PatternResult>(size);
          if (setUp) setUp(pattern->Image());
          image = std::move(pattern);
          return ResultOk;
        },
        handler);
  }
};

FakeDrive DvdWriterWithBlankDvdPlusR() {
  return {.address = "/dev/sr0", .profiles = test::DvdWriterProfiles(), .currentProfile = 0x1b};
}

TEST(BurnToDisc, WritesTheImageWithProgressInOrder) {
  FakeRecordingLayer layer;
  layer.Add(DvdWriterWithBlankDvdPlusR());
  Burn burn;
  EventLog log;
  ASSERT_EQ(burn.Run(log.Handler()), ResultOk);

  EXPECT_EQ(burn.preparedFor, MediaType::DvdPlusR);
  const auto& drive = layer.Log("/dev/sr0");
  EXPECT_EQ(drive.written, PatternImage(kImageSize).Contents());
  EXPECT_TRUE(drive.loadTray);
  EXPECT_TRUE(drive.ejected);
  EXPECT_EQ(drive.releases, 1);
  EXPECT_FALSE(drive.keepAppendable);

  using A = WriteAction;
  EXPECT_EQ(log.Actions(), (std::vector<A>{A::ValidatingMedia, A::InitializingHardware,
                                           A::WritingData, A::Finalizing, A::Completed}));
  std::int32_t lastWritten = -1;
  for (const auto& [action, p] : log.events) {
    if (action == A::WritingData) {
      EXPECT_GT(p.lastWrittenLba, lastWritten);
      lastWritten = p.lastWrittenLba;
      EXPECT_EQ(p.startLba, 0);
      EXPECT_EQ(p.sectorCount, 100);
      EXPECT_LE(p.lastWrittenLba, p.lastReadLba);
      EXPECT_EQ(p.totalSystemBuffer, p.usedSystemBuffer + p.freeSystemBuffer);
      EXPECT_GT(p.totalSystemBuffer, 0);
    } else {
      // Only writing carries sectors and buffers; only writing and finalising carry times.
      EXPECT_EQ(p.sectorCount, 0);
      EXPECT_EQ(p.lastWrittenLba, 0);
      EXPECT_EQ(p.totalSystemBuffer, 0);
    }
  }
  EXPECT_EQ(lastWritten, 100);
}

// What the drive reports about the disc, and the result of burning onto it.
TEST(BurnToDisc, DiscsThatCannotTakeTheImage) {
  const struct {
    const char* disc;
    DiscStatus status;
    int profile;
    ResultCode result;
  } cases[] = {
      {"written, not closed DVD+R", DiscStatus::Appendable, 0x1b, ResultMediaNotBlank},
      {"closed CD-R", DiscStatus::Full, 0x09, ResultMediaNotBlank},
      {"pressed DVD", DiscStatus::Full, 0x10, ResultMediaNotSupported},
      {"pressed CD", DiscStatus::Full, 0x08, ResultMediaNotSupported},
      {"HD DVD-R", DiscStatus::Unsuitable, 0x51, ResultMediaNotSupported},
      {"no disc", DiscStatus::Empty, 0x00, ResultNoMedia},
      {"disc not ready", DiscStatus::Unready, 0x00, ResultBusy},
  };
  for (const auto& c : cases) {
    FakeRecordingLayer layer;
    auto drive = DvdWriterWithBlankDvdPlusR();
    drive.status = c.status;
    drive.currentProfile = c.profile;
    layer.Add(drive);
    Burn burn;
    EventLog log;
    EXPECT_EQ(burn.Run(log.Handler()), c.result) << c.disc;
    EXPECT_EQ(layer.Log("/dev/sr0").writesStarted, 0) << c.disc;
    // The tray opens as asked, so the user can change the disc.
    EXPECT_TRUE(layer.Log("/dev/sr0").ejected) << c.disc;
    EXPECT_EQ(log.Actions(), std::vector<WriteAction>{WriteAction::ValidatingMedia}) << c.disc;
  }
}

// What libburn says when a write fails, and the result.
TEST(BurnToDisc, FailedWritesGiveTheirCause) {
  const LayerMessage notRecordable{0x20139, MessageSeverity::Sorry, 0,
                                   "Drive status is closed or not recordable"};
  const LayerMessage noSuitableMedia{0x2013a, MessageSeverity::Fatal, 0,
                                     "No suitable media detected"};
  const LayerMessage unsuitable{0x2011e, MessageSeverity::Sorry, 0,
                                "Unsuitable media detected. Profile 0051h HD DVD-R"};
  const LayerMessage noSpace{0x20148, MessageSeverity::Sorry, 28,
                             "Cannot write desired amount of 32768 bytes."};
  const LayerMessage writeError{0x2014a, MessageSeverity::Failure, 0, "SCSI error on write"};
  const LayerMessage warning{0x20101, MessageSeverity::Warning, 5, "a warning with an errno"};
  const struct {
    const char* what;
    ResultCode startResult;
    std::int32_t failAfter;
    std::vector<LayerMessage> messagesOnStart;
    std::vector<LayerMessage> messagesAtEnd;
    ResultCode result;
  } cases[] = {
      {"refused at the start", ResultOk, 0, {notRecordable, noSuitableMedia}, {},
       ResultMediaNotBlank},
      {"no write type for the disc", ResultMediaNotSupported, -1, {unsuitable}, {},
       ResultMediaNotSupported},
      {"medium refused while writing", ResultOk, 32, {}, {unsuitable}, ResultMediaNotSupported},
      {"target full", ResultOk, 32, {}, {noSpace}, ResultDiskFull},
      {"drive error", ResultOk, 32, {}, {writeError}, ResultWriteFault},
      {"ended badly without a word", ResultOk, 32, {}, {warning}, ResultWriteFault},
      {"wrote well but said it failed", ResultOk, -1, {}, {writeError}, ResultWriteFault},
  };
  for (const auto& c : cases) {
    FakeRecordingLayer layer;
    auto drive = DvdWriterWithBlankDvdPlusR();
    drive.startWriteResult = c.startResult;
    drive.failAfterSectors = c.failAfter;
    drive.messagesOnStart = c.messagesOnStart;
    drive.messagesAtEnd = c.messagesAtEnd;
    layer.Add(drive);
    Burn burn;
    EventLog log;
    EXPECT_EQ(burn.Run(log.Handler()), c.result) << c.what;
    EXPECT_TRUE(layer.Log("/dev/sr0").ejected) << c.what;
    EXPECT_NE(log.Actions().back(), WriteAction::Completed) << c.what;
  }
}

TEST(BurnToDisc, HandlerAnsweringZeroCancelsTheWrite) {
  FakeRecordingLayer layer;
  layer.Add(DvdWriterWithBlankDvdPlusR());
  Burn burn;
  EventLog log;
  log.cancelAt = 2;  // the second writing event
  EXPECT_EQ(burn.Run(log.Handler()), CancelCode);

  const auto& drive = layer.Log("/dev/sr0");
  EXPECT_EQ(drive.cancels, 1);
  EXPECT_LT(drive.written.size(), kImageSize);
  EXPECT_TRUE(drive.ejected);
  EXPECT_NE(log.Actions().back(), WriteAction::Completed);
}

TEST(BurnToDisc, CancelBeforeTheWriteStartsWritesNothing) {
  FakeRecordingLayer layer;
  layer.Add(DvdWriterWithBlankDvdPlusR());
  Burn burn;
  EventLog log;
  log.cancelAction = WriteAction::ValidatingMedia;
  log.cancelAt = 1;
  EXPECT_EQ(burn.Run(log.Handler()), CancelCode);
  EXPECT_EQ(layer.Log("/dev/sr0").writesStarted, 0);
  EXPECT_TRUE(layer.Log("/dev/sr0").ejected);
}

TEST(BurnToDisc, CancelAtCompletionComesTooLate) {
  FakeRecordingLayer layer;
  layer.Add(DvdWriterWithBlankDvdPlusR());
  Burn burn;
  EventLog log;
  log.cancelAction = WriteAction::Completed;
  log.cancelAt = 1;
  EXPECT_EQ(burn.Run(log.Handler()), ResultOk);
  EXPECT_EQ(layer.Log("/dev/sr0").written.size(), kImageSize);
}

TEST(BurnToDisc, ImageFailures) {
  {
    FakeRecordingLayer layer;
    layer.Add(DvdWriterWithBlankDvdPlusR());
    Burn burn;
    burn.setUp = [](PatternImage& image) { image.FailAt(40 * 2048, ResultReadFault); };
    EventLog log;
    EXPECT_EQ(burn.Run(log.Handler()), ResultReadFault);
    EXPECT_TRUE(layer.Log("/dev/sr0").ejected);
  }
  {
    // A writer that stopped taking the image early and padded the track must not pass for a
    // burned disc.
    FakeRecordingLayer layer;
    auto drive = DvdWriterWithBlankDvdPlusR();
    drive.readsUpTo = 50;
    layer.Add(drive);
    Burn burn;
    EventLog log;
    EXPECT_EQ(burn.Run(log.Handler()), ResultReadFault);
    EXPECT_NE(log.Actions().back(), WriteAction::Completed);
  }
}

TEST(BurnToDisc, CloseMediaAndEjectChoices) {
  const struct {
    bool closeMedia;
    bool discCanStayOpen;
    bool eject;
    bool keptAppendable;
  } cases[] = {
      {true, true, false, false},
      {false, true, true, true},
      {false, false, false, false},  // a disc that cannot stay open is closed anyway
  };
  for (const auto& c : cases) {
    FakeRecordingLayer layer;
    auto drive = DvdWriterWithBlankDvdPlusR();
    drive.canStayAppendable = c.discCanStayOpen;
    layer.Add(drive);
    Burn burn;
    burn.choices.closeMedia = c.closeMedia;
    burn.choices.eject = c.eject;
    EventLog log;
    ASSERT_EQ(burn.Run(log.Handler()), ResultOk);
    EXPECT_EQ(layer.Log("/dev/sr0").keepAppendable, c.keptAppendable);
    EXPECT_EQ(layer.Log("/dev/sr0").ejected, c.eject);
  }
}

TEST(BurnToDisc, NothingHappensWithoutRecorderWriterOrImage) {
  {
    FakeRecordingLayer layer;
    layer.Add({.address = "/dev/sr0", .grabFails = true});
    Burn burn;
    EventLog log;
    EXPECT_EQ(burn.Run(log.Handler()), ResultInvalidParameter);
    EXPECT_TRUE(log.events.empty());
  }
  {
    // A DVD-ROM drive: grabbed, but there is no writer for it; the tray stays shut.
    FakeRecordingLayer layer;
    layer.Add({.address = "/dev/sr0", .announcesWriting = false, .profiles = {0x10, 0x08}});
    Burn burn;
    EventLog log;
    EXPECT_EQ(burn.Run(log.Handler()), ResultInvalidParameter);
    EXPECT_FALSE(layer.Log("/dev/sr0").ejected);
    EXPECT_EQ(layer.Log("/dev/sr0").releases, 1);
  }
  {
    // The image cannot be prepared: its code, no write, no eject.
    FakeRecordingLayer layer;
    layer.Add(DvdWriterWithBlankDvdPlusR());
    Burn burn;
    burn.preparation = ResultServiceUnavailable;
    EventLog log;
    EXPECT_EQ(burn.Run(log.Handler()), ResultServiceUnavailable);
    EXPECT_EQ(layer.Log("/dev/sr0").writesStarted, 0);
    EXPECT_FALSE(layer.Log("/dev/sr0").ejected);
  }
}

TEST(BurnToDisc, WithoutProgressForwardingTheBurnFails) {
  FakeRecordingLayer layer;
  layer.Add(DvdWriterWithBlankDvdPlusR());
  Burn burn;
  EXPECT_EQ(burn.Run(BurnProgressHandler()), ResultInvalidParameter);
  EXPECT_EQ(layer.Log("/dev/sr0").writesStarted, 0);
  EXPECT_TRUE(layer.Log("/dev/sr0").ejected);
}

TEST(CDiscFormatDataEvent, ForwardsWhatEachActionCarries) {
  FakeRecordingLayer layer;
  layer.Add(DvdWriterWithBlankDvdPlusR());
  ResultCode error = ResultOk;
  auto recorder = GetRecordingLayer().Grab("/dev/sr0", false, error);
  CDiscFormatData writer;
  ASSERT_TRUE(writer.Initialize(recorder.get(), kClientName));

  EventLog log;
  auto sink = CDiscFormatDataEvent::Connect(writer, log.Handler(), error);
  ASSERT_TRUE(sink);
  // One sink per writer.
  EXPECT_FALSE(CDiscFormatDataEvent::Connect(writer, log.Handler(), error));
  EXPECT_EQ(error, ResultInvalidParameter);

  const BurnProgress full{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  for (int action = 0; action <= 6; ++action) {
    sink->Update(writer, {static_cast<WriteAction>(action), full});
  }
  ASSERT_EQ(log.events.size(), 7u);
  for (const auto& [action, p] : log.events) {
    const bool times = action == WriteAction::WritingData || action == WriteAction::Finalizing;
    const bool sectors = action == WriteAction::WritingData;
    EXPECT_EQ(p.elapsedTime, times ? 1 : 0);
    EXPECT_EQ(p.remainingTime, times ? 2 : 0);
    EXPECT_EQ(p.totalTime, times ? 3 : 0);
    EXPECT_EQ(p.startLba, sectors ? 4 : 0);
    EXPECT_EQ(p.sectorCount, sectors ? 5 : 0);
    EXPECT_EQ(p.lastReadLba, sectors ? 6 : 0);
    EXPECT_EQ(p.lastWrittenLba, sectors ? 7 : 0);
    EXPECT_EQ(p.totalSystemBuffer, sectors ? 8 : 0);
    EXPECT_EQ(p.usedSystemBuffer, sectors ? 9 : 0);
    EXPECT_EQ(p.freeSystemBuffer, sectors ? 10 : 0);
  }

  // Disconnected with the sink: a new one can connect.
  sink.reset();
  EXPECT_TRUE(CDiscFormatDataEvent::Connect(writer, log.Handler(), error));
}

}  // namespace
}  // namespace forge
