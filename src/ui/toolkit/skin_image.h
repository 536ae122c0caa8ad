// Image strings and their drawing.
//
// An image string is a sequence of key='value' pairs separated by blanks:
//   file    the image's entry name in the skin package (required);
//   source  the part of the image to take, "left,top,right,bottom" in image pixels;
//   dest    where to draw it inside the control, "left,top,right,bottom" (default: everywhere);
//   corner  the edges of the part kept unstretched, "left,top,right,bottom" (nine-slice);
//   mask    a colour "#AARRGGBB" whose pixels are drawn transparent.
// A string without any "=" is taken as a bare file name.
//
// Drawing runs on the UI thread.
#pragma once

#include <QColor>
#include <QMargins>
#include <QRect>
#include <QString>
#include <QStringView>
#include <optional>

class QImage;
class QPainter;

namespace forge::ui {

class SkinPackage;

struct ImageSpec {
  QString file;
  std::optional<QRect> source;
  std::optional<QRect> dest;
  QMargins corner;
  std::optional<QColor> mask;
};

// Nothing when the text is malformed or names no file.
std::optional<ImageSpec> ParseImageString(QStringView text);

// Draws the image described by `spec` into `area` (the control's rectangle in painter
// coordinates). A missing image leaves its place undrawn and answers false.
bool DrawSkinImage(QPainter& painter, const QRect& area, const ImageSpec& spec,
                   const SkinPackage& package);
// The same for an image string; false also when the string is malformed.
bool DrawSkinImage(QPainter& painter, const QRect& area, QStringView imageString,
                   const SkinPackage& package);

// Draws `source` (logical pixels of `image`) into `target`, keeping the `corner` edges of the
// source unstretched and stretching the rest.
void DrawNineSlice(QPainter& painter, const QImage& image, const QRect& source, const QRect& target,
                   const QMargins& corner);

}  // namespace forge::ui
