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
#include <utility>
#include <vector>

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

// Renders a widget into an image at `scale` with a transparent background.
QImage RenderWidget(QWidget& widget, qreal scale = 1);

// Runs `action` once a message box runs modally (for example the question a handler is about
// to ask). The watch ends when the object is destroyed.
class ModalWatch {
 public:
  explicit ModalWatch(std::function<void(SkinWindow&)> action);
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
