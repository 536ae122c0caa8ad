// Opens documents, folders and web addresses in the user's default viewer.
#pragma once

#include <string>

namespace forge {

class ShellOpener {
 public:
  virtual ~ShellOpener() = default;
  // Hands `target` (a path or an address) to the desktop. Does not wait for the viewer and does
  // not report whether it managed; the desktop shows its own errors.
  virtual void Open(const std::string& target) = 0;
};

// The opener the program uses: the system's (xdg-open) unless a test installed its own.
ShellOpener& GetShellOpener();

// Makes GetShellOpener return `opener` (not owned; null restores the system's). For tests, which
// record the calls instead of starting a browser.
void SetShellOpener(ShellOpener* opener);

}  // namespace forge
