#include "burning/burn_engine.h"

#include "burning/disc_format_data.h"
#include "burning/disc_format_data_event.h"
#include "burning/recording_layer.h"

namespace forge {

ResultCode BurnToDisc(DiscImageEngine& engine, FileSystemChoice fileSystem,
                      const std::string& volumeLabel, const std::string& recorderId, bool eject,
                      bool closeMedia, const BurnProgressHandler& target) {
  const auto prepare = [&](MediaType discType, std::unique_ptr<ImageResult>& result) {
    FileSystemImage* image = engine.Image();
    if (image == nullptr) return ResultServiceUnavailable;
    image->SetFileSystemsToCreate(ToFileSystems(fileSystem));
    // A label the file systems cannot hold is the image's business; the burn goes on.
    image->SetVolumeName(volumeLabel);
    image->ChooseImageDefaultsForMediaType(discType);
    return image->CreateResultImage(result);
  };
  return BurnImageToDisc({recorderId, eject, closeMedia}, prepare, target);
}

ResultCode BurnImageToDisc(const BurnChoices& choices, const ImagePreparation& prepare,
                           const BurnProgressHandler& target) {
  ResultCode error = ResultOk;
  // Grabbing is libburn's exclusive access: no other program writes to the drive meanwhile.
  auto recorder = GetRecordingLayer().Grab(choices.recorderId, /*loadTray=*/true, error);
  if (!recorder) return ResultInvalidParameter;

  CDiscFormatData writer;
  if (!writer.Initialize(recorder.get(), kClientName)) return ResultInvalidParameter;

  std::unique_ptr<ImageResult> image;
  if (const auto code = prepare(writer.CurrentPhysicalMediaType(), image)) return code;
  if (!image) return ResultInvalidParameter;

  ResultCode result = ResultOk;
  {
    auto sink = CDiscFormatDataEvent::Connect(writer, target, error);
    if (!sink) {
      result = error;
    } else {
      writer.SetForceMediaToBeClosed(choices.closeMedia);
      result = writer.Write(image->GetImageStream());
    }
  }
  if (choices.eject) recorder->Eject();
  recorder.reset();  // released (and ejected) before the image goes
  return result;
}

}  // namespace forge
