// The texts of the active language: one process-wide table loaded from
// <program folder>/Languages/<name>.ini, where config.ini's [DefaultLanguage] Default=<name>
// picks the language ("English" when unset).
#pragma once

#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace forge {

// One section of a language file: control names or message keys to texts. Look-ups may come
// from the interface thread and a progress window's worker at once; the section locks itself.
class LanguageSection {
 public:
  LanguageSection() = default;
  LanguageSection(const LanguageSection&) = delete;
  LanguageSection& operator=(const LanguageSection&) = delete;

  // The text of `key`. A missing key is added with an empty text, which is returned.
  std::string LookupText(const std::string& key);

  // Adds `key` unless the section already has it (the first text of a key wins).
  void AddIfMissing(const std::string& key, const std::string& text);

  // A copy of all (key, text) pairs in ascending key order.
  std::vector<std::pair<std::string, std::string>> Entries() const;

 private:
  mutable std::mutex lock_;
  std::map<std::string, std::string> texts_;
};

class LanguageTable {
 public:
  // The process-wide table of the program folder; the first call loads it.
  static LanguageTable& Instance();

  // A table for the given program folder (tests build their own).
  explicit LanguageTable(const std::filesystem::path& programFolder);
  LanguageTable(const LanguageTable&) = delete;
  LanguageTable& operator=(const LanguageTable&) = delete;

  // The section of that name; a section the file lacks is created empty. The reference stays
  // valid for the table's life.
  LanguageSection& GetSection(const std::string& name);

  // Same as section.LookupText(key).
  static std::string LookupText(LanguageSection& section, const std::string& key);

  const std::string& ActiveLanguage() const { return activeLanguage_; }
  const std::filesystem::path& LanguageFilePath() const { return languageFile_; }

 private:
  void Load();

  std::filesystem::path configPath_;
  std::filesystem::path languagesFolder_;
  std::filesystem::path languageFile_;
  std::string activeLanguage_;
  std::mutex sectionsLock_;
  std::map<std::string, LanguageSection> sections_;
};

}  // namespace forge
