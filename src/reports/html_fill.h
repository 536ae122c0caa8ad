// Text helpers for filling HTML templates.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace forge {

// Escapes &, <, >, " and ' so that any value is shown as text.
std::string EscapeHtml(std::string_view text);

struct PlaceholderValue {
  std::string_view placeholder;
  std::string value;
};

// Replaces each placeholder's first occurrence at or after the end of the previous replacement,
// in the given order; a placeholder not found there is skipped. Text inserted for one
// placeholder is never searched for the next.
std::string FillPlaceholdersInOrder(std::string_view text, std::span<const PlaceholderValue> values);

// CR LF pairs to LF, and LF to CR LF.
std::string ToLineFeeds(std::string_view text);
std::string ToCrLf(std::string_view text);

}  // namespace forge
