// The block the archiver's output passes through, and the listing of the loaded image.
#pragma once

#include <cstddef>
#include <memory>
#include <span>

#include "app/result_codes.h"
#include "platform/file_descriptor.h"

namespace forge {

// 10 MiB, the block size the windows create.
inline constexpr std::size_t kListingBufferSize = 0xA00000;

// Owned by one caller (the main window for browsing, an extraction for its runs) and used by one
// thread at a time. Movable, not copyable.
class ListingBuffer {
 public:
  // The block's pages are only touched as far as output fills them.
  explicit ListingBuffer(std::size_t size = kListingBufferSize);

  std::size_t size() const { return size_; }
  std::span<char> data() { return {data_.get(), size_}; }

  // True once the listing of the loaded image has been produced. Clear it when another image is
  // loaded: the next folder listing then runs the archiver again.
  bool listed = false;

  // The listing run's output, kept open so that another listing (another window, another
  // program) replacing the listing file cannot swap it; invalid when the archiver could not run.
  FileDescriptor listing;
  // The listing run's result (0, or why the image could not be listed).
  ResultCode listingResult = ResultOk;

 private:
  std::size_t size_;
  std::unique_ptr<char[]> data_;
};

}  // namespace forge
