// Reading the archiver's list output: the table between two separator lines, one entry a line
// in fixed columns, paths inside the image separated by "/".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "extraction/archive_entry.h"

namespace forge {

// The line above and below the table of the archiver's list output.
inline constexpr std::string_view kListingSeparator =
    "------------------- ----- ------------ ------------  ------------------------";

// Keeps the entries directly inside one folder of the image, fed one line at a time.
// Appends to the caller's list, which must outlive the parser. One thread.
class ListingParser {
 public:
  // `prefix`: the folder's path inside the image, "/" (or empty) for the top folder, otherwise
  // the folder names each followed by "/" ("Docs/2013/"). Compared without regard to the case
  // of ASCII letters.
  ListingParser(std::string_view prefix, std::vector<ArchiveEntry>& entries);

  // One line without its line feed; of any length. Returns false once the table has ended,
  // after which further lines are not needed.
  bool AddLine(std::string_view line);

 private:
  enum class Stage { BeforeTable, InTable, AfterTable };

  std::string prefix_;
  bool topFolder_;
  std::vector<ArchiveEntry>& entries_;
  Stage stage_ = Stage::BeforeTable;
};

// Appends the entries directly inside the folder `prefix` (as ListingParser takes it) that the
// list output `listing` holds. An output without a table adds nothing.
void ParseListing(std::string_view listing, std::string_view prefix,
                  std::vector<ArchiveEntry>& entries);

}  // namespace forge
