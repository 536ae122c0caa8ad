#include "ui/toolkit/quit.h"

#include <QCoreApplication>

namespace forge::ui {
namespace {

QuitHandler& Handler() {
  static QuitHandler handler;
  return handler;
}

}  // namespace

void RequestQuit(int exitCode) {
  if (const auto& handler = Handler()) {
    handler(exitCode);
    return;
  }
  QCoreApplication::exit(exitCode);
}

void SetQuitHandler(QuitHandler handler) { Handler() = std::move(handler); }

}  // namespace forge::ui
