// ProgressUI: a bar showing a value between a minimum and a maximum (class "ProgressUI"); the
// value is clamped to the range when drawn. It may carry a text like a label.
//
// Attributes beyond LabelUI's: min, max, value, forecolor, forecolor2 (a gradient along the
// bar), foreimage (an image string drawn over the filled part).
//
// SetValue may be called from any thread.
#pragma once

#include "ui/toolkit/label.h"

namespace forge::ui {

class ProgressUI : public LabelUI {
 public:
  explicit ProgressUI(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("ProgressUI"); }
  bool SetAttribute(const QString& name, const QString& value) override;

  int Minimum() const { return min_; }
  int Maximum() const { return max_; }
  int Value() const { return value_; }
  // Any thread.
  void SetValue(int value);
  // The filled share of the bar, 0 to 1.
  double FilledShare() const;

 protected:
  void PaintStatusImage(QPainter& painter) override;

 private:
  int min_ = 0;
  int max_ = 100;
  int value_ = 0;
  QColor foreColor_;
  QColor foreColor2_;
  QString foreImage_;
};

}  // namespace forge::ui
