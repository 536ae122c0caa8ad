// Readable test failures for archive entries.
#pragma once

#include <ostream>

#include "extraction/archive_entry.h"

namespace forge {

inline void PrintTo(const ArchiveEntry& entry, std::ostream* out) {
  *out << (entry.isFolder ? "folder " : "file ") << '"' << entry.name << "\" " << entry.size
       << '/' << entry.packedSize << ' ' << entry.modified;
}

}  // namespace forge
