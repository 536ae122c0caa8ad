#include "burning/burn_engine.h"

#include "burning/disc_format_data.h"
#include "burning/disc_format_data_event.h"

namespace forge {

ResultCode BurnImageToDisc(const BurnChoices& choices, const ImagePreparation& prepare,
                           const BurnProgressHandler& target) {
  ResultCode error = ResultOk;
  // Grabbing is libburn's exclusive access: no other program writes to the drive meanwhile.
  auto recorder = GetRecordingLayer().Grab(choices.recorderId, /*loadTray=*/true, error);
  if (!recorder) return ResultInvalidParameter;

  CDiscFormatData writer;
  if (!writer.Initialize(recorder.get(), kClientName)) return ResultInvalidParameter;

  std::unique_ptr<TrackSource> image;
  if (const auto code = prepare(writer.CurrentPhysicalMediaType(), image)) return code;
  if (!image) return ResultInvalidParameter;

  ResultCode result = ResultOk;
  {
    auto sink = CDiscFormatDataEvent::Connect(writer, target, error);
    if (!sink) {
      result = error;
    } else {
      writer.SetForceMediaToBeClosed(choices.closeMedia);
      result = writer.Write(*image);
    }
  }
  if (choices.eject) recorder->Eject();
  recorder.reset();  // released (and ejected) before the image goes
  return result;
}

}  // namespace forge
