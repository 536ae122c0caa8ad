// The inline markup of texts whose markup is switched on ("showhtml" labels, list rows with
// "itemshowhtml"):
//   {f n}            the following text in font n of the window's font list, until {/f};
//   {/f}             back to the font before;
//   {x n}            n pixels of empty space;
//   {i name k j}     part j (from 0) of the image `name` cut into k equal parts side by side;
//   {n} or "\n"      a line break.
// Any other tag, such as a closing "{/5}", has no effect and is not drawn. A "{" without a
// closing "}" is drawn as it stands.
//
// UI thread only (drawing).
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QStringView>
#include <functional>
#include <vector>

class QPainter;

namespace forge::ui {

class SkinPackage;

struct MarkupRun {
  enum class Kind { Text, Space, Image, LineBreak };
  Kind kind = Kind::Text;
  QString text;   // Text
  int font = -1;  // Text: index into the window's fonts, -1 for the default font
  int width = 0;  // Space
  QString image;  // Image
  int parts = 1;  // Image
  int part = 0;   // Image
};

std::vector<MarkupRun> ParseMarkup(QStringView text);

// The font of an index of the window's list (-1 or an unknown index: the default font).
using FontLookup = std::function<QFont(int index)>;

struct MarkupStyle {
  QColor color = Qt::black;
  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
  bool elide = false;  // end a line that does not fit with an ellipsis
};

// Width and height the runs need.
QSize MeasureMarkup(const std::vector<MarkupRun>& runs, const FontLookup& fonts,
                    const SkinPackage& package);

void DrawMarkup(QPainter& painter, const QRect& area, const std::vector<MarkupRun>& runs,
                const FontLookup& fonts, const SkinPackage& package, const MarkupStyle& style);

}  // namespace forge::ui
