// ComboUI: a drop-down list of texts (class "ComboUI") on Qt's combo box, drawn with the
// control's skinned background, border and text, and a chevron at the right.
//
// Attributes beyond LabelUI's: itemheight (height of a row in the open list),
// itemhotbkcolor (the highlighted row), arrowcolor. "itemselect" goes out whenever the selected
// position changes (by the user or by SelectItem with notification), with wParam the new
// position and lParam the old one.
//
// UI thread only.
#pragma once

#include "ui/toolkit/label.h"

class QComboBox;

namespace forge::ui {

class ComboUI : public LabelUI {
 public:
  explicit ComboUI(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("ComboUI"); }
  bool SetAttribute(const QString& name, const QString& value) override;

  // Appends an entry; answers its position.
  int AddItem(const QString& text, const QString& userData = {});
  void RemoveAll();
  int ItemCount() const;
  QString ItemText(int index) const;
  QString ItemUserData(int index) const;
  int CurSel() const;
  // Selects an entry (-1: none). With `sendNotification` a change sends "itemselect". False
  // for a position out of range.
  bool SelectItem(int index, bool sendNotification = true);

  QComboBox* ComboBox() const;

 protected:
  void PaintText(QPainter& painter) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  class DropDown;
  void ApplyLook();
  DropDown* box_;
  int current_ = -1;
  bool quiet_ = false;
  int itemHeight_ = 24;
  QColor itemHotBkColor_ = QColor(0xFFE8F0FE);
  QColor arrowColor_ = QColor(0xFF52606D);
};

}  // namespace forge::ui
