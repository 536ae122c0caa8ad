// image-forge: the window program.
#include <QApplication>

#include "ui/main/startup.h"

int main(int argc, char** argv) {
  // The program takes no arguments, and none reach the toolkit either.
  int toolkitArgc = argc > 0 ? 1 : 0;
  QApplication application(toolkitArgc, argv);
  return forge::ui::RunImageForge();
}
