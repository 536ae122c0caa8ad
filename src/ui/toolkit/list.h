// Lists: rows with a text and an optional image per column, on Qt's model/view, so that lists
// of 100,000 rows scroll smoothly.
//
//   ListUI            the list (class "ListUI"): an optional ListHeader from the layout above
//                     the rows.
//   ListHeaderUI      the header row (class "ListHeaderUI"), a horizontal layout of
//   ListHeaderItemUI  column headers (class "ListHeaderItemUI"); their widths are the columns'.
//   ListRow           one row (class "ListImageTextElementUI"); not a widget. Derived row
//                     classes may add their own data and class name.
//
// List attributes beyond ControlUI's: itemheight, itemfont, itemtextcolor,
// itemselectedtextcolor, itembkcolor, itemaltbkcolor, itemhotbkcolor, itemselectedbkcolor,
// itemlinecolor, itemtextpadding "l,t,r,b", itemshowhtml (row texts carry inline markup),
// itemendellipsis (default true), multiselect, header ("hidden" hides the header).
//
// Notifications, sender the list:
//   "itemselect"         the selected row changed (wParam new index or -1, lParam old index);
//   "itemclick"          a row was clicked (Notification::row);
//   "list_item_dbclick"  a row was double-clicked (Notification::row);
//   "menu"               right click, when the layout sets menu="true" (Notification::row is
//                        the row under the mouse or null; point in window coordinates).
//
// Ownership: the list owns its rows; removing a row destroys it. UI thread only.
#pragma once

#include <QIcon>
#include <cstdint>
#include <memory>
#include <vector>

#include "ui/toolkit/button.h"
#include "ui/toolkit/container.h"

class QTreeView;
class QWheelEvent;

namespace forge::ui {

class ListUI;

class ListRow {
 public:
  ListRow() = default;
  virtual ~ListRow();
  ListRow(const ListRow&) = delete;
  ListRow& operator=(const ListRow&) = delete;

  virtual QString GetClass() const { return QStringLiteral("ListImageTextElementUI"); }

  QString Text(int column) const;
  void SetText(int column, const QString& text);
  // An image string drawn over the row's first column ("dest" relative to the cell).
  QString Image() const { return image_; }
  void SetImage(const QString& imageString);
  // A small icon in front of the first column's text.
  QIcon Icon() const { return icon_; }
  void SetIcon(const QIcon& icon);
  std::uint64_t Tag() const { return tag_; }
  void SetTag(std::uint64_t tag) { tag_ = tag; }
  QString UserData() const { return userData_; }
  void SetUserData(const QString& data) { userData_ = data; }

  // A hidden row takes no room in the list (rows under a closed node, for example).
  bool IsVisible() const { return visible_; }
  void SetVisible(bool visible);

  // The list the row is in, or null.
  ListUI* Owner() const { return owner_; }
  // Position in the owner, -1 without one.
  int Index() const;

 private:
  friend class ListUI;
  void Changed();
  ListUI* owner_ = nullptr;
  std::vector<QString> texts_;
  QString image_;
  QIcon icon_;
  std::uint64_t tag_ = 0;
  QString userData_;
  bool visible_ = true;
};

class ListHeaderItemUI : public LabelUI {
 public:
  explicit ListHeaderItemUI(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("ListHeaderItemUI"); }
};

class ListHeaderUI : public HorizontalLayoutUI {
 public:
  using HorizontalLayoutUI::HorizontalLayoutUI;
  QString GetClass() const override { return QStringLiteral("ListHeaderUI"); }
  void Arrange() override;
};

class ListUI : public VerticalLayoutUI {
 public:
  explicit ListUI(QWidget* parent = nullptr);
  ~ListUI() override;
  QString GetClass() const override { return QStringLiteral("ListUI"); }
  bool SetAttribute(const QString& name, const QString& value) override;
  // A ListHeader becomes the header; other controls are refused.
  bool AddAt(ControlUI* control, int index) override;
  void Arrange() override;

  ListHeaderUI* Header() const { return header_; }
  int ColumnCount() const;

  // Rows. InsertRow answers the row now owned by the list, or null for an index out of range
  // (the row is then destroyed).
  virtual ListRow* InsertRow(int index, std::unique_ptr<ListRow> row);
  ListRow* AddRow(std::unique_ptr<ListRow> row);
  virtual bool RemoveRow(int index);
  bool RemoveRow(ListRow* row);
  virtual void RemoveAllRows();
  int RowCount() const { return static_cast<int>(rows_.size()); }
  ListRow* RowAt(int index) const;
  int IndexOf(const ListRow* row) const;

  // Selection. SelectRow(-1) clears it; with `sendNotification` a change sends "itemselect".
  bool SelectRow(int index, bool sendNotification = true);
  int SelectedIndex() const;
  std::vector<int> SelectedIndexes() const;

  // Vertical scrolling in pixels.
  int ScrollPosition() const;
  void SetScrollPosition(int position);
  int ScrollRange() const;  // the largest position

  QTreeView* View() const;

 protected:
  // A wheel turn over the rows; answer true when handled (the default scrolls by Qt's rule).
  virtual bool OnWheel(QWheelEvent& event);

 private:
  class Model;
  class Delegate;
  class RowView;
  friend class ListRow;
  friend class ListHeaderUI;
  friend class RowView;
  void RowChanged(ListRow* row);
  void RowVisibilityChanged(ListRow* row);
  void SyncColumns();

  ListHeaderUI* header_ = nullptr;
  ControlUI* body_ = nullptr;
  RowView* view_ = nullptr;
  Model* model_ = nullptr;
  Delegate* delegate_ = nullptr;
  std::vector<std::unique_ptr<ListRow>> rows_;
  bool quiet_ = false;
  int lastSelected_ = -1;

  // Row look.
  friend class Delegate;
  int itemHeight_ = 28;
  int itemFont_ = -1;
  QColor itemTextColor_ = QColor(0xFF1F2933);
  QColor itemSelectedTextColor_ = QColor(0xFF1F2933);
  QColor itemBkColor_;
  QColor itemAltBkColor_;
  QColor itemHotBkColor_ = QColor(0xFFF0F4F8);
  QColor itemSelectedBkColor_ = QColor(0xFFDCEBFF);
  QColor itemLineColor_;
  QMargins itemTextPadding_ = QMargins(8, 0, 8, 0);
  bool itemShowHtml_ = false;
  bool itemEndEllipsis_ = true;
};

}  // namespace forge::ui
