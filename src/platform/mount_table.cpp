#include "platform/mount_table.h"

#include <sys/sysmacros.h>

#include <charconv>
#include <fstream>
#include <sstream>

namespace forge {
namespace {

// Undoes the octal escapes ("\040" for a space, "\011", "\012", "\134") of the table's fields.
std::string Unescape(std::string_view field) {
  std::string text;
  text.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const auto digits = field.substr(i + 1, 3);
      bool octal = true;
      for (char c : digits) octal = octal && c >= '0' && c <= '7';
      if (octal) {
        text += static_cast<char>((digits[0] - '0') * 64 + (digits[1] - '0') * 8 + (digits[2] - '0'));
        i += 3;
        continue;
      }
    }
    text += field[i];
  }
  return text;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t pos = 0;
  while (pos < line.size()) {
    while (pos < line.size() && line[pos] == ' ') ++pos;
    const auto end = line.find(' ', pos);
    const auto stop = end == std::string_view::npos ? line.size() : end;
    if (stop > pos) fields.push_back(line.substr(pos, stop - pos));
    pos = stop;
  }
  return fields;
}

bool ParseDeviceNumber(std::string_view field, unsigned& major, unsigned& minor) {
  const auto colon = field.find(':');
  if (colon == std::string_view::npos) return false;
  const auto* end = field.data() + field.size();
  auto first = std::from_chars(field.data(), field.data() + colon, major);
  auto second = std::from_chars(field.data() + colon + 1, end, minor);
  return first.ec == std::errc() && first.ptr == field.data() + colon &&
         second.ec == std::errc() && second.ptr == end;
}

}  // namespace

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
  // 36 35 98:0 /mnt1 /mnt2 rw,noatime master:1 - ext3 /dev/root rw,errors=continue
  // (1)(2)(3)   (4)   (5)      (6)      (7...)  (-) (fs) (source) (super options)
  std::vector<MountEntry> table;
  std::size_t pos = 0;
  while (pos < text.size()) {
    auto end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const auto fields = SplitFields(text.substr(pos, end - pos));
    pos = end + 1;

    std::size_t separator = 6;
    while (separator < fields.size() && fields[separator] != "-") ++separator;
    MountEntry entry;
    if (fields.size() < 7 || separator + 2 >= fields.size() ||
        !ParseDeviceNumber(fields[2], entry.major, entry.minor)) {
      continue;
    }
    entry.mountPoint = Unescape(fields[4]);
    entry.fileSystem = Unescape(fields[separator + 1]);
    entry.source = Unescape(fields[separator + 2]);
    table.push_back(std::move(entry));
  }
  return table;
}

std::vector<MountEntry> ReadMountTable() {
  std::ifstream file("/proc/self/mountinfo");
  if (!file) return {};
  std::ostringstream text;
  text << file.rdbuf();
  return ParseMountInfo(text.str());
}

std::vector<std::string> MountPointsOfDevice(const std::vector<MountEntry>& table, dev_t device) {
  std::vector<std::string> points;
  for (const auto& entry : table) {
    if (entry.major == ::major(device) && entry.minor == ::minor(device)) {
      points.push_back(entry.mountPoint);
    }
  }
  return points;
}

}  // namespace forge
