#include "platform/mount_table.h"

#include <sys/sysmacros.h>

#include <charconv>
#include <fstream>
#include <iterator>

namespace forge {
namespace {

// Undoes the octal escapes the kernel writes for space, tab, newline and backslash.
std::string Unescape(std::string_view field) {
  std::string text;
  text.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const auto digits = field.substr(i + 1, 3);
      if (digits.find_first_not_of("01234567") == std::string_view::npos) {
        text.push_back(static_cast<char>(((digits[0] - '0') << 6) | ((digits[1] - '0') << 3) |
                                         (digits[2] - '0')));
        i += 3;
        continue;
      }
    }
    text.push_back(field[i]);
  }
  return text;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t pos = 0;
  while (pos < line.size()) {
    const auto start = line.find_first_not_of(' ', pos);
    if (start == std::string_view::npos) break;
    auto end = line.find(' ', start);
    if (end == std::string_view::npos) end = line.size();
    fields.push_back(line.substr(start, end - start));
    pos = end;
  }
  return fields;
}

}  // namespace

bool ParseDeviceNumber(std::string_view text, dev_t& device) {
  const auto colon = text.find(':');
  if (colon == std::string_view::npos) return false;
  unsigned major = 0;
  unsigned minor = 0;
  const auto majorText = text.substr(0, colon);
  const auto minorText = text.substr(colon + 1);
  const auto a = std::from_chars(majorText.data(), majorText.data() + majorText.size(), major);
  const auto b = std::from_chars(minorText.data(), minorText.data() + minorText.size(), minor);
  if (a.ec != std::errc() || a.ptr != majorText.data() + majorText.size()) return false;
  if (b.ec != std::errc() || b.ptr != minorText.data() + minorText.size()) return false;
  device = makedev(major, minor);
  return true;
}

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
  // id parent major:minor root mount-point options [optional fields...] - type source options
  std::vector<MountEntry> entries;
  while (!text.empty()) {
    auto end = text.find('\n');
    const auto line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);

    const auto fields = SplitFields(line);
    std::size_t separator = 6;
    while (separator < fields.size() && fields[separator] != "-") ++separator;
    if (fields.size() < 6 || separator + 2 >= fields.size()) continue;
    MountEntry entry;
    if (!ParseDeviceNumber(fields[2], entry.device)) continue;
    entry.mountPoint = Unescape(fields[4]);
    entry.fsType = Unescape(fields[separator + 1]);
    entry.source = Unescape(fields[separator + 2]);
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::vector<MountEntry> ReadMountTable(const std::filesystem::path& mountInfo) {
  std::ifstream file(mountInfo, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  return ParseMountInfo(text);
}

}  // namespace forge
