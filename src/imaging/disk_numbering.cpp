#include "imaging/disk_numbering.h"

#include <algorithm>
#include <cctype>

namespace forge {

bool NaturalNameLess(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  std::size_t j = 0;
  const auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
  while (i < a.size() && j < b.size()) {
    if (isDigit(a[i]) && isDigit(b[j])) {
      std::size_t endA = i;
      std::size_t endB = j;
      while (endA < a.size() && isDigit(a[endA])) ++endA;
      while (endB < b.size() && isDigit(b[endB])) ++endB;
      // Compare the runs by value: without leading zeros, the longer run is larger.
      while (i + 1 < endA && a[i] == '0') ++i;
      while (j + 1 < endB && b[j] == '0') ++j;
      if (endA - i != endB - j) return endA - i < endB - j;
      const int order = a.compare(i, endA - i, b, j, endB - j);
      if (order != 0) return order < 0;
      i = endA;
      j = endB;
    } else {
      if (a[i] != b[j]) return a[i] < b[j];
      ++i;
      ++j;
    }
  }
  if ((a.size() - i) != (b.size() - j)) return a.size() - i < b.size() - j;
  return a < b;
}

std::vector<std::int32_t> DiskNumbering::Assign(const std::vector<std::string>& names) {
  std::lock_guard lock(mutex_);
  std::vector<std::string> unseen;
  for (const auto& name : names) {
    if (!numbers_.contains(name)) unseen.push_back(name);
  }
  std::sort(unseen.begin(), unseen.end(), NaturalNameLess);
  unseen.erase(std::unique(unseen.begin(), unseen.end()), unseen.end());
  for (const auto& name : unseen) numbers_.emplace(name, next_++);

  std::vector<std::int32_t> result;
  result.reserve(names.size());
  for (const auto& name : names) result.push_back(numbers_.at(name));
  return result;
}

std::optional<std::string> DiskNumbering::NameOf(std::int32_t number) const {
  std::lock_guard lock(mutex_);
  for (const auto& [name, held] : numbers_) {
    if (held == number) return name;
  }
  return std::nullopt;
}

}  // namespace forge
