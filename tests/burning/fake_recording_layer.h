// A double of the disc-recording layer for what a machine here does not have: optical drives
// with discs in them. Each drive is described by what libburn reports for a real drive (role,
// profile list, disc status, messages); a write reads the image as it goes and walks through
// libburn's phases. Installed with SetRecordingLayer for the life of the object.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "burning/recording_layer.h"

namespace forge::test {

struct FakeDrive {
  std::string address;
  std::string vendor = "HL-DT-ST";
  std::string product = "DVDRAM GH24NSD1";
  std::vector<std::string> mountPaths{};
  bool listed = true;  // found by a scan
  bool grabFails = false;
  DriveRole role = DriveRole::Optical;
  bool announcesWriting = true;
  std::vector<int> profiles{};
  int currentProfile = 0;
  DiscStatus status = DiscStatus::Blank;
  bool canStayAppendable = true;

  // The write.
  ResultCode startWriteResult = ResultOk;
  std::vector<LayerMessage> messagesOnStart{}; // queued by StartWrite
  std::int32_t startSector = 0;
  std::int32_t sectorsPerPoll = 16;
  std::vector<DrivePhase> phasesBefore = {DrivePhase::Spawning, DrivePhase::WritingLeadIn};
  std::vector<DrivePhase> phasesAfter = {DrivePhase::ClosingTrack, DrivePhase::ClosingSession};
  std::int32_t failAfterSectors = -1;          // ends the write there, not well
  std::int32_t readsUpTo = -1;                 // takes no more sectors of the image than this
  std::vector<LayerMessage> messagesAtEnd{};   // queued when the write ends
};

// What happened to one drive.
struct FakeDriveLog {
  int grabs = 0;
  bool loadTray = false;
  int releases = 0;
  bool ejected = false;
  int writesStarted = 0;
  bool keepAppendable = false;
  int cancels = 0;
  std::string written;  // the bytes the write took from the image
};

class FakeRecordingLayer final : public RecordingLayer {
 public:
  FakeRecordingLayer();
  ~FakeRecordingLayer() override;

  FakeDrive& Add(FakeDrive drive);
  FakeDriveLog& Log(const std::string& address) { return logs_[address]; }
  ResultCode scanResult = ResultOk;

  ResultCode ScanDrives(std::vector<ScannedDrive>& drives) override;
  std::vector<std::string> MountPaths(const std::string& address) override;
  std::unique_ptr<RecorderDrive> Grab(const std::string& address, bool loadTray,
                                      ResultCode& error) override;
  std::vector<LayerMessage> TakeMessages() override;

  void Queue(std::vector<LayerMessage> messages);

 private:
  std::vector<FakeDrive> drives_;  // in scan order
  std::map<std::string, FakeDriveLog> logs_;
  std::vector<LayerMessage> queue_;
};

// The profile list libburn reports for a typical DVD writer (DVD±R/RW/DL, DVD-RAM, CD-R/RW),
// in the drive's order.
std::vector<int> DvdWriterProfiles();
// The same for a Blu-ray writer.
std::vector<int> BluRayWriterProfiles();

}  // namespace forge::test
