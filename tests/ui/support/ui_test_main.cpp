// The main of the UI tests: a QApplication on Qt's offscreen platform, and the program folder
// of the tests (tests/ui/fixture: config.ini and a language file) for the language table.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>

#include "app/paths.h"

namespace {

QtMessageHandler previousHandler = nullptr;

// Notes of Qt that are no news for the tests: the offscreen platform cannot raise windows,
// and test machines run without a desktop session.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QStringLiteral("does not support raise()")) ||
      message.contains(QStringLiteral("XDG_RUNTIME_DIR"))) {
    return;
  }
  if (previousHandler) {
    previousHandler(type, context, message);
  } else {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  previousHandler = qInstallMessageHandler(QuietMessages);
  QApplication application(argc, argv);
  forge::OverrideModuleFolder(FORGE_UI_FIXTURE_DIR "/");
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
