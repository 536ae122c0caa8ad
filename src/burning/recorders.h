// The disc recorders of the machine and the media sizes each can write. Each call grabs and
// releases what it needs; nothing is cached. Called on the UI thread (or the command line),
// never while a burn runs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/result_codes.h"
#include "burning/media_types.h"

namespace forge {

struct RecorderEntry {
  std::int32_t index = 0;    // position in the recording layer's list of drives
  std::string displayText;   // "/media/cdrom0,/mnt/disc [DVD-RW DRIVE]"
  std::string uniqueId;      // the drive's address, for opening it again
};

// Appends the recorders found, in the layer's order. The display text joins with "," where the
// drive's disc is mounted (the drive's device path when nowhere) and adds the product name in
// brackets. Drives without an address are left out. Returns 0, or the layer's code (the list is
// then unchanged); a machine without drives gives 0 and nothing.
ResultCode ListRecorders(std::vector<RecorderEntry>& list);

// Clears `flags`, sets the class of every media type the recorder reads or writes, and appends
// the choice of each class in class order. Returns 0 (a recorder whose types have no class gets
// no choice), or ResultInvalidParameter when the recorder cannot be opened or writes nothing.
ResultCode ListMediaChoices(const std::string& uniqueId, MediaClassFlags& flags,
                            std::vector<MediaChoice>& list);

}  // namespace forge
