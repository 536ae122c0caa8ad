#include "ui/toolkit/label.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <vector>

#include "ui/toolkit/attributes.h"
#include "ui/toolkit/markup.h"
#include "ui/toolkit/skin_window.h"

namespace forge::ui {

namespace {

// The lines a text breaks into at `width`, as (start, length) in the text.
std::vector<std::pair<int, int>> BreakLines(const QString& text, const QFont& font, int width) {
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  std::vector<std::pair<int, int>> lines;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(std::max(1, width));
    lines.emplace_back(line.textStart(), line.textLength());
  }
  layout.endLayout();
  return lines;
}

}  // namespace

LabelUI::LabelUI(QWidget* parent) : ControlUI(parent) {}

bool LabelUI::SetAttribute(const QString& name, const QString& value) {
  bool ok = true;
  if (name == u"font") {
    ok = ReadInt(value, font_);
  } else if (name == u"textcolor") {
    ok = ReadColor(value, textColor_);
  } else if (name == u"disabledtextcolor") {
    ok = ReadColor(value, disabledTextColor_);
  } else if (name == u"align") {
    ok = ReadHorizontalAlign(value, align_);
  } else if (name == u"valign") {
    ok = ReadVerticalAlign(value, align_);
  } else if (name == u"textpadding") {
    ok = ReadEdges(value, textPadding_);
  } else if (name == u"endellipsis") {
    ok = ReadBool(value, endEllipsis_);
  } else if (name == u"showhtml") {
    ok = ReadBool(value, showHtml_);
  } else if (name == u"wordbreak") {
    ok = ReadBool(value, wordBreak_);
  } else {
    return ControlUI::SetAttribute(name, value);
  }
  update();
  return ok;
}

QFont LabelUI::Font() const {
  auto* window = Window();
  return window ? window->Font(font_) : font();
}

QRect LabelUI::TextRect() const { return rect().marginsRemoved(textPadding_); }

QSize LabelUI::TextExtent() const {
  auto* window = Window();
  if (showHtml_ && window) {
    return MeasureMarkup(
        ParseMarkup(Text()), [window](int i) { return window->Font(i); }, window->Package());
  }
  const QFontMetrics metrics(Font());
  if (wordBreak_) {
    const auto lines = BreakLines(Text(), Font(), TextRect().width());
    return QSize(TextRect().width(), static_cast<int>(lines.size()) * metrics.lineSpacing());
  }
  return QSize(metrics.horizontalAdvance(Text()), metrics.height());
}

QColor LabelUI::CurrentTextColor() const { return isEnabled() ? textColor_ : disabledTextColor_; }

void LabelUI::PaintText(QPainter& painter) {
  if (Text().isEmpty()) return;
  const QRect area = TextRect();
  auto* window = Window();
  if (showHtml_ && window) {
    MarkupStyle style;
    style.color = CurrentTextColor();
    style.align = align_;
    style.elide = endEllipsis_;
    DrawMarkup(
        painter, area, ParseMarkup(Text()), [window](int i) { return window->Font(i); },
        window->Package(), style);
    return;
  }
  painter.save();
  painter.setFont(Font());
  painter.setPen(CurrentTextColor());
  painter.setClipRect(area, Qt::IntersectClip);
  if (wordBreak_) {
    PaintWrapped(painter, area);
  } else {
    QString text = Text();
    if (endEllipsis_) text = painter.fontMetrics().elidedText(text, Qt::ElideRight, area.width());
    painter.drawText(area, static_cast<int>(align_) | Qt::TextSingleLine, text);
  }
  painter.restore();
}

void LabelUI::PaintWrapped(QPainter& painter, const QRect& area) const {
  // Only whole lines are drawn; when the text goes on below the area, its last visible line
  // ends with an ellipsis.
  const QFontMetrics metrics(painter.font());
  const auto lines = BreakLines(Text(), painter.font(), area.width());
  const int lineHeight = metrics.lineSpacing();
  const size_t shown =
      std::min(lines.size(), static_cast<size_t>(std::max(1, area.height() / lineHeight)));
  const int total = static_cast<int>(shown) * lineHeight;
  int y = area.top();
  if (align_ & Qt::AlignVCenter) y += (area.height() - total) / 2;
  if (align_ & Qt::AlignBottom) y += area.height() - total;
  const int flags =
      static_cast<int>(align_ & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter | Qt::TextSingleLine;
  for (size_t i = 0; i < shown; ++i) {
    QString text = Text().mid(lines[i].first, lines[i].second).trimmed();
    if (i + 1 == shown && shown < lines.size()) {
      text =
          metrics.elidedText(Text().mid(lines[i].first).simplified(), Qt::ElideRight, area.width());
    }
    painter.drawText(QRect(area.left(), y, area.width(), lineHeight), flags, text);
    y += lineHeight;
  }
}

TextUI::TextUI(QWidget* parent) : LabelUI(parent) {
  SetWordBreak(true);
  SetTextAlign(Qt::AlignLeft | Qt::AlignTop);
}

}  // namespace forge::ui
