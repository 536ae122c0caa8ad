#include "reports/html_fill.h"

namespace forge {

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

std::string FillPlaceholdersInOrder(std::string_view text, std::span<const PlaceholderValue> values) {
  std::string out(text);
  std::size_t searchFrom = 0;
  for (const auto& [placeholder, value] : values) {
    const auto at = out.find(placeholder, searchFrom);
    if (at == std::string::npos) continue;
    out.replace(at, placeholder.size(), value);
    searchFrom = at + value.size();
  }
  return out;
}

std::string ToLineFeeds(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out.push_back(text[i]);
  }
  return out;
}

std::string ToCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (const char c : text) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  return out;
}

}  // namespace forge
