// Opening and examining files by paths of any length. Paths up to PATH_MAX go to the system as
// they are; longer ones are followed one folder at a time through descriptors.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <string>

namespace forge {

// open(2) on `path` with `flags` (and `mode` with O_CREAT). Returns the descriptor, or -1 with
// errno set. Symbolic links along the way are followed.
int OpenLongPath(const std::string& path, int flags, mode_t mode = 0);

// stat(2) on `path`, following symbolic links. Returns 0, or -1 with errno set.
int StatLongPath(const std::string& path, struct stat& info);

}  // namespace forge
