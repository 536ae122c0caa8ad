// One entry of an image as the archiver lists it.
#pragma once

#include <cstdint>
#include <string>

namespace forge {

// Plain value; copied freely.
struct ArchiveEntry {
  bool isFolder = false;
  std::int64_t size = 0;        // bytes, as listed (0 for folders)
  std::int64_t packedSize = 0;  // bytes the entry takes in the image, as listed
  std::string modified;         // local time as listed: "YYYY-MM-DD hh:mm:ss"
  std::string name;             // UTF-8, relative to the listed folder

  friend bool operator==(const ArchiveEntry&, const ArchiveEntry&) = default;
};

}  // namespace forge
