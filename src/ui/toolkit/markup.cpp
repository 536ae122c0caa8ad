#include "ui/toolkit/markup.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>

#include "ui/toolkit/skin_package.h"

namespace forge::ui {

namespace {

MarkupRun RunOf(MarkupRun::Kind kind) {
  MarkupRun run;
  run.kind = kind;
  return run;
}

void AppendText(std::vector<MarkupRun>& runs, const QString& text, int font) {
  if (text.isEmpty()) return;
  if (!runs.empty() && runs.back().kind == MarkupRun::Kind::Text && runs.back().font == font) {
    runs.back().text += text;
    return;
  }
  MarkupRun run;
  run.text = text;
  run.font = font;
  runs.push_back(std::move(run));
}

void AppendPlain(std::vector<MarkupRun>& runs, QStringView text, int font) {
  const auto lines = text.split(u'\n');
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (i > 0) runs.push_back(RunOf(MarkupRun::Kind::LineBreak));
    AppendText(runs, lines[i].toString(), font);
  }
}

struct Piece {
  const MarkupRun* run;
  int width;
  int height;
};

QSize ImageSize(const MarkupRun& run, const SkinPackage& package, QImage* image = nullptr) {
  const QImage found = package.Image(run.image);
  if (found.isNull() || run.parts < 1 || run.part < 0 || run.part >= run.parts) return {};
  if (image) *image = found;
  return QSize(found.width() / run.parts, found.height());
}

// Splits the runs into lines of measured pieces.
std::vector<std::vector<Piece>> LayOut(const std::vector<MarkupRun>& runs, const FontLookup& fonts,
                                       const SkinPackage& package) {
  std::vector<std::vector<Piece>> lines(1);
  for (const auto& run : runs) {
    switch (run.kind) {
      case MarkupRun::Kind::LineBreak:
        lines.emplace_back();
        break;
      case MarkupRun::Kind::Space:
        lines.back().push_back({&run, std::max(run.width, 0), 0});
        break;
      case MarkupRun::Kind::Image: {
        const QSize size = ImageSize(run, package);
        lines.back().push_back({&run, size.width(), size.height()});
        break;
      }
      case MarkupRun::Kind::Text: {
        const QFontMetrics metrics(fonts(run.font));
        lines.back().push_back({&run, metrics.horizontalAdvance(run.text), metrics.height()});
        break;
      }
    }
  }
  return lines;
}

int LineHeight(const std::vector<Piece>& line, const FontLookup& fonts) {
  int height = QFontMetrics(fonts(-1)).height();
  for (const auto& piece : line) height = std::max(height, piece.height);
  return height;
}

}  // namespace

std::vector<MarkupRun> ParseMarkup(QStringView text) {
  std::vector<MarkupRun> runs;
  std::vector<int> fontStack;
  const auto currentFont = [&fontStack] { return fontStack.empty() ? -1 : fontStack.back(); };
  qsizetype i = 0;
  while (i < text.size()) {
    const qsizetype open = text.indexOf(u'{', i);
    const qsizetype close = open < 0 ? -1 : text.indexOf(u'}', open);
    if (open < 0 || close < 0) {
      AppendPlain(runs, text.mid(i), currentFont());
      break;
    }
    AppendPlain(runs, text.mid(i, open - i), currentFont());
    i = close + 1;
    const auto words =
        text.mid(open + 1, close - open - 1).trimmed().split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty()) continue;
    const QStringView tag = words[0];
    const auto number = [&words](qsizetype index, int fallback) {
      if (index >= words.size()) return fallback;
      bool ok = false;
      const int value = words[index].toInt(&ok);
      return ok ? value : fallback;
    };
    if (tag == u"f" && words.size() >= 2) {
      fontStack.push_back(number(1, -1));
    } else if (tag == u"/f") {
      if (!fontStack.empty()) fontStack.pop_back();
    } else if (tag == u"x" && words.size() >= 2) {
      MarkupRun run = RunOf(MarkupRun::Kind::Space);
      run.width = number(1, 0);
      runs.push_back(run);
    } else if (tag == u"i" && words.size() >= 2) {
      MarkupRun run = RunOf(MarkupRun::Kind::Image);
      run.image = words[1].toString();
      run.parts = number(2, 1);
      run.part = number(3, 0);
      runs.push_back(run);
    } else if (tag == u"n") {
      runs.push_back(RunOf(MarkupRun::Kind::LineBreak));
    }
    // Anything else, closing tags such as {/5} included, is ignored.
  }
  return runs;
}

QSize MeasureMarkup(const std::vector<MarkupRun>& runs, const FontLookup& fonts,
                    const SkinPackage& package) {
  QSize size;
  for (const auto& line : LayOut(runs, fonts, package)) {
    int width = 0;
    for (const auto& piece : line) width += piece.width;
    size.setWidth(std::max(size.width(), width));
    size.setHeight(size.height() + LineHeight(line, fonts));
  }
  return size;
}

void DrawMarkup(QPainter& painter, const QRect& area, const std::vector<MarkupRun>& runs,
                const FontLookup& fonts, const SkinPackage& package, const MarkupStyle& style) {
  const auto lines = LayOut(runs, fonts, package);
  int total = 0;
  for (const auto& line : lines) total += LineHeight(line, fonts);
  int y = area.top();
  if (style.align & Qt::AlignVCenter) y += (area.height() - total) / 2;
  if (style.align & Qt::AlignBottom) y += area.height() - total;

  painter.save();
  painter.setClipRect(area, Qt::IntersectClip);
  painter.setPen(style.color);
  for (const auto& line : lines) {
    const int height = LineHeight(line, fonts);
    int width = 0;
    for (const auto& piece : line) width += piece.width;
    int x = area.left();
    if (style.align & Qt::AlignHCenter) x += std::max(0, (area.width() - width) / 2);
    if (style.align & Qt::AlignRight) x += std::max(0, area.width() - width);
    for (const auto& piece : line) {
      const MarkupRun& run = *piece.run;
      const int room = area.right() + 1 - x;
      if (room <= 0) break;
      if (run.kind == MarkupRun::Kind::Image) {
        QImage image;
        const QSize size = ImageSize(run, package, &image);
        if (!size.isEmpty()) {
          const qreal scale = image.devicePixelRatio();
          const QRectF source(run.part * size.width() * scale, 0, size.width() * scale,
                              size.height() * scale);
          painter.drawImage(
              QRectF(x, y + (height - size.height()) / 2, size.width(), size.height()), image,
              source);
        }
      } else if (run.kind == MarkupRun::Kind::Text) {
        const QFont font = fonts(run.font);
        const QFontMetrics metrics(font);
        painter.setFont(font);
        QString text = run.text;
        const bool overflows = piece.width > room;
        if (overflows && style.elide) text = metrics.elidedText(text, Qt::ElideRight, room);
        const int baseline = y + (height - metrics.height()) / 2 + metrics.ascent();
        painter.drawText(QPoint(x, baseline), text);
        if (overflows) break;
      }
      x += piece.width;
    }
    y += height;
  }
  painter.restore();
}

}  // namespace forge::ui
