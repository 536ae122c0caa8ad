#include "ui/toolkit/skin_image.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/toolkit/attributes.h"
#include "ui/toolkit/skin_package.h"

namespace forge::ui {

namespace {

QRect RectFromEdges(const QMargins& edges) {
  return QRect(QPoint(edges.left(), edges.top()), QPoint(edges.right() - 1, edges.bottom() - 1));
}

QImage MaskedCopy(const QImage& image, QColor mask) {
  QImage copy = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = mask.rgb() & 0x00FFFFFFu;
  for (int y = 0; y < copy.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(copy.scanLine(y));
    for (int x = 0; x < copy.width(); ++x) {
      if ((line[x] & 0x00FFFFFFu) == key) line[x] = 0;
    }
  }
  copy.setDevicePixelRatio(image.devicePixelRatio());
  return copy;
}

// Integer scale of the painter's device (2 at 200 %), for picking the @2x images.
int DeviceScale(const QPainter& painter) {
  const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
  return ratio > 1.25 ? 2 : 1;
}

}  // namespace

std::optional<ImageSpec> ParseImageString(QStringView text) {
  text = text.trimmed();
  if (text.isEmpty()) return std::nullopt;
  ImageSpec spec;
  if (!text.contains(u'=')) {
    spec.file = text.toString();
    return spec;
  }
  const auto pairs = ParseAttributeList(text);
  if (!pairs) return std::nullopt;
  for (const auto& [key, value] : *pairs) {
    if (key == u"file") {
      spec.file = value;
    } else if (key == u"source" || key == u"dest" || key == u"corner") {
      const auto edges = ParseEdges(value);
      if (!edges) return std::nullopt;
      if (key == u"corner") {
        spec.corner = *edges;
      } else {
        (key == u"source" ? spec.source : spec.dest) = RectFromEdges(*edges);
      }
    } else if (key == u"mask") {
      spec.mask = ParseColor(value);
      if (!spec.mask) return std::nullopt;
    }
    // Other keys of richer skins (fade, hole, tiling) are not used by this program's layouts.
  }
  if (spec.file.isEmpty()) return std::nullopt;
  return spec;
}

bool DrawSkinImage(QPainter& painter, const QRect& area, const ImageSpec& spec,
                   const SkinPackage& package) {
  QImage image = package.Image(spec.file, DeviceScale(painter));
  if (image.isNull()) return false;
  if (spec.mask) image = MaskedCopy(image, *spec.mask);
  const QSize logical = (QSizeF(image.size()) / image.devicePixelRatio()).toSize();
  QRect source = spec.source.value_or(QRect(QPoint(0, 0), logical));
  source = source.intersected(QRect(QPoint(0, 0), logical));
  if (source.isEmpty()) return false;
  QRect target = area;
  if (spec.dest) target = spec.dest->translated(area.topLeft()).intersected(area);
  if (target.isEmpty()) return true;
  DrawNineSlice(painter, image, source, target, spec.corner);
  return true;
}

bool DrawSkinImage(QPainter& painter, const QRect& area, QStringView imageString,
                   const SkinPackage& package) {
  const auto spec = ParseImageString(imageString);
  return spec && DrawSkinImage(painter, area, *spec, package);
}

void DrawNineSlice(QPainter& painter, const QImage& image, const QRect& source, const QRect& target,
                   const QMargins& corner) {
  const qreal scale = image.devicePixelRatio();
  const auto toPixels = [scale](const QRectF& logical) {
    return QRectF(logical.x() * scale, logical.y() * scale, logical.width() * scale,
                  logical.height() * scale);
  };
  const bool wasSmooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  if (corner.isNull()) {
    painter.drawImage(QRectF(target), image, toPixels(source));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, wasSmooth);
    return;
  }
  // Corners never exceed half of the target, so small targets still show all four.
  const int left = std::min(corner.left(), target.width() / 2);
  const int right = std::min(corner.right(), target.width() - left);
  const int top = std::min(corner.top(), target.height() / 2);
  const int bottom = std::min(corner.bottom(), target.height() - top);
  const int sx[4] = {source.left(), source.left() + corner.left(),
                     source.left() + source.width() - corner.right(),
                     source.left() + source.width()};
  const int sy[4] = {source.top(), source.top() + corner.top(),
                     source.top() + source.height() - corner.bottom(),
                     source.top() + source.height()};
  const int tx[4] = {target.left(), target.left() + left, target.left() + target.width() - right,
                     target.left() + target.width()};
  const int ty[4] = {target.top(), target.top() + top, target.top() + target.height() - bottom,
                     target.top() + target.height()};
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      const QRectF from(sx[column], sy[row], sx[column + 1] - sx[column], sy[row + 1] - sy[row]);
      const QRectF to(tx[column], ty[row], tx[column + 1] - tx[column], ty[row + 1] - ty[row]);
      if (from.width() <= 0 || from.height() <= 0 || to.width() <= 0 || to.height() <= 0) {
        continue;
      }
      painter.drawImage(to, image, toPixels(from));
    }
  }
  painter.setRenderHint(QPainter::SmoothPixmapTransform, wasSmooth);
}

}  // namespace forge::ui
