#include "ui/support/ui_test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QTest>
#include <QThread>
#include <QTimer>

#include "ui/popups/message_box.h"
#include "ui/toolkit/label.h"

namespace forge::ui::test {

QImage RenderWidget(QWidget& widget, qreal scale) {
  QImage image(widget.size() * scale, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(scale);
  image.fill(Qt::transparent);
  widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
  return image;
}

namespace {

// Shown unless the control or a container above it is set invisible (a tab page that is not on
// top, a hidden tool bar): hidden containers are not laid out, so their texts cannot be judged.
bool IsShown(const ControlUI& control) {
  for (const QWidget* widget = &control; widget && !widget->isWindow();
       widget = widget->parentWidget()) {
    const auto* above = dynamic_cast<const ControlUI*>(widget);
    if (above && !above->IsVisible()) return false;
  }
  return true;
}

}  // namespace

void ExpectTextsFit(SkinWindow& window, const std::string& what) {
  for (auto* widget : window.findChildren<QWidget*>()) {
    auto* text = dynamic_cast<LabelUI*>(widget);
    if (!text || !IsShown(*text) || text->Text().isEmpty()) continue;
    const QSize needed = text->TextExtent();
    const QRect room = text->TextRect();
    if (!text->WordBreak() && !text->EndEllipsis()) {
      EXPECT_LE(needed.width(), room.width())
          << what << ": \"" << text->Text().toStdString() << "\" is cut off";
    }
    EXPECT_LE(needed.height(), room.height())
        << what << ": \"" << text->Text().toStdString() << "\" is too high";
  }
}

QString SaveScreenshot(QWidget& window, const QString& name) {
  const QString folder = QStringLiteral(FORGE_SCREENSHOT_DIR);
  QDir().mkpath(folder);
  QString first;
  for (int scale : {1, 2}) {
    const QImage shot = RenderWidget(window, scale);
    constexpr int kMargin = 24;
    QImage canvas((window.size() + QSize(2 * kMargin, 2 * kMargin)) * scale,
                  QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(scale);
    canvas.fill(QColor(0xE3, 0xE8, 0xEE));
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    // A soft shadow under the window.
    for (int i = 6; i >= 1; --i) {
      QPainterPath shadow;
      shadow.addRoundedRect(
          QRectF(kMargin - i, kMargin - i + 3, window.width() + 2 * i, window.height() + 2 * i),
          10 + i, 10 + i);
      painter.fillPath(shadow, QColor(15, 23, 42, 7));
    }
    painter.drawImage(QPoint(kMargin, kMargin), shot);
    painter.end();
    const QString path = QStringLiteral("%1/%2%3.png").arg(folder, name, scale == 2 ? "@2x" : "");
    canvas.save(path, "PNG");
    if (first.isEmpty()) first = path;
  }
  return first;
}

struct ModalWatch::State {
  QTimer timer;
  QPointer<QWidget> before;
  std::function<bool(SkinWindow&)> accepts;
  std::function<void(SkinWindow&)> action;
};

ModalWatch::ModalWatch(std::function<void(SkinWindow&)> action)
    : ModalWatch([](SkinWindow& window) { return dynamic_cast<CMessageBox*>(&window) != nullptr; },
                 std::move(action)) {}

ModalWatch::ModalWatch(std::function<bool(SkinWindow&)> accepts,
                       std::function<void(SkinWindow&)> action)
    : state_(std::make_shared<State>()) {
  state_->before = QApplication::activeModalWidget();
  state_->accepts = std::move(accepts);
  state_->action = std::move(action);
  state_->timer.setInterval(10);
  State* state = state_.get();
  QObject::connect(&state->timer, &QTimer::timeout, [state] {
    auto* window = dynamic_cast<SkinWindow*>(QApplication::activeModalWidget());
    if (!window || window == state->before || window->HasEnded() || !state->accepts(*window)) {
      return;
    }
    state->timer.stop();
    state->action(*window);
  });
  state_->timer.start();
}

ModalWatch::~ModalWatch() { state_->timer.stop(); }

void Click(SkinWindow& window, const QString& controlName) {
  ControlUI* control = window.FindControl(controlName);
  if (!control) {
    ADD_FAILURE_AT(__FILE__, __LINE__);
    return;
  }
  QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
}

void PressKey(SkinWindow& window, int key) { QTest::keyClick(&window, static_cast<Qt::Key>(key)); }

bool ProcessEventsUntil(const std::function<bool()>& done, int limitMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > limitMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(1);
  }
  return true;
}

std::shared_ptr<MemorySkinPackage> PackageWith(
    const std::vector<std::pair<const char*, const char*>>& layouts) {
  auto package = std::make_shared<MemorySkinPackage>(BuiltInSkinPackage());
  for (const auto& [name, text] : layouts) package->Add(QString::fromUtf8(name), QByteArray(text));
  return package;
}

ActivePackage::ActivePackage(std::shared_ptr<const SkinPackage> package) {
  SetActiveSkinPackage(std::move(package));
}

ActivePackage::~ActivePackage() { SetActiveSkinPackage(nullptr); }

}  // namespace forge::ui::test
