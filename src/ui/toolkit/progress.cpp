#include "ui/toolkit/progress.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "ui/toolkit/attributes.h"
#include "ui/toolkit/ui_thread.h"

namespace forge::ui {

ProgressUI::ProgressUI(QWidget* parent) : LabelUI(parent) { SetTextAlign(Qt::AlignCenter); }

bool ProgressUI::SetAttribute(const QString& name, const QString& value) {
  bool ok = true;
  if (name == u"min") {
    ok = ReadInt(value, min_);
  } else if (name == u"max") {
    ok = ReadInt(value, max_);
  } else if (name == u"value") {
    ok = ReadInt(value, value_);
  } else if (name == u"forecolor") {
    ok = ReadColor(value, foreColor_);
  } else if (name == u"forecolor2") {
    ok = ReadColor(value, foreColor2_);
  } else if (name == u"foreimage") {
    foreImage_ = value;
  } else {
    return LabelUI::SetAttribute(name, value);
  }
  update();
  return ok;
}

void ProgressUI::SetValue(int value) {
  RunOnUiThread(this, [this, value] {
    if (value_ == value) return;
    value_ = value;
    update();
  });
}

double ProgressUI::FilledShare() const {
  if (max_ <= min_) return 0;
  return std::clamp(static_cast<double>(value_ - min_) / (max_ - min_), 0.0, 1.0);
}

void ProgressUI::PaintStatusImage(QPainter& painter) {
  const int filled = static_cast<int>(FilledShare() * width() + 0.5);
  if (filled <= 0) return;
  const QRect part(0, 0, filled, height());
  painter.save();
  const QSize round = CornerRadius();
  if (!round.isEmpty()) {
    // The filled part keeps the bar's rounded ends: clip to the whole bar, round the part too.
    QPainterPath bar;
    bar.addRoundedRect(QRectF(rect()), round.width() / 2.0, round.height() / 2.0);
    painter.setClipPath(bar, Qt::IntersectClip);
  }
  if (foreColor_.isValid()) {
    QBrush brush(foreColor_);
    if (foreColor2_.isValid()) {
      QLinearGradient gradient(0, 0, width(), 0);
      gradient.setColorAt(0, foreColor_);
      gradient.setColorAt(1, foreColor2_);
      brush = QBrush(gradient);
    }
    if (!round.isEmpty()) {
      QPainterPath path;
      path.addRoundedRect(QRectF(part), std::min(round.width() / 2.0, filled / 2.0),
                          round.height() / 2.0);
      painter.fillPath(path, brush);
    } else {
      painter.fillRect(part, brush);
    }
  }
  if (!foreImage_.isEmpty()) {
    painter.setClipRect(part, Qt::IntersectClip);
    DrawImage(painter, foreImage_);
  }
  painter.restore();
}

}  // namespace forge::ui
