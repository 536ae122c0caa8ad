#include "extraction/listing_parser.h"

#include <algorithm>
#include <limits>

namespace forge {
namespace {

// Column positions of a table line.
constexpr std::size_t kDateLength = 19;
constexpr std::size_t kAttributesColumn = 20;
constexpr std::size_t kSizeColumn = 26;
constexpr std::size_t kPackedSizeColumn = 39;
constexpr std::size_t kNumberWidth = 12;
constexpr std::size_t kNameColumn = 53;

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithIgnoringCase(std::string_view text, std::string_view start) {
  return text.size() >= start.size() &&
         std::equal(start.begin(), start.end(), text.begin(),
                    [](char a, char b) { return AsciiLower(a) == AsciiLower(b); });
}

// The right-aligned decimal number in one column; 0 when the column is blank (folders).
std::int64_t ReadNumberColumn(std::string_view line, std::size_t column) {
  if (column >= line.size()) return 0;
  std::string_view field = line.substr(column, kNumberWidth);
  field.remove_prefix(std::min(field.find_first_not_of(' '), field.size()));
  std::int64_t value = 0;
  for (const char c : field) {
    if (c < '0' || c > '9') break;
    if (value > (std::numeric_limits<std::int64_t>::max() - (c - '0')) / 10) break;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

ListingParser::ListingParser(std::string_view prefix, std::vector<ArchiveEntry>& entries)
    : prefix_(prefix), topFolder_(prefix.empty() || prefix == "/"), entries_(entries) {}

bool ListingParser::AddLine(std::string_view line) {
  switch (stage_) {
    case Stage::BeforeTable:
      if (line.starts_with(kListingSeparator)) stage_ = Stage::InTable;
      return true;
    case Stage::AfterTable:
      return false;
    case Stage::InTable:
      break;
  }
  if (line.starts_with(kListingSeparator)) {
    stage_ = Stage::AfterTable;
    return false;
  }
  if (line.size() <= kNameColumn) return true;
  std::string_view name = line.substr(kNameColumn);
  if (!topFolder_) {
    if (!StartsWithIgnoringCase(name, prefix_)) return true;
    name.remove_prefix(prefix_.size());
  }
  if (name.empty() || name.find('/') != std::string_view::npos) return true;

  ArchiveEntry entry;
  entry.isFolder = line[kAttributesColumn] == 'D';
  entry.size = ReadNumberColumn(line, kSizeColumn);
  entry.packedSize = ReadNumberColumn(line, kPackedSizeColumn);
  entry.modified = line.substr(0, kDateLength);
  entry.name = name;
  entries_.push_back(std::move(entry));
  return true;
}

void ParseListing(std::string_view listing, std::string_view prefix,
                  std::vector<ArchiveEntry>& entries) {
  ListingParser parser(prefix, entries);
  while (!listing.empty()) {
    const auto end = listing.find('\n');
    const std::string_view line = listing.substr(0, end);
    if (!parser.AddLine(line) || end == std::string_view::npos) break;
    listing.remove_prefix(end + 1);
  }
}

}  // namespace forge
