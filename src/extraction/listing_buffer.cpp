#include "extraction/listing_buffer.h"

#include <algorithm>

namespace forge {

ListingBuffer::ListingBuffer(std::size_t size)
    : size_(std::max<std::size_t>(size, 1)), data_(std::make_unique_for_overwrite<char[]>(size_)) {}

}  // namespace forge
