// CPopUpWnd, the base of the program's modal popups: the five progress windows and the
// welcome window. The message box is a window of its own (message_box.h).
//
// Calling order used by every caller:
//   CSomePopup popup;                     // 1. construct (a local or a unique_ptr)
//   popup.items = ...;                    // 2. fill in the job's inputs
//   popup.CreatePopup(owner, 400, 200);   // 3. create, centred on the owner
//   const int code = popup.RunModal();    // 4. run; the owner takes no input meanwhile
//   ... read the results ...              // 5. read results; the object goes out of scope,
//                                         //    which ends and frees the window
//
// Close codes (what RunModal answers): PopupDone 1, PopupCancelled 2, PopupFailed 3; 0 when the
// window went away without a close request.
//
// Behaviour of the base, each changed by overriding:
//   "windowinit" calls OnWindowInit (nothing here); "click" calls OnClick: "closebtn" and
//   "cancelbtn" close with 2, "okbtn" with 1, others nothing; Escape closes with 2;
//   a press inside the layout's caption band drags the window unless it lands on a button,
//   option, text or fade button; the popups are never resized by their edges.
//
// Threading: UI thread, except Close (any thread, see SkinWindow).
#pragma once

#include <string>

#include "ui/toolkit/skin_window.h"

namespace forge::ui {

inline constexpr int PopupDone = 1;
inline constexpr int PopupCancelled = 2;
inline constexpr int PopupFailed = 3;

class CPopUpWnd : public SkinWindow {
 public:
  CPopUpWnd() = default;

  // Creates the window with `parent` as owner and the given size, then centres it on the
  // parent inside the screen's work area. False when the layout cannot be loaded.
  virtual bool CreatePopup(QWidget* parent, int width, int height);

  // Puts the texts of a section of the active language on the controls: for every key, in key
  // order, the control of that name (exact match) gets the key's text. Keys naming no control
  // are ignored.
  virtual void ApplyLanguage(const std::string& sectionName);

  HitArea HitTest(QPoint clientPoint) const override;

 protected:
  // "windowinit": the first notification, after the window was first shown and laid out.
  virtual void OnWindowInit(Notification& notification);
  void Notify(Notification& notification) override;
  void OnClick(Notification& notification) override;
  bool FilterKey(QKeyEvent& event) override;
  QStringList CaptionBlockingClasses() const override;
};

}  // namespace forge::ui
