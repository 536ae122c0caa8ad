#include "ui/toolkit/control.h"

#include <QContextMenuEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "ui/toolkit/attributes.h"
#include "ui/toolkit/container.h"
#include "ui/toolkit/skin_image.h"
#include "ui/toolkit/skin_window.h"
#include "ui/toolkit/ui_thread.h"

namespace forge::ui {

ControlUI::ControlUI(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  // Controls paint their own background; nothing shows through from Qt's palette.
  setAttribute(Qt::WA_NoSystemBackground);
}

ControlUI::~ControlUI() = default;

void ControlUI::SetName(const QString& name) {
  name_ = name;
  setObjectName(name);
}

void ControlUI::SetText(const QString& text) {
  RunOnUiThread(this, [this, text] {
    if (text_ == text) return;
    text_ = text;
    OnTextChanged();
  });
}

void ControlUI::SetVisible(bool visible) {
  RunOnUiThread(this, [this, visible] { ApplyVisible(visible); });
}

void ControlUI::ApplyVisible(bool visible) {
  if (visible_ == visible && isHidden() == !visible) return;
  visible_ = visible;
  setVisible(visible);
  NeedParentUpdate();
}

void ControlUI::SetEnabled(bool enabled) {
  RunOnUiThread(this, [this, enabled] {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    setEnabled(enabled);
    OnEnabledChanged();
  });
}

void ControlUI::SetBkImage(const QString& imageString) {
  bkImage_ = imageString;
  update();
}

void ControlUI::SetFixedWidth(int width) {
  layout_.width = width;
  NeedParentUpdate();
}

void ControlUI::SetFixedHeight(int height) {
  layout_.height = height;
  NeedParentUpdate();
}

void ControlUI::NeedParentUpdate() {
  if (auto* container = Container()) {
    container->Arrange();
  } else if (layout_.floating) {
    setGeometry(layout_.pos);
  }
}

bool ControlUI::SetAttribute(const QString& name, const QString& value) {
  bool ok = true;
  if (name == u"name") {
    SetName(value);
  } else if (name == u"text") {
    SetText(value);
  } else if (name == u"tooltip") {
    setToolTip(value);
  } else if (name == u"userdata") {
    userData_ = value;
  } else if (name == u"tag") {
    tag_ = value.toULongLong(&ok);
  } else if (name == u"visible" || name == u"enabled") {
    bool flag = true;
    ok = ReadBool(value, flag);
    if (ok && name == u"visible") ApplyVisible(flag);
    if (ok && name == u"enabled") SetEnabled(flag);
  } else if (name == u"style") {
    ok = ApplyStyle(value);
  } else if (name == u"menu") {
    ok = ReadBool(value, menu_);
  } else if (name == u"width") {
    ok = ReadInt(value, layout_.width);
  } else if (name == u"height") {
    ok = ReadInt(value, layout_.height);
  } else if (name == u"minwidth") {
    ok = ReadInt(value, layout_.minWidth);
  } else if (name == u"minheight") {
    ok = ReadInt(value, layout_.minHeight);
  } else if (name == u"maxwidth") {
    ok = ReadInt(value, layout_.maxWidth);
  } else if (name == u"maxheight") {
    ok = ReadInt(value, layout_.maxHeight);
  } else if (name == u"padding") {
    ok = ReadEdges(value, layout_.padding);
  } else if (name == u"float") {
    ok = ReadBool(value, layout_.floating);
  } else if (name == u"pos") {
    QMargins edges;
    ok = ReadEdges(value, edges);
    if (ok) {
      layout_.pos = QRect(QPoint(edges.left(), edges.top()),
                          QSize(edges.right() - edges.left(), edges.bottom() - edges.top()));
      layout_.width = layout_.pos.width();
      layout_.height = layout_.pos.height();
    }
  } else if (name == u"bkcolor") {
    ok = ReadColor(value, bkColor_);
  } else if (name == u"bkcolor2") {
    ok = ReadColor(value, bkColor2_);
  } else if (name == u"disabledbkcolor") {
    ok = ReadColor(value, disabledBkColor_);
  } else if (name == u"bordercolor") {
    ok = ReadColor(value, borderColor_);
  } else if (name == u"bordersize") {
    ok = ReadInt(value, borderSize_);
  } else if (name == u"borderround") {
    const auto size = ParseSize(value);
    ok = size.has_value();
    if (ok) borderRound_ = *size;
  } else if (name == u"bkimage") {
    bkImage_ = value;
  } else {
    return false;
  }
  update();
  return ok;
}

bool ControlUI::ApplyAttributeList(QStringView list) {
  const auto pairs = ParseAttributeList(list);
  if (!pairs) return false;
  for (const auto& [name, value] : *pairs) {
    if (!SetAttribute(name, value)) return false;
  }
  return true;
}

bool ControlUI::ApplyStyle(const QString& styleName) {
  auto* window = Window();
  if (!window) return false;
  const auto style = window->Resources().styles.find(styleName);
  if (style == window->Resources().styles.end()) return false;
  return ApplyAttributeList(style->second);
}

void ControlUI::AddNotifyHandler(NotifyHandler handler) { handlers_.push_back(std::move(handler)); }

void ControlUI::CallNotifyHandlers(Notification& notification) {
  // A handler may add handlers; iterate over a copy.
  const auto handlers = handlers_;
  for (const auto& handler : handlers) handler(notification);
}

SkinWindow* ControlUI::Window() const { return dynamic_cast<SkinWindow*>(window()); }

ContainerUI* ControlUI::Container() const { return dynamic_cast<ContainerUI*>(parentWidget()); }

void ControlUI::Notify(const QString& type, std::int64_t wParam, std::int64_t lParam,
                       QPoint point) {
  auto* window = Window();
  if (!window) return;
  Notification notification{type, this, nullptr, wParam, lParam, point};
  window->SendNotify(notification);
}

QSize ControlUI::CornerRadius() const { return borderRound_; }

bool ControlUI::DrawImage(QPainter& painter, QStringView imageString, QRect area) {
  if (imageString.isEmpty()) return false;
  auto* window = Window();
  if (!window) return false;
  auto spec = ParseImageString(imageString);
  if (!spec) return false;
  if (!spec->mask) {
    const auto& masks = window->Resources().imageMasks;
    if (auto found = masks.find(spec->file); found != masks.end()) spec->mask = found->second;
  }
  return DrawSkinImage(painter, area.isEmpty() ? rect() : area, *spec, window->Package());
}

void ControlUI::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  PaintBackground(painter);
  PaintStatusImage(painter);
  PaintText(painter);
  PaintBorder(painter);
}

QColor ControlUI::CurrentBkColor() const {
  if (!isEnabled() && disabledBkColor_.isValid()) return disabledBkColor_;
  return bkColor_;
}

void ControlUI::PaintBackground(QPainter& painter) {
  const QColor top = CurrentBkColor();
  const bool rounded = !borderRound_.isEmpty();
  QPainterPath outline;
  if (rounded) {
    outline.addRoundedRect(QRectF(rect()), borderRound_.width() / 2.0, borderRound_.height() / 2.0);
  }
  if (top.isValid() && top.alpha() > 0) {
    QBrush brush(top);
    if (bkColor2_.isValid() && top == bkColor_) {
      QLinearGradient gradient(0, 0, 0, height());
      gradient.setColorAt(0, top);
      gradient.setColorAt(1, bkColor2_);
      brush = QBrush(gradient);
    }
    if (rounded) {
      painter.fillPath(outline, brush);
    } else {
      painter.fillRect(rect(), brush);
    }
  }
  if (!bkImage_.isEmpty()) {
    painter.save();
    if (rounded) painter.setClipPath(outline, Qt::IntersectClip);
    DrawImage(painter, bkImage_);
    painter.restore();
  }
}

void ControlUI::PaintStatusImage(QPainter&) {}

void ControlUI::PaintText(QPainter&) {}

void ControlUI::PaintBorder(QPainter& painter) {
  const QColor color = CurrentBorderColor();
  if (borderSize_ <= 0 || !color.isValid() || color.alpha() == 0) return;
  QPen pen(color);
  pen.setWidth(borderSize_);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  const qreal inset = borderSize_ / 2.0;
  const QRectF line = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
  if (!borderRound_.isEmpty()) {
    painter.drawRoundedRect(line, borderRound_.width() / 2.0, borderRound_.height() / 2.0);
  } else {
    painter.drawRect(line);
  }
}

void ControlUI::mousePressEvent(QMouseEvent* event) {
  // Plain controls take no clicks: the press goes on to the container and finally the window,
  // which decides about dragging by the caption.
  event->ignore();
}

void ControlUI::contextMenuEvent(QContextMenuEvent* event) {
  if (!menu_) {
    event->ignore();
    return;
  }
  auto* window = Window();
  if (window) Notify(QString::fromUtf16(notify::kMenu), 0, 0, mapTo(window, event->pos()));
  event->accept();
}

}  // namespace forge::ui
