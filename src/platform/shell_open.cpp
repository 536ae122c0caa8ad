#include "platform/shell_open.h"

#include <atomic>

#include "platform/child_process.h"

namespace forge {
namespace {

// Starts xdg-open in a session of its own through `setsid --fork`, which returns at once, so
// the viewer outlives neither a wait of ours nor a zombie.
class XdgShellOpener final : public ShellOpener {
 public:
  void Open(const std::string& target) override {
    int error = 0;
    auto child = ChildProcess::Start({"setsid", "--fork", "xdg-open", target}, {}, error);
    if (child) child->Wait();
  }
};

std::atomic<ShellOpener*> g_override{nullptr};

}  // namespace

ShellOpener& GetShellOpener() {
  if (ShellOpener* opener = g_override.load()) return *opener;
  static XdgShellOpener system;
  return system;
}

void SetShellOpener(ShellOpener* opener) { g_override.store(opener); }

}  // namespace forge
