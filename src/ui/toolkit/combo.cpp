#include "ui/toolkit/combo.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>

#include "ui/toolkit/attributes.h"
#include "ui/toolkit/skin_window.h"

namespace forge::ui {

// Qt's combo box supplies the open list and the keyboard; the control draws the closed box.
class ComboUI::DropDown : public QComboBox {
 public:
  using QComboBox::QComboBox;

 protected:
  void paintEvent(QPaintEvent*) override {}
};

ComboUI::ComboUI(QWidget* parent) : LabelUI(parent), box_(new DropDown(this)) {
  box_->setFocusPolicy(Qt::NoFocus);
  box_->setCursor(Qt::PointingHandCursor);
  setAttribute(Qt::WA_Hover);
  SetAttribute(QStringLiteral("textpadding"), QStringLiteral("8,0,28,0"));
  QObject::connect(box_, &QComboBox::currentIndexChanged, this, [this](int index) {
    const int old = current_;
    current_ = index;
    SetText(box_->itemText(index));
    if (!quiet_ && old != index) Notify(QString::fromUtf16(notify::kItemSelect), index, old);
  });
  ApplyLook();
}

bool ComboUI::SetAttribute(const QString& name, const QString& value) {
  bool ok = true;
  if (name == u"itemheight") {
    int height = 0;
    ok = ReadInt(value, height) && height > 0;
    if (ok) itemHeight_ = height;
  } else if (name == u"itemhotbkcolor") {
    ok = ReadColor(value, itemHotBkColor_);
  } else if (name == u"arrowcolor") {
    ok = ReadColor(value, arrowColor_);
  } else {
    ok = LabelUI::SetAttribute(name, value);
  }
  ApplyLook();
  return ok;
}

int ComboUI::AddItem(const QString& text, const QString& userData) {
  const bool wasQuiet = quiet_;
  const bool noneSelected = current_ < 0;
  quiet_ = true;  // Qt selects the first entry added; that is no selection by anybody
  box_->addItem(text, userData);
  if (noneSelected) {
    box_->setCurrentIndex(-1);
    current_ = -1;
    SetText({});
  }
  quiet_ = wasQuiet;
  return box_->count() - 1;
}

void ComboUI::RemoveAll() {
  quiet_ = true;
  box_->clear();
  current_ = -1;
  SetText({});
  quiet_ = false;
}

int ComboUI::ItemCount() const { return box_->count(); }

QString ComboUI::ItemText(int index) const { return box_->itemText(index); }

QString ComboUI::ItemUserData(int index) const { return box_->itemData(index).toString(); }

int ComboUI::CurSel() const { return current_; }

bool ComboUI::SelectItem(int index, bool sendNotification) {
  if (index < -1 || index >= box_->count()) return false;
  quiet_ = !sendNotification;
  box_->setCurrentIndex(index);
  quiet_ = false;
  return true;
}

QComboBox* ComboUI::ComboBox() const { return box_; }

void ComboUI::PaintText(QPainter& painter) {
  LabelUI::PaintText(painter);
  // The chevron.
  const QPointF centre(width() - 16, height() / 2.0);
  QPainterPath chevron;
  chevron.moveTo(centre + QPointF(-4, -2));
  chevron.lineTo(centre + QPointF(0, 2));
  chevron.lineTo(centre + QPointF(4, -2));
  QPen pen(isEnabled() ? arrowColor_ : QColor(0xFFB0B8C1), 1.6);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  painter.save();
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(chevron);
  painter.restore();
}

void ComboUI::resizeEvent(QResizeEvent* event) {
  LabelUI::resizeEvent(event);
  box_->setGeometry(rect());
}

void ComboUI::changeEvent(QEvent* event) {
  LabelUI::changeEvent(event);
  if (event->type() == QEvent::ParentChange) ApplyLook();
}

void ComboUI::ApplyLook() {
  box_->setFont(Font());
  const QColor text = TextColor();
  box_->view()->setStyleSheet(
      QStringLiteral("QAbstractItemView { background: #FFFFFF; color: %1; border: 1px solid "
                     "#CBD2D9; outline: 0; padding: 2px; }"
                     "QAbstractItemView::item { min-height: %2px; padding: 0 6px; }"
                     "QAbstractItemView::item:selected, QAbstractItemView::item:hover "
                     "{ background: %3; color: %1; }")
          .arg(text.name(), QString::number(itemHeight_), itemHotBkColor_.name()));
}

}  // namespace forge::ui
