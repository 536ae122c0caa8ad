// Stable disk numbers: a disk keeps its number for as long as the numbering lives.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace forge {

// The disks named at the first call are numbered from 0 in name order (loop2 before loop10);
// a name seen later gets the next number never given, so a disk arriving or leaving never
// renumbers the others, and a disk that comes back gets its old number. Thread-safe.
class DiskNumbering {
 public:
  // The numbers of `names`, in the same order; unseen names are numbered first.
  std::vector<std::int32_t> Assign(const std::vector<std::string>& names);
  // The name that holds `number`, if any was given.
  std::optional<std::string> NameOf(std::int32_t number) const;

 private:
  mutable std::mutex mutex_;
  std::map<std::string, std::int32_t> numbers_;
  std::int32_t next_ = 0;
};

// Orders names as a person would: digit runs compare by value ("sda" < "sdb", "loop2" < "loop10").
bool NaturalNameLess(const std::string& a, const std::string& b);

}  // namespace forge
