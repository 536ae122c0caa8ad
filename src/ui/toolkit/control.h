// ControlUI, the base of every skinned control: a Qt widget with a name, a text, a tag, user
// data, layout attributes and a painted background.
//
// Attributes every control takes (layouts and ApplyAttributeList):
//   name, text, tooltip, userdata, tag (integer), visible, enabled, style (a named style of the
//   window, applied at that point), menu (true: a right click sends "menu"),
//   width, height (0 or absent: share the free space), minwidth, minheight, maxwidth, maxheight,
//   padding "l,t,r,b" (space around the control in its container),
//   float (true: placed at "pos" instead of by the container), pos "l,t,r,b" (a floating
//   control's rectangle in its parent; otherwise only its width and height count),
//   bkcolor, bkcolor2 (a second colour makes a vertical gradient), bkimage (an image string),
//   bordercolor, bordersize, borderround "w,h" (rounded corners of background and border),
//   disabledbkcolor.
// Unknown attributes and unreadable values make SetAttribute answer false; the layout builder
// treats that as an error in the layout.
//
// Ownership: a control belongs to its parent widget (its container or the window). Threading:
// everything runs on the UI thread, except the calls marked "any thread", which are queued to
// it when made from another thread.
#pragma once

#include <QColor>
#include <QMargins>
#include <QSize>
#include <QString>
#include <QStringView>
#include <QWidget>
#include <climits>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "ui/toolkit/notification.h"

class QPainter;

namespace forge::ui {

class SkinWindow;
class ContainerUI;

// How a control sits in its container.
struct LayoutProps {
  int width = 0;   // 0: flexible
  int height = 0;  // 0: flexible
  int minWidth = 0;
  int minHeight = 0;
  int maxWidth = INT_MAX;
  int maxHeight = INT_MAX;
  QMargins padding;
  bool floating = false;
  QRect pos;  // a floating control's rectangle in its parent
};

class ControlUI : public QWidget {
 public:
  explicit ControlUI(QWidget* parent = nullptr);
  ~ControlUI() override;

  // The class name windows compare ("ButtonUI", "OptionUI", ...).
  virtual QString GetClass() const { return QStringLiteral("ControlUI"); }

  QString Name() const { return name_; }
  void SetName(const QString& name);

  QString Text() const { return text_; }
  // Any thread.
  void SetText(const QString& text);

  std::uint64_t Tag() const { return tag_; }
  void SetTag(std::uint64_t tag) { tag_ = tag; }
  QString UserData() const { return userData_; }
  void SetUserData(const QString& data) { userData_ = data; }

  // The control's own visibility flag (a control inside a hidden page keeps its flag).
  bool IsVisible() const { return visible_; }
  // Any thread. The container lays out again.
  void SetVisible(bool visible);
  bool IsEnabled() const { return enabled_; }
  // Any thread.
  void SetEnabled(bool enabled);

  QString BkImage() const { return bkImage_; }
  void SetBkImage(const QString& imageString);

  // One attribute; false when the name is unknown here or the value unreadable.
  virtual bool SetAttribute(const QString& name, const QString& value);
  // `name="value" ...`; stops at and answers false for the first attribute that fails.
  bool ApplyAttributeList(QStringView list);
  // The named style of the window; false when the window has no such style.
  bool ApplyStyle(const QString& styleName);

  const LayoutProps& Layout() const { return layout_; }
  void SetFixedWidth(int width);
  void SetFixedHeight(int height);
  // Asks the container to place its controls again.
  void NeedParentUpdate();

  // Notification handlers of this control ("OnNotify"): called for every notification whose
  // sender is this control, before the window's own Notify. The answer is informational.
  using NotifyHandler = std::function<bool(Notification&)>;
  void AddNotifyHandler(NotifyHandler handler);
  void CallNotifyHandlers(Notification& notification);

  // The window the control lives in (null before it is placed in one).
  SkinWindow* Window() const;
  ContainerUI* Container() const;

  // Sends a notification with this control as sender to its window.
  void Notify(const QString& type, std::int64_t wParam = 0, std::int64_t lParam = 0,
              QPoint point = {});

  bool SendsMenu() const { return menu_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

  // Painting, in this order.
  virtual void PaintBackground(QPainter& painter);
  virtual void PaintStatusImage(QPainter& painter);
  virtual void PaintText(QPainter& painter);
  virtual void PaintBorder(QPainter& painter);

  // Draws an image string into `area` (the whole control when empty); false when it is
  // missing.
  bool DrawImage(QPainter& painter, QStringView imageString, QRect area = {});
  // The rounded outline of the control, where it has rounded corners.
  QSize CornerRadius() const;
  // The colours of the current state (buttons change them with hot, pushed, selected).
  virtual QColor CurrentBkColor() const;
  virtual QColor CurrentBorderColor() const { return borderColor_; }

  // Called when the text, visibility or enabled state changed.
  virtual void OnTextChanged() { update(); }
  virtual void OnEnabledChanged() { update(); }

 private:
  friend class SkinWindow;
  void ApplyVisible(bool visible);

  QString name_;
  QString text_;
  std::uint64_t tag_ = 0;
  QString userData_;
  bool visible_ = true;
  bool enabled_ = true;
  bool menu_ = false;
  LayoutProps layout_;
  QColor bkColor_;
  QColor bkColor2_;
  QColor disabledBkColor_;
  QColor borderColor_;
  int borderSize_ = 0;
  QSize borderRound_;
  QString bkImage_;
  std::vector<NotifyHandler> handlers_;
};

}  // namespace forge::ui
