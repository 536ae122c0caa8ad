// Ending the program's event loop: the entry's loop returns with the code and the entry tears
// down. Tests install a recorder instead, because a real request would end every event loop of
// the test process for good. UI thread only.
#pragma once

#include <functional>

namespace forge::ui {

// Asks the application's event loop to end with `exitCode`; windows stay as they are.
void RequestQuit(int exitCode);

// Null restores the real request.
using QuitHandler = std::function<void(int exitCode)>;
void SetQuitHandler(QuitHandler handler);

}  // namespace forge::ui
