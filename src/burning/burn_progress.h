// The progress of a burn as the burn window receives it.
#pragma once

#include <cstdint>
#include <functional>

namespace forge {

// What the disc writer is doing.
enum class WriteAction : int {
  ValidatingMedia = 0,
  FormattingMedia = 1,
  InitializingHardware = 2,
  CalibratingPower = 3,
  WritingData = 4,
  Finalizing = 5,
  Completed = 6,
};

// One progress step. Times are in seconds; LBAs and counts in 2048-byte sectors; buffer sizes in
// bytes. Fields a step does not carry are 0.
struct BurnProgress {
  std::int32_t elapsedTime = 0;        // writing data and finalising
  std::int32_t remainingTime = 0;      // writing data and finalising
  std::int32_t totalTime = 0;          // writing data and finalising
  std::int32_t startLba = 0;           // writing data only, as are the fields below
  std::int32_t sectorCount = 0;
  std::int32_t lastReadLba = 0;        // the last sector taken from the image
  std::int32_t lastWrittenLba = 0;     // the last sector handed to the disc
  std::int32_t totalSystemBuffer = 0;  // the program's buffer between image and drive
  std::int32_t usedSystemBuffer = 0;
  std::int32_t freeSystemBuffer = 0;
};

// The burn window's side of the progress events: called synchronously on the burning thread for
// every step; `progress` is valid only during the call. Answers non-zero to go on, 0 to cancel
// the write.
using BurnProgressHandler = std::function<int(WriteAction action, const BurnProgress& progress)>;

}  // namespace forge
