#include "app/ini_reader.h"

#include <fstream>
#include <iterator>

#include "app/text_encoding.h"

namespace forge {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kBlanks = " \t";

std::string ToUtf8Text(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) return std::string(bytes.substr(kUtf8Bom.size()));
  if (bytes.starts_with(kUtf16LeBom)) return Utf16LeBytesToUtf8(bytes.substr(kUtf16LeBom.size()));
  return std::string(bytes);
}

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

}  // namespace

const IniSection* IniDocument::Find(std::string_view name) const {
  for (const auto& section : sections) {
    if (section.name == name) return &section;
  }
  return nullptr;
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view key) const {
  const IniSection* found = Find(section);
  if (found == nullptr) return std::nullopt;
  for (const auto& [lineKey, text] : found->lines) {
    if (TrimBlanks(lineKey) == key) return std::string(TrimBlanks(text));
  }
  return std::nullopt;
}

IniDocument ParseIni(std::string_view bytes) {
  const std::string text = ToUtf8Text(bytes);
  IniDocument document;
  IniSection* current = nullptr;
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed.front() == ';') continue;
    if (trimmed.front() == '[' && trimmed.back() == ']' && trimmed.size() >= 2) {
      const std::string name(trimmed.substr(1, trimmed.size() - 2));
      current = nullptr;
      for (auto& section : document.sections) {
        if (section.name == name) current = &section;
      }
      if (current == nullptr) current = &document.sections.emplace_back(IniSection{name, {}});
      continue;
    }
    if (current == nullptr) continue;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
      current->lines.emplace_back(std::string(line), std::string(line));
    } else {
      current->lines.emplace_back(std::string(line.substr(0, equals)),
                                  std::string(line.substr(equals + 1)));
    }
  }
  return document;
}

std::optional<IniDocument> ReadIniFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) return std::nullopt;
  return ParseIni(bytes);
}

}  // namespace forge
