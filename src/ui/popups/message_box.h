// CMessageBox, the program's only message box: a title, a message and one or two buttons,
// whose layout decides the icon and the buttons:
//   "xml\MessageBox_Information.xml", "xml\MessageBox_Warning.xml"  OK
//   "xml\MessageBox_Question.xml"                                     OK, No
//   "xml\MessageBox_Error.xml"                                        OK
//   "xml\MessageBox_Confirm.xml"                                      OK, Cancel
// Answers: 1 for "okbtn" or Escape, 2 for "closebtn" or "cancelbtn", 0 when the box went away
// without either (its owner ended meanwhile, or the desktop closed it). The box can be dragged
// by its caption band and resized by its border down to the layout's minimum size.
//
// Callers use ShowMessageBox, which makes, runs and frees the box. UI thread only.
#pragma once

#include <QString>

#include "ui/toolkit/skin_window.h"

namespace forge::ui {

// Fixed English titles of the boxes (the same in every language).
inline constexpr char16_t kTitleInformation[] = u"Information";
inline constexpr char16_t kTitleWarning[] = u"Warning";
inline constexpr char16_t kTitleQuestion[] = u"Question";

class CMessageBox : public SkinWindow {
 public:
  // `layoutFile` is "xml\" and the layout's file name.
  explicit CMessageBox(const QString& layoutFile);

  // Sets the texts of the controls "title" and "message" (a layout without them leaves them
  // unset).
  void SetTexts(const QString& title, const QString& message);

 protected:
  QString GetSkinFile() const override { return layoutFile_; }
  void Notify(Notification& notification) override;

 private:
  QString layoutFile_;
};

// Shows a message box owned by `owner` (null for none), centred on it, and answers the box's
// answer once it is closed.
int ShowMessageBox(QWidget* owner, const QString& layoutFile, const QString& title,
                   const QString& message, int width, int height);

}  // namespace forge::ui
