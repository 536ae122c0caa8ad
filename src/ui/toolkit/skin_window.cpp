#include "ui/toolkit/skin_window.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

#include "ui/toolkit/container.h"
#include "ui/toolkit/skin_package.h"
#include "ui/toolkit/ui_thread.h"

namespace forge::ui {

namespace {

void DefaultLoadFailure(const QString& reason) {
  std::fprintf(stderr, "Load Resource Error: %s\n", reason.toLocal8Bit().constData());
  QMessageBox box(QMessageBox::Critical, QStringLiteral("BuildDisc"),
                  QStringLiteral("Load Resource Error"));
  box.exec();
  std::fflush(nullptr);
  // The process cannot go on without its windows; nothing of it is worth tearing down.
  std::_Exit(1);
}

// Rounds the window's corners: lying above every control, it erases what they painted outside
// the rounded outline, with smooth edges (the window has a transparent background), and draws
// the window's border over them.
class CornerCutter : public QWidget {
 public:
  CornerCutter(QWidget* window, QSize corner, QColor border, int borderSize)
      : QWidget(window), corner_(corner), border_(border), borderSize_(borderSize) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(window->rect());
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainterPath outside;
    outside.addRect(QRectF(rect()));
    QPainterPath inside;
    inside.addRoundedRect(QRectF(rect()), corner_.width() / 2.0, corner_.height() / 2.0);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    painter.fillPath(outside.subtracted(inside), Qt::black);
    if (borderSize_ <= 0 || !border_.isValid()) return;
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const qreal half = borderSize_ / 2.0;
    painter.setPen(QPen(border_, borderSize_));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(half, half, -half, -half),
                            corner_.width() / 2.0 - half, corner_.height() / 2.0 - half);
  }

 private:
  QSize corner_;
  QColor border_;
  int borderSize_;
};

LoadFailureHandler& FailureHandler() {
  static LoadFailureHandler handler;
  return handler;
}

Qt::CursorShape CursorFor(Qt::Edges edges) {
  const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
  const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
  if (horizontal && vertical) {
    const bool falling = ((edges & Qt::LeftEdge) && (edges & Qt::TopEdge)) ||
                         ((edges & Qt::RightEdge) && (edges & Qt::BottomEdge));
    return falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
  }
  if (horizontal) return Qt::SizeHorCursor;
  if (vertical) return Qt::SizeVerCursor;
  return Qt::ArrowCursor;
}

ControlUI* FindByName(QWidget* widget, const QString& name) {
  for (QObject* child : widget->children()) {
    auto* control = dynamic_cast<ControlUI*>(child);
    if (!control) continue;
    if (control->Name() == name) return control;
    if (auto* found = FindByName(control, name)) return found;
  }
  return nullptr;
}

}  // namespace

void SetLoadFailureHandler(LoadFailureHandler handler) { FailureHandler() = std::move(handler); }

QPoint CenteredPosition(const QRect& ownerRect, QSize size, const QRect& workArea) {
  int left = ownerRect.left() + ownerRect.width() / 2 - size.width() / 2;
  int top = ownerRect.top() + ownerRect.height() / 2 - size.height() / 2;
  const int workRight = workArea.left() + workArea.width();
  const int workBottom = workArea.top() + workArea.height();
  if (left < workArea.left()) {
    left = workArea.left();
  } else if (left + size.width() > workRight) {
    left = workRight - size.width();
  }
  if (top < workArea.top()) {
    top = workArea.top();
  } else if (top + size.height() > workBottom) {
    top = workBottom - size.height();
  }
  return {left, top};
}

SkinWindow::SkinWindow() {
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

SkinWindow::~SkinWindow() {
  for (auto& [key, timer] : timers_) delete timer;
}

bool SkinWindow::Create(QWidget* owner, QSize size) {
  if (root_) return true;
  package_ = ActiveSkinPackage();
  owner_ = owner;
  QWidget* ownerWindow = owner ? owner->window() : nullptr;
  if (ownerWindow) setWindowFlags(OwnedWindowFlags());
  QString error;
  if (!package_) {
    error = QStringLiteral("the skin package cannot be read");
  } else {
    root_ = BuildLayout(
        *package_, GetSkinFile(), this, resources_, layout_,
        [this](const QString& elementName) { return CreateControl(elementName); }, &error);
  }
  if (!root_) {
    auto& handler = FailureHandler();
    if (handler) {
      handler(error);
    } else {
      DefaultLoadFailure(error);
    }
    return false;
  }
  if (auto* skinOwner = dynamic_cast<SkinWindow*>(ownerWindow)) {
    auto& owned = skinOwner->ownedWindows_;
    std::erase_if(owned, [](const QPointer<SkinWindow>& window) { return window.isNull(); });
    owned.emplace_back(this);
  }
  if (layout_.transparent || !layout_.roundCorner.isEmpty()) {
    setAttribute(Qt::WA_TranslucentBackground);
  }
  if (!layout_.roundCorner.isEmpty()) {
    if (root_->borderRound_.isEmpty()) root_->borderRound_ = layout_.roundCorner;
    cornerCutter_ =
        new CornerCutter(this, layout_.roundCorner, root_->borderColor_, root_->borderSize_);
  }
  if (!layout_.minSize.isEmpty()) setMinimumSize(layout_.minSize);
  resize(size.isEmpty() ? layout_.size : size);
  PlaceControl(root_, rect());
  root_->setVisible(root_->IsVisible());
  if (ownerWindow) {
    winId();
    ownerWindow->winId();
    windowHandle()->setTransientParent(ownerWindow->windowHandle());
  }
  InitWindow();
  return true;
}

void SkinWindow::CenterWindow() {
  QRect ownerRect;
  QScreen* screen = nullptr;
  if (owner_) {
    ownerRect = owner_->window()->frameGeometry();
    screen = QGuiApplication::screenAt(ownerRect.center());
    if (!screen) screen = owner_->window()->screen();
  } else {
    screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen) ownerRect = screen->availableGeometry();
  }
  const QRect workArea = screen ? screen->availableGeometry() : ownerRect;
  move(CenteredPosition(ownerRect, frameGeometry().size(), workArea));
}

int SkinWindow::RunModal() {
  if (!root_) return 0;
  if (!ended_) {
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    setFocus();
    QEventLoop loop;
    modalLoop_ = &loop;
    // Showing may have handled events already, a close request among them.
    if (!ended_) loop.exec(QEventLoop::DialogExec);
    modalLoop_ = nullptr;
    // The application is quitting: the loop ended without a close request.
    if (!ended_) EndWithCode(0);
  }
  return closeCode_;
}

void SkinWindow::ShowWindow(bool show) {
  if (!root_ || ended_) return;
  setVisible(show);
  if (show) {
    raise();
    activateWindow();
  }
}

void SkinWindow::Close(int code) {
  QMetaObject::invokeMethod(
      this, [this, code] { EndWithCode(code); }, Qt::QueuedConnection);
}

void SkinWindow::EndWithCode(int code) {
  if (ended_) return;
  ended_ = true;
  closeCode_ = code;
  // A question this window asked cannot outlive it: it ends as if answered "No".
  for (auto& owned : ownedWindows_) {
    if (owned && !owned->ended_) owned->EndWithCode(2);
  }
  for (auto& [key, timer] : timers_) {
    timer->stop();
    timer->deleteLater();
  }
  timers_.clear();
  drag_ = Drag::None;
  hide();
  if (owner_) owner_->window()->activateWindow();
  OnFinalMessage();
  if (modalLoop_) modalLoop_->exit(0);
}

ControlUI* SkinWindow::FindControl(const QString& name) const {
  if (!root_) return nullptr;
  if (root_->Name() == name) return root_;
  return FindByName(root_, name);
}

ControlUI* SkinWindow::FindControlAt(QPoint point) const {
  // Qt's childAt answers nothing before the window is shown; this looks at the controls' own
  // visibility instead.
  QWidget* found = nullptr;
  for (QWidget* parent = const_cast<SkinWindow*>(this);;) {
    QWidget* hit = nullptr;
    const QObjectList& children = parent->children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
      auto* child = qobject_cast<QWidget*>(*it);
      if (child && !child->isHidden() && !child->isWindow() &&
          !child->testAttribute(Qt::WA_TransparentForMouseEvents) &&
          child->geometry().contains(point)) {
        hit = child;
        break;
      }
    }
    if (!hit) break;
    found = hit;
    point -= hit->pos();
    parent = hit;
  }
  for (QWidget* widget = found; widget && widget != this; widget = widget->parentWidget()) {
    if (auto* control = dynamic_cast<ControlUI*>(widget)) return control;
  }
  return nullptr;
}

void SkinWindow::SendNotify(Notification& notification) {
  if (notification.sender) notification.sender->CallNotifyHandlers(notification);
  Notify(notification);
}

void SkinWindow::SendNotify(ControlUI* sender, const QString& type, std::int64_t wParam,
                            std::int64_t lParam, QPoint point) {
  Notification notification{type, sender, nullptr, wParam, lParam, point};
  SendNotify(notification);
}

void SkinWindow::SetTimer(ControlUI* control, int id, int milliseconds) {
  QPointer<ControlUI> guard(control);
  RunOnUiThread(this, [this, guard, id, milliseconds] {
    if (!guard || ended_) return;
    const auto key = std::pair<ControlUI*, int>(guard.data(), id);
    if (timers_.count(key)) return;
    auto* timer = new QTimer(this);
    timer->setInterval(milliseconds);
    QObject::connect(timer, &QTimer::timeout, this, [this, guard, key] {
      if (!guard) {
        KillTimer(key.first, key.second);
        return;
      }
      SendNotify(guard.data(), QString::fromUtf16(notify::kTimer), key.second);
    });
    timers_.emplace(key, timer);
    timer->start();
  });
}

void SkinWindow::KillTimer(ControlUI* control, int id) {
  RunOnUiThread(this, [this, control, id] {
    const auto found = timers_.find({control, id});
    if (found == timers_.end()) return;
    found->second->stop();
    found->second->deleteLater();
    timers_.erase(found);
  });
}

void SkinWindow::KillTimers(ControlUI* control) {
  RunOnUiThread(this, [this, control] {
    for (auto it = timers_.begin(); it != timers_.end();) {
      if (it->first.first == control) {
        it->second->stop();
        it->second->deleteLater();
        it = timers_.erase(it);
      } else {
        ++it;
      }
    }
  });
}

bool SkinWindow::HasTimer(ControlUI* control, int id) const {
  return timers_.count({control, id}) > 0;
}

HitArea SkinWindow::HitTest(QPoint point) const {
  const QRect client = rect();
  const QMargins& box = layout_.sizeBox;
  if (!isMaximized() && !box.isNull()) {
    Qt::Edges edges;
    if (point.x() < client.left() + box.left()) edges |= Qt::LeftEdge;
    if (point.x() >= client.left() + client.width() - box.right()) edges |= Qt::RightEdge;
    if (point.y() < client.top() + box.top()) edges |= Qt::TopEdge;
    if (point.y() >= client.top() + client.height() - box.bottom()) edges |= Qt::BottomEdge;
    if (edges) return {HitArea::Kind::Border, edges};
  }
  return CaptionHitTest(point);
}

HitArea SkinWindow::CaptionHitTest(QPoint point) const {
  const QRect client = rect();
  const QMargins& caption = layout_.caption;
  if (point.x() >= client.left() + caption.left() &&
      point.x() < client.left() + client.width() - caption.right() && point.y() >= caption.top() &&
      point.y() < caption.bottom()) {
    const ControlUI* control = FindControlAt(point);
    if (control && !CaptionBlockingClasses().contains(control->GetClass(), Qt::CaseInsensitive)) {
      return {HitArea::Kind::Caption, {}};
    }
  }
  return {};
}

void SkinWindow::Notify(Notification& notification) {
  if (notification.type == QString::fromUtf16(notify::kClick)) OnClick(notification);
}

void SkinWindow::OnClick(Notification& notification) {
  if (!notification.sender) return;
  const QString name = notification.sender->Name();
  if (name == u"closebtn") {
    Close(1);
  } else if (name == u"minbtn") {
    showMinimized();
  } else if (name == u"maxbtn") {
    showMaximized();
  } else if (name == u"restorebtn") {
    showNormal();
  }
}

bool SkinWindow::FilterKey(QKeyEvent& event) {
  if (event.key() == Qt::Key_Escape) {
    Close(1);
    return true;
  }
  return false;
}

ControlUI* SkinWindow::CreateControl(const QString&) { return nullptr; }

QStringList SkinWindow::CaptionBlockingClasses() const {
  return {QStringLiteral("ButtonUI"), QStringLiteral("OptionUI"), QStringLiteral("TextUI")};
}

void SkinWindow::OnSystemClose() { Close(0); }

Qt::WindowFlags SkinWindow::OwnedWindowFlags() const {
  return Qt::Dialog | Qt::FramelessWindowHint;
}

void SkinWindow::keyPressEvent(QKeyEvent* event) {
  if (FilterKey(*event)) {
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void SkinWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  const HitArea hit = HitTest(event->position().toPoint());
  if (hit.kind == HitArea::Kind::Client) {
    event->ignore();
    return;
  }
  event->accept();
  QWindow* handle = windowHandle();
  if (hit.kind == HitArea::Kind::Caption) {
    if (handle && handle->startSystemMove()) return;
    drag_ = Drag::Move;
  } else {
    if (handle && handle->startSystemResize(hit.edges)) return;
    drag_ = Drag::Resize;
    dragEdges_ = hit.edges;
  }
  dragStart_ = event->globalPosition().toPoint();
  dragGeometry_ = geometry();
}

void SkinWindow::mouseMoveEvent(QMouseEvent* event) {
  const QPoint delta = event->globalPosition().toPoint() - dragStart_;
  if (drag_ == Drag::Move) {
    move(dragGeometry_.topLeft() + delta);
  } else if (drag_ == Drag::Resize) {
    QRect target = dragGeometry_;
    const QSize least = minimumSize();
    if (dragEdges_ & Qt::LeftEdge) {
      target.setLeft(std::min(target.left() + delta.x(), target.right() + 1 - least.width()));
    }
    if (dragEdges_ & Qt::RightEdge)
      target.setWidth(std::max(least.width(), target.width() + delta.x()));
    if (dragEdges_ & Qt::TopEdge) {
      target.setTop(std::min(target.top() + delta.y(), target.bottom() + 1 - least.height()));
    }
    if (dragEdges_ & Qt::BottomEdge) {
      target.setHeight(std::max(least.height(), target.height() + delta.y()));
    }
    setGeometry(target);
  } else {
    UpdateCursor(event->position().toPoint());
    event->ignore();
    return;
  }
  event->accept();
}

void SkinWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (drag_ == Drag::None) {
    event->ignore();
    return;
  }
  drag_ = Drag::None;
  event->accept();
}

void SkinWindow::UpdateCursor(QPoint point) {
  const HitArea hit = HitTest(point);
  if (hit.kind == HitArea::Kind::Border) {
    setCursor(CursorFor(hit.edges));
  } else {
    unsetCursor();
  }
}

void SkinWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (initSent_) return;
  initSent_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (!ended_ && root_) SendNotify(root_, QString::fromUtf16(notify::kWindowInit));
      },
      Qt::QueuedConnection);
}

void SkinWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (root_) PlaceControl(root_, rect());
  if (cornerCutter_) cornerCutter_->setGeometry(rect());
}

void SkinWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (!ended_) OnSystemClose();
}

}  // namespace forge::ui
