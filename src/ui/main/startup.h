// The program from start to end.
//
// Start-up, in this order:
//   1. the report record (it makes the report folder and loads the language table);
//   2. the report templates are checked: when one was changed or is missing, the box
//      "Invalid Report Theme." is shown and the program ends;
//   3. one program per user: when another one runs, it is asked to show its main window and
//      this one ends; when that one has no window yet, the box "Norvessa Image Forge is
//      running." is shown and this one ends;
//   4. the main window is made, centred and shown; it answers later starts and hears of disks
//      that come and go;
//   5. the event loop runs until the window is closed or the Help menu's Exit ends it;
//   6. everything is undone in reverse order.
// The exit code is 0 on every path; only a layout that cannot be loaded ends the program with
// 1 (the toolkit's load failure).
//
// UI thread only; a QApplication must exist.
#pragma once

#include <filesystem>

namespace forge {
class SingleInstance;
}

namespace forge::ui {

inline constexpr char16_t kInvalidReportTheme[] = u"Invalid Report Theme.";
inline constexpr char16_t kAlreadyRunning[] = u"Norvessa Image Forge is running.";

// Steps 1 to 3 with the templates of `programFolder` and the lock of `instance`. True when the
// program goes on; `instance` then holds the lock. False when it ends here (a box was shown and
// closed, or the running program was asked to show its window).
bool PrepareStart(const std::filesystem::path& programFolder, SingleInstance& instance);

// The whole program with the program folder and the user's instance folder; answers the exit
// code.
int RunImageForge();

}  // namespace forge::ui
