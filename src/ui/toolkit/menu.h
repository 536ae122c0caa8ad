// Menu controls, for the popup menu windows.
//
//   MenuUI         the list of a menu's elements (class "MenuUI"), a vertical layout.
//   MenuElementUI  one element (class "MenuElementUI"), drawn like a button; a click sends
//                  "itemclick" with the element as sender instead of "click".
//
// UI thread only.
#pragma once

#include "ui/toolkit/button.h"
#include "ui/toolkit/container.h"

namespace forge::ui {

class MenuUI : public VerticalLayoutUI {
 public:
  using VerticalLayoutUI::VerticalLayoutUI;
  QString GetClass() const override { return QStringLiteral("MenuUI"); }
};

class MenuElementUI : public ButtonUI {
 public:
  explicit MenuElementUI(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("MenuElementUI"); }
  bool Activate() override;
};

}  // namespace forge::ui
