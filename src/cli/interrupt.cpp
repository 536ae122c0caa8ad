#include "cli/interrupt.h"

#include <signal.h>

#include <atomic>

namespace forge::cli {
namespace {

std::atomic<bool> interrupted{false};
struct sigaction oldInterrupt {};
struct sigaction oldTerminate {};

extern "C" void OnInterrupt(int) { interrupted = true; }

}  // namespace

InterruptAsCancel::InterruptAsCancel() {
  interrupted = false;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, &oldInterrupt);
  ::sigaction(SIGTERM, &action, &oldTerminate);
  if (oldInterrupt.sa_handler == SIG_IGN) ::sigaction(SIGINT, &oldInterrupt, nullptr);
  if (oldTerminate.sa_handler == SIG_IGN) ::sigaction(SIGTERM, &oldTerminate, nullptr);
}

InterruptAsCancel::~InterruptAsCancel() {
  ::sigaction(SIGINT, &oldInterrupt, nullptr);
  ::sigaction(SIGTERM, &oldTerminate, nullptr);
}

bool InterruptAsCancel::Requested() { return interrupted; }

}  // namespace forge::cli
