#include "app/language_table.h"

#include "app/ini_reader.h"
#include "app/paths.h"

namespace forge {
namespace {

constexpr const char* kDefaultLanguage = "English";

}  // namespace

std::string LanguageSection::LookupText(const std::string& key) {
  std::lock_guard guard(lock_);
  return texts_[key];
}

void LanguageSection::AddIfMissing(const std::string& key, const std::string& text) {
  std::lock_guard guard(lock_);
  texts_.try_emplace(key, text);
}

std::vector<std::pair<std::string, std::string>> LanguageSection::Entries() const {
  std::lock_guard guard(lock_);
  return {texts_.begin(), texts_.end()};
}

LanguageTable& LanguageTable::Instance() {
  static LanguageTable table(GetModuleFolder());
  return table;
}

LanguageTable::LanguageTable(const std::filesystem::path& programFolder)
    : configPath_(programFolder / "config.ini"), languagesFolder_(programFolder / "Languages") {
  activeLanguage_ = kDefaultLanguage;
  if (const auto config = ReadIniFile(configPath_)) {
    if (auto name = config->Value("DefaultLanguage", "Default"); name && !name->empty()) {
      activeLanguage_ = *name;
    }
  }
  languageFile_ = languagesFolder_ / (activeLanguage_ + ".ini");
  Load();
}

void LanguageTable::Load() {
  std::lock_guard guard(sectionsLock_);
  sections_.clear();
  const auto document = ReadIniFile(languageFile_);
  if (!document) return;
  for (const auto& section : document->sections) {
    auto& target = sections_[section.name];
    for (const auto& [key, text] : section.lines) target.AddIfMissing(key, text);
  }
}

LanguageSection& LanguageTable::GetSection(const std::string& name) {
  std::lock_guard guard(sectionsLock_);
  return sections_[name];
}

std::string LanguageTable::LookupText(LanguageSection& section, const std::string& key) {
  return section.LookupText(key);
}

}  // namespace forge
