// The file that keeps the archiver's list output between folder listings.
#pragma once

#include <filesystem>
#include <functional>
#include <span>
#include <string_view>

#include "platform/file_descriptor.h"

namespace forge {

// <app data>/Norvessa Image Forge/extractiso.tmp
std::filesystem::path ListingFilePath();

// Replaces the file at `path` by a new empty one, opened for reading and writing. A run that
// replaces it at the same time gets its own file and never writes into this one. On failure
// returns an invalid descriptor and sets `error` to the errno value.
FileDescriptor CreateListingFile(const std::filesystem::path& path, int& error);

// Writes all of `bytes`; false with `error` set when a write fails.
bool WriteExactly(int fd, std::span<const char> bytes, int& error);

// Reads the file from its start through `block` and hands every line, without its line feed, to
// `onLine` until it returns false. Lines may be longer than the block. False with `error` set
// when a read fails.
bool ReadLines(int fd, std::span<char> block, const std::function<bool(std::string_view)>& onLine,
               int& error);

}  // namespace forge
