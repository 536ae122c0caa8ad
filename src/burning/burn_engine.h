// Burning the image tree of a DiscImageEngine onto the blank disc of a recorder. Runs on the
// burn window's worker thread (or the command line's main thread) and blocks for the whole
// burn; progress goes to the handler on that same thread.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/result_codes.h"
#include "authoring/disc_image_engine.h"
#include "authoring/file_system_image.h"
#include "burning/burn_progress.h"

namespace forge {

// Writes the engine's tree in `fileSystem` under `volumeLabel` as a new image onto the disc in
// `recorderId` (RecorderEntry::uniqueId, or "stdio:/path" for one of libburn's pseudo-drives:
// a file that takes the image like a disc). The disc is closed unless `closeMedia` is false
// and it can stay appendable; the tray opens afterwards when `eject`, also after a failed or
// cancelled write. Every progress step goes to `target`; an answer of 0 cancels the write.
// Returns 0; ResultInvalidParameter when the recorder or its writer cannot be set up (nothing
// written, no eject) or there is no `target` (nothing written); ResultServiceUnavailable when
// the engine has no image; the code of the image's layout; ResultMediaNotBlank,
// ResultMediaNotSupported, ResultNoMedia; CancelCode after a cancel; or the write's failure
// code. The engine keeps its tree; its image settings keep this burn's label and disc type.
ResultCode BurnToDisc(DiscImageEngine& engine, FileSystemChoice fileSystem,
                      const std::string& volumeLabel, const std::string& recorderId, bool eject,
                      bool closeMedia, const BurnProgressHandler& target);

// Lays an image out for a disc of type `discType`, or returns the code that stopped it.
using ImagePreparation =
    std::function<ResultCode(MediaType discType, std::unique_ptr<ImageResult>& result)>;

struct BurnChoices {
  std::string recorderId;
  bool eject = false;
  bool closeMedia = true;
};

// BurnToDisc with the image laid out by `prepare` once the disc's type is known.
ResultCode BurnImageToDisc(const BurnChoices& choices, const ImagePreparation& prepare,
                           const BurnProgressHandler& target);

}  // namespace forge
