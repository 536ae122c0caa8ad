#include "ui/toolkit/list.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QWheelEvent>
#include <algorithm>

#include "ui/toolkit/attributes.h"
#include "ui/toolkit/markup.h"
#include "ui/toolkit/skin_image.h"
#include "ui/toolkit/skin_window.h"

namespace forge::ui {

namespace {

constexpr int kIconSize = 16;

}  // namespace

// ---- ListRow -------------------------------------------------------------------------------

ListRow::~ListRow() = default;

QString ListRow::Text(int column) const {
  if (column < 0 || column >= static_cast<int>(texts_.size())) return {};
  return texts_[static_cast<size_t>(column)];
}

void ListRow::SetText(int column, const QString& text) {
  if (column < 0) return;
  if (column >= static_cast<int>(texts_.size())) texts_.resize(static_cast<size_t>(column) + 1);
  texts_[static_cast<size_t>(column)] = text;
  Changed();
}

void ListRow::SetImage(const QString& imageString) {
  image_ = imageString;
  Changed();
}

void ListRow::SetIcon(const QIcon& icon) {
  icon_ = icon;
  Changed();
}

void ListRow::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  if (owner_) owner_->RowVisibilityChanged(this);
}

int ListRow::Index() const { return owner_ ? owner_->IndexOf(this) : -1; }

void ListRow::Changed() {
  if (owner_) owner_->RowChanged(this);
}

// ---- model, delegate, view -----------------------------------------------------------------

class ListUI::Model : public QAbstractTableModel {
 public:
  explicit Model(ListUI* list) : QAbstractTableModel(list), list_(list) {}

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : list_->RowCount();
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : list_->ColumnCount();
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    const ListRow* row = list_->RowAt(index.row());
    return row ? row->Text(index.column()) : QString();
  }

  void BeginInsert(int index) { beginInsertRows({}, index, index); }
  void EndInsert() { endInsertRows(); }
  void BeginRemove(int first, int last) { beginRemoveRows({}, first, last); }
  void EndRemove() { endRemoveRows(); }
  void ColumnsChanged() {
    beginResetModel();
    endResetModel();
  }
  void RowChanged(int index) {
    emit dataChanged(this->index(index, 0), this->index(index, std::max(0, columnCount({}) - 1)));
  }

 private:
  ListUI* list_;
};

class ListUI::Delegate : public QStyledItemDelegate {
 public:
  explicit Delegate(ListUI* list) : QStyledItemDelegate(list), list_(list) {}

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return QSize(10, list_->itemHeight_);
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const ListRow* row = list_->RowAt(index.row());
    auto* window = list_->Window();
    if (!row || !window) return;
    const QRect cell = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    const bool hot = option.state & QStyle::State_MouseOver;
    QColor background = list_->itemBkColor_;
    if (list_->itemAltBkColor_.isValid() && index.row() % 2 == 1) {
      background = list_->itemAltBkColor_;
    }
    if (hot && list_->itemHotBkColor_.isValid()) background = list_->itemHotBkColor_;
    if (selected && list_->itemSelectedBkColor_.isValid()) {
      background = list_->itemSelectedBkColor_;
    }
    painter->save();
    if (background.isValid()) painter->fillRect(cell, background);
    if (list_->itemLineColor_.isValid()) {
      painter->fillRect(QRect(cell.left(), cell.bottom(), cell.width(), 1), list_->itemLineColor_);
    }
    QRect textArea = cell.marginsRemoved(list_->itemTextPadding_);
    if (index.column() == 0) {
      if (!row->Image().isEmpty()) DrawSkinImage(*painter, cell, row->Image(), window->Package());
      if (!row->Icon().isNull()) {
        const QRect iconArea(textArea.left(), cell.top() + (cell.height() - kIconSize) / 2,
                             kIconSize, kIconSize);
        row->Icon().paint(painter, iconArea);
        textArea.setLeft(iconArea.right() + 7);
      }
    }
    const QString text = row->Text(index.column());
    const QColor color = selected ? list_->itemSelectedTextColor_ : list_->itemTextColor_;
    if (list_->itemShowHtml_) {
      MarkupStyle style;
      style.color = color;
      style.elide = list_->itemEndEllipsis_;
      DrawMarkup(
          *painter, textArea, ParseMarkup(text),
          [window, font = list_->itemFont_](int i) { return window->Font(i < 0 ? font : i); },
          window->Package(), style);
    } else {
      painter->setFont(window->Font(list_->itemFont_));
      painter->setPen(color);
      painter->setClipRect(textArea);
      const QString shown = list_->itemEndEllipsis_ ? painter->fontMetrics().elidedText(
                                                          text, Qt::ElideRight, textArea.width())
                                                    : text;
      painter->drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    }
    painter->restore();
  }

 private:
  ListUI* list_;
};

class ListUI::RowView : public QTreeView {
 public:
  RowView(ListUI* list, QWidget* parent) : QTreeView(parent), list_(list) {}

 protected:
  void drawRow(QPainter* painter, const QStyleOptionViewItem& options,
               const QModelIndex& index) const override {
    const int columns = model()->columnCount({});
    for (int column = 0; column < columns; ++column) {
      const QModelIndex cell = index.siblingAtColumn(column);
      QStyleOptionViewItem option = options;
      option.rect = visualRect(cell);
      if (column == columns - 1) option.rect.setRight(viewport()->width() - 1);
      option.state &= ~(QStyle::State_Selected | QStyle::State_MouseOver);
      if (selectionModel()->isRowSelected(index.row(), {})) option.state |= QStyle::State_Selected;
      if (index.row() == hotRow_) option.state |= QStyle::State_MouseOver;
      itemDelegate()->paint(painter, option, cell);
    }
  }

  void mouseMoveEvent(QMouseEvent* event) override {
    SetHotRow(indexAt(event->position().toPoint()).row());
    QTreeView::mouseMoveEvent(event);
  }

  void leaveEvent(QEvent* event) override {
    SetHotRow(-1);
    QTreeView::leaveEvent(event);
  }

  void wheelEvent(QWheelEvent* event) override {
    if (list_->OnWheel(*event)) {
      event->accept();
      return;
    }
    QTreeView::wheelEvent(event);
  }

 private:
  void SetHotRow(int row) {
    if (row == hotRow_) return;
    hotRow_ = row;
    viewport()->update();
  }

  ListUI* list_;
  int hotRow_ = -1;
};

// ---- header --------------------------------------------------------------------------------

ListHeaderItemUI::ListHeaderItemUI(QWidget* parent) : LabelUI(parent) {}

void ListHeaderUI::Arrange() {
  HorizontalLayoutUI::Arrange();
  if (auto* list = dynamic_cast<ListUI*>(parentWidget())) list->SyncColumns();
}

// ---- ListUI --------------------------------------------------------------------------------

ListUI::ListUI(QWidget* parent) : VerticalLayoutUI(parent) {
  body_ = new ControlUI();
  ContainerUI::AddAt(body_, 0);
  model_ = new Model(this);
  delegate_ = new Delegate(this);
  view_ = new RowView(this, body_);
  view_->setModel(model_);
  view_->setItemDelegate(delegate_);
  view_->setHeaderHidden(true);
  view_->setRootIsDecorated(false);
  view_->setItemsExpandable(false);
  view_->setUniformRowHeights(true);
  view_->setIndentation(0);
  view_->setFrameShape(QFrame::NoFrame);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view_->setMouseTracking(true);
  view_->setContextMenuPolicy(Qt::CustomContextMenu);
  view_->header()->setStretchLastSection(true);
  QPalette palette = view_->palette();
  palette.setColor(QPalette::Base, Qt::transparent);
  view_->setPalette(palette);
  view_->viewport()->setAutoFillBackground(false);
  view_->setStyleSheet(QStringLiteral(
      "QScrollBar:vertical { background: transparent; width: 10px; margin: 2px 2px 2px 0; }"
      "QScrollBar::handle:vertical { background: #C5CDD5; border-radius: 3px; min-height: 28px; }"
      "QScrollBar::handle:vertical:hover { background: #9AA5B1; }"
      "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
      "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }"));

  QObject::connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    const int now = SelectedIndex();
    const int before = lastSelected_;
    if (now == before) return;
    lastSelected_ = now;
    if (!quiet_) Notify(QString::fromUtf16(notify::kItemSelect), now, before);
  });
  const auto rowNotification = [this](const QString& type, const QModelIndex& index,
                                      QPoint viewportPoint) {
    auto* window = Window();
    if (!window) return;
    Notification notification{type,        this, RowAt(index.row()),
                              index.row(), 0,    view_->viewport()->mapTo(window, viewportPoint)};
    window->SendNotify(notification);
  };
  QObject::connect(view_, &QAbstractItemView::clicked, this,
                   [this, rowNotification](const QModelIndex& index) {
                     rowNotification(QString::fromUtf16(notify::kItemClick), index,
                                     view_->viewport()->mapFromGlobal(QCursor::pos()));
                   });
  QObject::connect(view_, &QAbstractItemView::doubleClicked, this,
                   [this, rowNotification](const QModelIndex& index) {
                     rowNotification(QString::fromUtf16(notify::kListItemDbClick), index,
                                     view_->viewport()->mapFromGlobal(QCursor::pos()));
                   });
  QObject::connect(
      view_, &QWidget::customContextMenuRequested, this, [this, rowNotification](QPoint point) {
        if (!SendsMenu()) return;
        rowNotification(QString::fromUtf16(notify::kMenu), view_->indexAt(point), point);
      });
}

ListUI::~ListUI() {
  // The view goes first, so it asks the model nothing about rows being destroyed.
  delete view_;
  view_ = nullptr;
  for (auto& row : rows_) row->owner_ = nullptr;
}

bool ListUI::SetAttribute(const QString& name, const QString& value) {
  bool ok = true;
  if (name == u"itemheight") {
    int height = 0;
    ok = ReadInt(value, height) && height > 0;
    if (ok) itemHeight_ = height;
  } else if (name == u"itemfont") {
    ok = ReadInt(value, itemFont_);
  } else if (name == u"itemtextcolor") {
    ok = ReadColor(value, itemTextColor_);
  } else if (name == u"itemselectedtextcolor") {
    ok = ReadColor(value, itemSelectedTextColor_);
  } else if (name == u"itembkcolor") {
    ok = ReadColor(value, itemBkColor_);
  } else if (name == u"itemaltbkcolor") {
    ok = ReadColor(value, itemAltBkColor_);
  } else if (name == u"itemhotbkcolor") {
    ok = ReadColor(value, itemHotBkColor_);
  } else if (name == u"itemselectedbkcolor") {
    ok = ReadColor(value, itemSelectedBkColor_);
  } else if (name == u"itemlinecolor") {
    ok = ReadColor(value, itemLineColor_);
  } else if (name == u"itemtextpadding") {
    ok = ReadEdges(value, itemTextPadding_);
  } else if (name == u"itemshowhtml") {
    ok = ReadBool(value, itemShowHtml_);
  } else if (name == u"itemendellipsis") {
    ok = ReadBool(value, itemEndEllipsis_);
  } else if (name == u"multiselect") {
    bool multiple = false;
    ok = ReadBool(value, multiple);
    view_->setSelectionMode(multiple ? QAbstractItemView::ExtendedSelection
                                     : QAbstractItemView::SingleSelection);
  } else if (name == u"header") {
    ok = value == u"hidden" || value == u"visible";
    if (ok && header_) header_->SetVisible(value == u"visible");
  } else {
    return VerticalLayoutUI::SetAttribute(name, value);
  }
  view_->viewport()->update();
  return ok;
}

bool ListUI::AddAt(ControlUI* control, int) {
  auto* header = dynamic_cast<ListHeaderUI*>(control);
  if (!header || header_) return false;
  header_ = header;
  ContainerUI::AddAt(header, 0);
  model_->ColumnsChanged();
  SyncColumns();
  return true;
}

void ListUI::Arrange() {
  VerticalLayoutUI::Arrange();
  SyncColumns();
}

int ListUI::ColumnCount() const { return header_ ? std::max(1, header_->Count()) : 1; }

ListRow* ListUI::InsertRow(int index, std::unique_ptr<ListRow> row) {
  if (!row || index < 0 || index > RowCount()) return nullptr;
  ListRow* raw = row.get();
  raw->owner_ = this;
  model_->BeginInsert(index);
  rows_.insert(rows_.begin() + index, std::move(row));
  model_->EndInsert();
  if (!raw->visible_) view_->setRowHidden(index, {}, true);
  return raw;
}

ListRow* ListUI::AddRow(std::unique_ptr<ListRow> row) {
  return InsertRow(RowCount(), std::move(row));
}

bool ListUI::RemoveRow(int index) {
  if (index < 0 || index >= RowCount()) return false;
  quiet_ = true;
  // Qt would move the selection to a neighbour; a removed selected row leaves none selected.
  if (view_->selectionModel()->isRowSelected(index, {})) view_->selectionModel()->clear();
  model_->BeginRemove(index, index);
  auto row = std::move(rows_[static_cast<size_t>(index)]);
  rows_.erase(rows_.begin() + index);
  model_->EndRemove();
  row->owner_ = nullptr;
  lastSelected_ = SelectedIndex();
  quiet_ = false;
  return true;
}

bool ListUI::RemoveRow(ListRow* row) { return RemoveRow(IndexOf(row)); }

void ListUI::RemoveAllRows() {
  if (rows_.empty()) return;
  quiet_ = true;
  model_->BeginRemove(0, RowCount() - 1);
  auto rows = std::move(rows_);
  rows_.clear();
  model_->EndRemove();
  for (auto& row : rows) row->owner_ = nullptr;
  lastSelected_ = -1;
  quiet_ = false;
}

ListRow* ListUI::RowAt(int index) const {
  if (index < 0 || index >= RowCount()) return nullptr;
  return rows_[static_cast<size_t>(index)].get();
}

int ListUI::IndexOf(const ListRow* row) const {
  const auto found = std::find_if(rows_.begin(), rows_.end(),
                                  [row](const auto& candidate) { return candidate.get() == row; });
  return found == rows_.end() ? -1 : static_cast<int>(found - rows_.begin());
}

bool ListUI::SelectRow(int index, bool sendNotification) {
  if (index < -1 || index >= RowCount()) return false;
  quiet_ = !sendNotification;
  if (index < 0) {
    view_->selectionModel()->clearSelection();
    view_->selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
  } else {
    view_->selectionModel()->setCurrentIndex(
        model_->index(index, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view_->scrollTo(model_->index(index, 0));
  }
  lastSelected_ = SelectedIndex();
  quiet_ = false;
  return true;
}

int ListUI::SelectedIndex() const {
  const auto rows = view_->selectionModel()->selectedRows();
  if (rows.isEmpty()) return -1;
  int first = rows.front().row();
  for (const auto& index : rows) first = std::min(first, index.row());
  return first;
}

std::vector<int> ListUI::SelectedIndexes() const {
  std::vector<int> indexes;
  for (const auto& index : view_->selectionModel()->selectedRows()) indexes.push_back(index.row());
  std::sort(indexes.begin(), indexes.end());
  return indexes;
}

int ListUI::ScrollPosition() const { return view_->verticalScrollBar()->value(); }

void ListUI::SetScrollPosition(int position) { view_->verticalScrollBar()->setValue(position); }

int ListUI::ScrollRange() const { return view_->verticalScrollBar()->maximum(); }

QTreeView* ListUI::View() const { return view_; }

bool ListUI::OnWheel(QWheelEvent&) { return false; }

void ListUI::RowChanged(ListRow* row) {
  const int index = IndexOf(row);
  if (index >= 0) model_->RowChanged(index);
}

void ListUI::RowVisibilityChanged(ListRow* row) {
  const int index = IndexOf(row);
  if (index >= 0) view_->setRowHidden(index, {}, !row->visible_);
}

void ListUI::SyncColumns() {
  if (!view_) return;
  if (header_ && model_->columnCount({}) != ColumnCount()) model_->ColumnsChanged();
  view_->setGeometry(body_->rect());
  if (!header_) return;
  for (int column = 0; column < header_->Count(); ++column) {
    auto* item = header_->ItemAt(column);
    view_->setColumnWidth(column, item->IsVisible() ? item->width() : 0);
  }
}

}  // namespace forge::ui
