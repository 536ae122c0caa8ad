// Burning an image onto the blank disc of a recorder. Runs on the burn window's worker thread
// (or the command line's main thread) and blocks for the whole burn; progress goes to the
// handler on that same thread.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/result_codes.h"
#include "burning/burn_progress.h"
#include "burning/media_types.h"
#include "burning/recording_layer.h"

namespace forge {

// Lays the image out for a disc of type `discType` and hands over its stream, or returns the
// code that stopped it.
using ImagePreparation =
    std::function<ResultCode(MediaType discType, std::unique_ptr<TrackSource>& image)>;

struct BurnChoices {
  std::string recorderId;   // RecorderEntry::uniqueId, or "stdio:/path" for a pseudo-drive
  bool eject = false;       // open the tray afterwards, also after a failed or cancelled write
  bool closeMedia = true;   // close the disc; otherwise leave it appendable where it can be
};

// Grabs the recorder, binds the writer, prepares the image for the disc, writes it with every
// progress step handed to `target`, ejects when asked, releases everything. Returns 0;
// ResultInvalidParameter when the recorder or its writer cannot be set up or `target` is empty
// (nothing written); the preparation's code; ResultMediaNotBlank, ResultMediaNotSupported,
// ResultNoMedia; CancelCode when `target` answered 0; or the write's failure code.
ResultCode BurnImageToDisc(const BurnChoices& choices, const ImagePreparation& prepare,
                           const BurnProgressHandler& target);

}  // namespace forge
