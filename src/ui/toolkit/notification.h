// A notification: what a control tells its window ("click", "selectchanged", "timer", ...).
#pragma once

#include <QPoint>
#include <QString>
#include <cstdint>

namespace forge::ui {

class ControlUI;
class ListRow;

// Types the toolkit sends (windows compare `type` with these texts).
namespace notify {
inline constexpr char16_t kWindowInit[] = u"windowinit";  // once, after the first layout pass
inline constexpr char16_t kClick[] = u"click";
inline constexpr char16_t kSelectChanged[] = u"selectchanged";        // options
inline constexpr char16_t kItemSelect[] = u"itemselect";              // combos, lists
inline constexpr char16_t kItemClick[] = u"itemclick";                // list rows, menu elements
inline constexpr char16_t kListItemDbClick[] = u"list_item_dbclick";  // list rows
inline constexpr char16_t kMenu[] = u"menu";    // right click on a control with menu="true"
inline constexpr char16_t kTimer[] = u"timer";  // control timers; wParam is the identifier
inline constexpr char16_t kTextChanged[] = u"textchanged";  // edits
inline constexpr char16_t kReturn[] = u"return";            // Return pressed in an edit
}  // namespace notify

struct Notification {
  QString type;
  ControlUI* sender = nullptr;
  // The list row concerned, for the list notifications ("itemclick", "list_item_dbclick" and
  // "menu" over a row); valid while the handlers run, unless a handler removes the row.
  ListRow* row = nullptr;
  std::int64_t wParam = 0;
  std::int64_t lParam = 0;
  QPoint point;  // mouse position in the window's client coordinates, where one applies
};

}  // namespace forge::ui
