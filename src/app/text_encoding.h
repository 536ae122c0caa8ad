// Conversions between UTF-8 (the program's text) and UTF-16 (what some file formats store).
#pragma once

#include <string>
#include <string_view>

namespace forge {

// Invalid sequences become U+FFFD; characters outside the BMP become surrogate pairs.
std::u16string Utf8ToUtf16(std::string_view text);

// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Decodes little-endian UTF-16 bytes (without a byte-order mark) into UTF-8.
std::string Utf16LeBytesToUtf8(std::string_view bytes);

}  // namespace forge
