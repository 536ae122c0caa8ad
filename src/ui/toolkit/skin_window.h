// SkinWindow, the base of every window: a frameless top-level widget whose content is built from
// a layout of the skin package and drawn entirely by its controls.
//
// Life of a window:
//   Create(owner, size)  loads the layout that GetSkinFile names, builds the controls, sizes the
//                        window (the given size, or the layout's), then calls InitWindow. A
//                        missing or unparsable layout goes to the load-failure handler (below).
//   CenterWindow()       centres it on its owner, inside the work area of the screen.
//   RunModal()           shows it modally (other windows take no input meanwhile) and returns
//                        the close code once the window has ended, or 0 when it ended without.
//   or ShowWindow()      shows it without a modal run (the main window).
//   "windowinit"         the window's first notification, once, after it is first shown and
//                        laid out; the root control is the sender.
//   Close(code)          asks the window to end with a code. Callable from any thread: the
//                        request is queued and carried out on the UI thread; the first request
//                        decides, later ones are ignored. Ending closes the windows it owns that
//                        still run (message boxes it asked) with code 2 first, stops its timers,
//                        hides it and calls OnFinalMessage.
//   destruction          by its owner (the caller keeps the object, as a local or unique_ptr,
//                        and reads its results after RunModal before letting it go).
//
// Notifications: SendNotify gives a notification first to the sender's own handlers
// (ControlUI::AddNotifyHandler), then to the window's Notify, whose default passes "click" to
// OnClick.
//
// The window's default behaviour, which derived windows change by overriding:
//   OnClick             "closebtn" closes with 1, "minbtn", "maxbtn", "restorebtn" minimise,
//                       maximise and restore;
//   FilterKey           consulted for keys no control took: Escape closes with 1;
//   HitTest             the layout's size box resizes (unless maximised); inside the caption
//                       band a press drags the window unless the control under it is of a class
//                       in CaptionBlockingClasses (buttons, options and text controls);
//   CreateControl       the control factory: no controls of its own (the toolkit's classes);
//   OnSystemClose       a close from the desktop (title-bar menu, Alt+F4) ends with 0;
//   OwnedWindowFlags    a window with an owner is a frameless dialog.
//
// Ownership: the window owns its controls and timers; it does not own its owner. Threading: UI
// thread only, except Close, SetTimer and KillTimer(s), which any thread may call while the
// window object exists.
#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "ui/toolkit/control.h"
#include "ui/toolkit/layout.h"
#include "ui/toolkit/notification.h"

class QEventLoop;
class QTimer;

namespace forge::ui {

class SkinPackage;

// Where a point of the window lies for the window manager.
struct HitArea {
  enum class Kind { Client, Caption, Border };
  Kind kind = Kind::Client;
  Qt::Edges edges;  // Border: the edges that move
};

class SkinWindow : public QWidget {
 public:
  SkinWindow();
  ~SkinWindow() override;

  bool Create(QWidget* owner, QSize size = {});
  bool IsCreated() const { return root_ != nullptr; }
  void CenterWindow();
  int RunModal();
  void ShowWindow(bool show = true);
  // Any thread.
  void Close(int code = 1);
  // True once the window has ended.
  bool HasEnded() const { return ended_; }
  // The code the window ended with (0 before it ended).
  int CloseCode() const { return closeCode_; }

  ControlUI* Root() const { return root_; }
  ControlUI* FindControl(const QString& name) const;
  template <class T>
  T* FindControl(const QString& name) const {
    return dynamic_cast<T*>(FindControl(name));
  }
  // The innermost visible control at a point in client coordinates, or null.
  ControlUI* FindControlAt(QPoint point) const;

  void SendNotify(Notification& notification);
  void SendNotify(ControlUI* sender, const QString& type, std::int64_t wParam = 0,
                  std::int64_t lParam = 0, QPoint point = {});

  // Control timers: every `milliseconds` the control's window gets a "timer" notification with
  // the control as sender and `id` as wParam. Starting a timer that runs already leaves it as it
  // is. Any thread.
  void SetTimer(ControlUI* control, int id, int milliseconds);
  void KillTimer(ControlUI* control, int id);
  void KillTimers(ControlUI* control);
  bool HasTimer(ControlUI* control, int id) const;

  const WindowResources& Resources() const { return resources_; }
  const WindowLayout& LayoutInfo() const { return layout_; }
  QFont Font(int index) const { return resources_.Font(index); }
  const SkinPackage& Package() const { return *package_; }
  QWidget* Owner() const { return owner_; }

  virtual HitArea HitTest(QPoint clientPoint) const;

 protected:
  // The caption rule alone: Caption inside the band unless over a blocking class, else Client.
  HitArea CaptionHitTest(QPoint clientPoint) const;
  // The layout of the window, "xml\name.xml".
  virtual QString GetSkinFile() const = 0;
  // Called once the layout is loaded (controls can be found by name).
  virtual void InitWindow() {}
  virtual void Notify(Notification& notification);
  virtual void OnClick(Notification& notification);
  // A key that no control took; answer true when it is consumed.
  virtual bool FilterKey(QKeyEvent& event);
  virtual ControlUI* CreateControl(const QString& elementName);
  virtual QStringList CaptionBlockingClasses() const;
  virtual void OnSystemClose();
  // The kind of window made for an owned window (a dialog; menus make popups).
  virtual Qt::WindowFlags OwnedWindowFlags() const;
  // The window has ended; it is hidden and its timers are stopped.
  virtual void OnFinalMessage() {}

  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void EndWithCode(int code);
  void UpdateCursor(QPoint clientPoint);

  std::shared_ptr<const SkinPackage> package_;
  WindowResources resources_;
  WindowLayout layout_;
  ControlUI* root_ = nullptr;
  QWidget* cornerCutter_ = nullptr;
  QPointer<QWidget> owner_;
  std::vector<QPointer<SkinWindow>> ownedWindows_;
  QEventLoop* modalLoop_ = nullptr;
  bool ended_ = false;
  bool initSent_ = false;
  int closeCode_ = 0;
  std::map<std::pair<ControlUI*, int>, QTimer*> timers_;
  // Dragging and sizing without the window manager's help.
  enum class Drag { None, Move, Resize } drag_ = Drag::None;
  Qt::Edges dragEdges_;
  QPoint dragStart_;
  QRect dragGeometry_;
};

// Called when a window's layout cannot be loaded; `reason` names the file and what is wrong.
// The default handler prints the reason, shows the message box "Load Resource Error" with the
// caption "BuildDisc" and ends the process with exit code 1. Tests install a recorder; Create
// then answers false. Null restores the default. UI thread only.
using LoadFailureHandler = std::function<void(const QString& reason)>;
void SetLoadFailureHandler(LoadFailureHandler handler);

// The top-left position that centres `size` on `ownerRect`, moved inside `workArea`.
QPoint CenteredPosition(const QRect& ownerRect, QSize size, const QRect& workArea);

}  // namespace forge::ui
