#include "ui/popups/window_texts.h"

#include "app/language_table.h"
#include "ui/toolkit/skin_window.h"

namespace forge::ui {

void ApplyLanguageTexts(SkinWindow& window, const std::string& sectionName) {
  auto& section = LanguageTable::Instance().GetSection(sectionName);
  for (const auto& [key, text] : section.Entries()) {
    if (auto* control = window.FindControl(QString::fromStdString(key))) {
      control->SetText(QString::fromStdString(text));
      control->NeedParentUpdate();
    }
  }
}

}  // namespace forge::ui
