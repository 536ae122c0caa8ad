#include "ui/toolkit/menu.h"

namespace forge::ui {

MenuElementUI::MenuElementUI(QWidget* parent) : ButtonUI(parent) {
  SetTextAlign(Qt::AlignLeft | Qt::AlignVCenter);
}

bool MenuElementUI::Activate() {
  if (!IsVisible() || !isEnabled()) return false;
  Notify(QString::fromUtf16(notify::kItemClick), 0, 0, lastPress_);
  return true;
}

}  // namespace forge::ui
