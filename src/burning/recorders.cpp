#include "burning/recorders.h"

#include "burning/disc_format_data.h"
#include "burning/recording_layer.h"

namespace forge {

ResultCode ListRecorders(std::vector<RecorderEntry>& list) {
  auto& layer = GetRecordingLayer();
  std::vector<ScannedDrive> drives;
  if (const auto code = layer.ScanDrives(drives)) return code;
  for (std::size_t index = 0; index < drives.size(); ++index) {
    const auto& drive = drives[index];
    if (drive.address.empty()) continue;
    auto paths = layer.MountPaths(drive.address);
    // Without a mounted disc the device path tells the user which drive it is.
    if (paths.empty()) paths.push_back(drive.address);
    std::string joined;
    for (const auto& path : paths) {
      if (!joined.empty()) joined += ',';
      joined += path;
    }
    list.push_back({static_cast<std::int32_t>(index), joined + " [" + drive.product + "]",
                    drive.address});
  }
  return ResultOk;
}

ResultCode ListMediaChoices(const std::string& uniqueId, MediaClassFlags& flags,
                            std::vector<MediaChoice>& list) {
  flags.Clear();
  ResultCode error = ResultOk;
  const auto recorder = GetRecordingLayer().Grab(uniqueId, /*loadTray=*/false, error);
  if (!recorder) return ResultInvalidParameter;
  CDiscFormatData writer;
  if (!writer.Initialize(recorder.get(), kClientName)) return ResultInvalidParameter;
  for (const MediaType type : writer.SupportedMediaTypes()) {
    ClassifyMediaType(flags, static_cast<int>(type));
  }
  AppendMediaChoices(flags, list);
  return ResultOk;
}

}  // namespace forge
