// The classes of the media types recorders report, and the fixed media choice of each class.
// Plain data and pure functions; safe from any thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "authoring/file_system_image.h"  // MediaType

namespace forge {

// The media classes, in the order their choices are offered.
enum class MediaClass : std::size_t { Cd, Dvd, DualLayerDvd, HdDvd, BluRay };
inline constexpr std::size_t kMediaClassCount = 5;

// One flag per media class: set when the recorder supports at least one media type of it.
struct MediaClassFlags {
  std::array<bool, kMediaClassCount> flags{};

  bool Has(MediaClass c) const { return flags[static_cast<std::size_t>(c)]; }
  void Set(MediaClass c) { flags[static_cast<std::size_t>(c)] = true; }
  void Clear() { flags.fill(false); }
};

// One medium size a recorder can write: the burner page's upper limit for the collection.
struct MediaChoice {
  std::uint64_t capacity = 0;  // bytes
  std::string label;           // "4.7GB DVD Media"
};

// Sets the class flag of media type `value`; values without a class (0, 12, anything not in
// the table) change nothing. Read-only types count like writable ones.
void ClassifyMediaType(MediaClassFlags& flags, int value);

// Appends the choice of every class whose flag is set, in class order.
void AppendMediaChoices(const MediaClassFlags& flags, std::vector<MediaChoice>& choices);

// The media type of an MMC profile number as the recording library reports it (0x09 CD-R,
// 0x1b DVD+R, 0x41 BD-R, ...). Profiles without a media type here (the library's pseudo-drive
// profile 0xffff among them) give MediaType::Unknown; removable and fixed disks give Disk.
MediaType MediaTypeOfProfile(int profile);

}  // namespace forge
