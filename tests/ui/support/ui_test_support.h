// Helpers for the tests of the windows: the application object, screenshots, answering modal
// windows and clicking controls as a user would. All UI thread.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "ui/popups/pickers.h"
#include "ui/toolkit/skin_package.h"
#include "ui/toolkit/skin_window.h"

// Readable values in test failures.
inline void PrintTo(const QRect& r, std::ostream* out) {
  *out << "QRect(" << r.x() << "," << r.y() << " " << r.width() << "x" << r.height() << ")";
}
inline void PrintTo(const QPoint& p, std::ostream* out) {
  *out << "QPoint(" << p.x() << "," << p.y() << ")";
}
inline void PrintTo(const QSize& s, std::ostream* out) {
  *out << "QSize(" << s.width() << "x" << s.height() << ")";
}
inline void PrintTo(const QString& s, std::ostream* out) { *out << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QColor& c, std::ostream* out) {
  *out << c.name(QColor::HexArgb).toStdString();
}

namespace forge::ui::test {

// Saves the window as build/screenshots/<name>.png (on a light backdrop, so rounded corners
// show) and <name>@2x.png (rendered at 200 %). Answers the path of the first.
QString SaveScreenshot(QWidget& window, const QString& name);

// Every single-line text of the window's shown labels fits its control unless the control ends
// it with an ellipsis, and every wrapped text fits its height (a test failure names the text).
// Labels in hidden containers (tab pages not on top, hidden tool bars) are not judged.
void ExpectTextsFit(SkinWindow& window, const std::string& what);

// Renders a widget into an image at `scale` with a transparent background.
QImage RenderWidget(QWidget& widget, qreal scale = 1);

// Runs `action` once a message box runs modally (for example the question a handler is about
// to ask), or with `accepts`, once a skinned window it accepts does. The watch ends when the
// object is destroyed.
class ModalWatch {
 public:
  explicit ModalWatch(std::function<void(SkinWindow&)> action);
  ModalWatch(std::function<bool(SkinWindow&)> accepts, std::function<void(SkinWindow&)> action);
  ~ModalWatch();
  ModalWatch(const ModalWatch&) = delete;
  ModalWatch& operator=(const ModalWatch&) = delete;

 private:
  struct State;
  std::shared_ptr<State> state_;
};

// A left click in the middle of the named control, through Qt's mouse events.
void Click(SkinWindow& window, const QString& controlName);
// A key press sent to the window.
void PressKey(SkinWindow& window, int key);
// Processes events until `done` answers true; false when `limitMs` passed first.
bool ProcessEventsUntil(const std::function<bool()>& done, int limitMs = 10000);

// A package of the given layouts (name -> XML text) over the program's own package.
std::shared_ptr<MemorySkinPackage> PackageWith(
    const std::vector<std::pair<const char*, const char*>>& layouts);

// Makes the given package the active one while it lives.
class ActivePackage {
 public:
  explicit ActivePackage(std::shared_ptr<const SkinPackage> package);
  ~ActivePackage();
};

// File dialogs that answer as a test says, installed for the pickers while the object lives.
// An answer left unset counts as a cancelled dialog.
class AnsweringDialogs : public FileDialogs {
 public:
  AnsweringDialogs() { SetFileDialogs(this); }
  ~AnsweringDialogs() override { SetFileDialogs(nullptr); }
  AnsweringDialogs(const AnsweringDialogs&) = delete;
  AnsweringDialogs& operator=(const AnsweringDialogs&) = delete;

  std::optional<QStringList> files;    // what the next file dialogs answer
  std::optional<QStringList> folders;  // what the next folder dialogs answer
  std::vector<FileDialogOptions> fileRequests;
  int folderRequests = 0;

  std::optional<QStringList> ChooseFiles(const FileDialogOptions& options) override {
    fileRequests.push_back(options);
    return files;
  }
  std::optional<QStringList> ChooseFolders(QWidget*, const QString&) override {
    ++folderRequests;
    return folders;
  }
};

// A window built from a layout of the active package, for trying the toolkit.
class LayoutWindow : public SkinWindow {
 public:
  explicit LayoutWindow(QString layout) : layout_(std::move(layout)) {}
  std::vector<Notification> received;  // every notification the window's Notify got

 protected:
  QString GetSkinFile() const override { return layout_; }
  void Notify(Notification& notification) override {
    received.push_back(notification);
    SkinWindow::Notify(notification);
  }

 private:
  QString layout_;
};

}  // namespace forge::ui::test
