// The main of the UI tests: a QApplication on Qt's offscreen platform, and the program folder
// for the language table: tests/ui/fixture (config.ini and a small language file), or, where the
// test program defines FORGE_UI_LANGUAGE, the build's program folder with that language chosen.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include <filesystem>

#include "app/paths.h"
#include "support/test_files.h"

namespace {

QtMessageHandler previousHandler = nullptr;

// Notes of Qt that are no news for the tests: the offscreen platform cannot raise windows or
// grab the keyboard for a popup menu, and test machines run without a desktop session.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QStringLiteral("does not support raise()")) ||
      message.contains(QStringLiteral("XDG_RUNTIME_DIR")) ||
      message.contains(QStringLiteral("does not support grabbing"))) {
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
#ifdef FORGE_UI_LANGUAGE
  forge::test::TempFolder programFolder;
  for (const char* name : {"Languages", "ReportTheme", "Help"}) {
    std::filesystem::create_directory_symlink(forge::test::BuildProgramFolder() / name,
                                              programFolder / name);
  }
  forge::test::WriteFile(programFolder / "config.ini",
                         "[DefaultLanguage]\nDefault=" FORGE_UI_LANGUAGE "\n");
  forge::OverrideModuleFolder(programFolder.path() / "");
  // Whatever makes the report folder writes into the test's own folder, not the user's.
  ::setenv("XDG_DATA_HOME", (programFolder / "data").c_str(), 1);
#else
  forge::OverrideModuleFolder(FORGE_UI_FIXTURE_DIR "/");
#endif
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
