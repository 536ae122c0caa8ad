// Reads INI files the way the language and configuration files are written: sections in file
// order, each line split at its first "=", nothing trimmed around keys and texts.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace forge {

struct IniSection {
  std::string name;
  // Lines in file order as (key, text); a line without "=" is its own key and text. Equal keys
  // may repeat here; readers that want one text per key take the first.
  std::vector<std::pair<std::string, std::string>> lines;
};

struct IniDocument {
  // Sections in the order the file first names them; a section named twice is one section.
  std::vector<IniSection> sections;

  const IniSection* Find(std::string_view name) const;
  // The text of the first line with `key` in `section`, surrounding blanks removed.
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;
};

// Parses the contents of a file. UTF-8 with or without a byte-order mark, and UTF-16 LE with a
// byte-order mark, are accepted. Blank lines, ";" comment lines and lines before the first
// section are skipped. Names are case-sensitive.
IniDocument ParseIni(std::string_view bytes);

// Reads and parses a file; nullopt when it cannot be read.
std::optional<IniDocument> ReadIniFile(const std::filesystem::path& path);

}  // namespace forge
