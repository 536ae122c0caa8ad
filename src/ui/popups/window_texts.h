// Putting the texts of a language section on a window's controls.
#pragma once

#include <string>

namespace forge::ui {

class SkinWindow;

// For every key of the active language's section `sectionName`, in key order, the control of
// that name (exact match) gets the key's text and its container lays out again. Keys naming no
// control are ignored. UI thread only.
void ApplyLanguageTexts(SkinWindow& window, const std::string& sectionName);

}  // namespace forge::ui
