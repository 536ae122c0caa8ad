// The data writer of one recorder: checks the disc, writes an image onto it as one track, and
// raises a progress event for every step it takes. Used by one thread (the burning thread);
// CancelWrite may be called from inside an event.
#pragma once

#include <string_view>
#include <vector>

#include "app/result_codes.h"
#include "burning/burn_progress.h"
#include "burning/media_types.h"
#include "burning/recording_layer.h"

namespace forge {

class CDiscFormatDataEvent;

// The name the program gives itself when it binds a writer to a recorder.
inline constexpr std::string_view kClientName = "VEVOvez";

// A client name is 1 to 63 characters, each a letter, a digit or one of " ,-.:;_".
bool IsValidClientName(std::string_view name);

// One progress event as the writer raises it, every field filled; the event sink decides what
// the burn window gets (see BurnProgress).
struct WriteEventArgs {
  WriteAction action = WriteAction::ValidatingMedia;
  BurnProgress values;
};

class CDiscFormatData {
 public:
  // Binds the writer to `recorder` (not owned; must outlive this object) under `clientName` and
  // reads the media types the recorder supports. False when the recorder is null, writes no
  // medium, or the name is refused (LastResult() then says why).
  bool Initialize(RecorderDrive* recorder, std::string_view clientName);

  // The type of the disc now in the recorder; Unknown without one.
  MediaType CurrentPhysicalMediaType() const;
  // Close the disc after the write (true), or leave it appendable where the disc allows.
  void SetForceMediaToBeClosed(bool close) { forceMediaToBeClosed_ = close; }

  // Writes `image` as the one track of a new session onto the blank disc and returns when the
  // write has ended: 0, ResultMediaNotBlank, ResultMediaNotSupported, ResultNoMedia, CancelCode
  // after CancelWrite, the image's own failure code, or the failure of the write.
  ResultCode Write(ImageStream& image);
  // Asks the running write to stop (callable from an event).
  void CancelWrite();

  const std::vector<MediaType>& SupportedMediaTypes() const { return supportedMediaTypes_; }
  ResultCode LastResult() const { return lastResult_; }

 private:
  friend class CDiscFormatDataEvent;
  void Raise(const WriteEventArgs& args);

  RecorderDrive* writer_ = nullptr;
  std::vector<MediaType> supportedMediaTypes_;
  ResultCode lastResult_ = ResultOk;
  bool forceMediaToBeClosed_ = true;
  CDiscFormatDataEvent* sink_ = nullptr;
  bool cancelRequested_ = false;
  bool writeRunning_ = false;
};

}  // namespace forge
