#include "skin_art.h"

#include <QConicalGradient>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace forge::skin {

namespace {

// The palette of the skin (the layouts use the same colours).
const QColor kAccentLight(0x3B, 0x82, 0xF6);
const QColor kAccentDeep(0x1E, 0x40, 0xAF);
const QColor kMuted(0x7B, 0x87, 0x94);
const QColor kInfo(0x25, 0x63, 0xEB);
const QColor kWarning(0xF5, 0x9E, 0x0B);
const QColor kQuestion(0x4F, 0x46, 0xE5);
const QColor kError(0xDC, 0x26, 0x26);
const QColor kConfirm(0x05, 0x96, 0x69);

QColor WithAlpha(QColor color, int alpha) {
  color.setAlpha(alpha);
  return color;
}

QFont ArtFont(int pixelSize, QFont::Weight weight) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelSize);
  font.setWeight(weight);
  return font;
}

QPen RoundPen(const QColor& color, qreal width) {
  QPen pen(color, width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

// ---- message box icons: a soft halo, a solid disc and a white sign -------------------------

void IconDisc(QPainter& p, const QColor& color) {
  p.setPen(Qt::NoPen);
  p.setBrush(WithAlpha(color, 34));
  p.drawEllipse(QRectF(0, 0, 48, 48));
  QLinearGradient shade(0, 7, 0, 41);
  shade.setColorAt(0, color.lighter(112));
  shade.setColorAt(1, color);
  p.setBrush(shade);
  p.drawEllipse(QRectF(7, 7, 34, 34));
}

void PaintInformation(QPainter& p) {
  IconDisc(p, kInfo);
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(21.6, 14.2, 4.8, 4.8));
  p.drawRoundedRect(QRectF(21.8, 21.5, 4.4, 12.5), 2.2, 2.2);
}

void PaintWarning(QPainter& p) {
  // A rounded triangle instead of the disc.
  p.setPen(Qt::NoPen);
  p.setBrush(WithAlpha(kWarning, 40));
  p.drawEllipse(QRectF(0, 0, 48, 48));
  QPainterPath triangle;
  triangle.moveTo(24, 9);
  triangle.lineTo(40, 37);
  triangle.lineTo(8, 37);
  triangle.closeSubpath();
  QLinearGradient shade(0, 9, 0, 37);
  shade.setColorAt(0, kWarning.lighter(110));
  shade.setColorAt(1, kWarning);
  p.setPen(QPen(QBrush(shade), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(shade);
  p.drawPath(triangle);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(22, 17, 4, 11), 2, 2);
  p.drawEllipse(QRectF(21.8, 30, 4.4, 4.4));
}

void PaintQuestion(QPainter& p) {
  IconDisc(p, kQuestion);
  QPainterPath hook;
  hook.moveTo(19.2, 20.2);
  hook.cubicTo(19.2, 15.8, 22.0, 14.2, 24.3, 14.2);
  hook.cubicTo(27.2, 14.2, 29.4, 16.3, 29.4, 19.0);
  hook.cubicTo(29.4, 22.6, 24.4, 23.2, 24.4, 27.6);
  p.setPen(RoundPen(Qt::white, 3.6));
  p.setBrush(Qt::NoBrush);
  p.drawPath(hook);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(22.2, 30.6, 4.4, 4.4));
}

void PaintError(QPainter& p) {
  IconDisc(p, kError);
  p.setPen(RoundPen(Qt::white, 3.6));
  p.drawLine(QPointF(18.5, 18.5), QPointF(29.5, 29.5));
  p.drawLine(QPointF(29.5, 18.5), QPointF(18.5, 29.5));
}

void PaintConfirmation(QPainter& p) {
  IconDisc(p, kConfirm);
  QPainterPath tick;
  tick.moveTo(17.5, 24.5);
  tick.lineTo(22, 29);
  tick.lineTo(31, 19.5);
  p.setPen(RoundPen(Qt::white, 3.6));
  p.setBrush(Qt::NoBrush);
  p.drawPath(tick);
}

// ---- buttons -------------------------------------------------------------------------------

// The close button of popups and message boxes: three 28 x 28 states stacked (normal, hot,
// pushed).
void PaintCloseButton(QPainter& p) {
  const QColor backgrounds[3] = {Qt::transparent, QColor(0xFD, 0xE8, 0xE8),
                                 QColor(0xFB, 0xCF, 0xCF)};
  const QColor crosses[3] = {kMuted, kError, QColor(0xB9, 0x1C, 0x1C)};
  for (int state = 0; state < 3; ++state) {
    p.save();
    p.translate(0, state * 28);
    p.setPen(Qt::NoPen);
    p.setBrush(backgrounds[state]);
    p.drawRoundedRect(QRectF(2, 2, 24, 24), 6, 6);
    p.setPen(RoundPen(crosses[state], 1.7));
    p.drawLine(QPointF(9.5, 9.5), QPointF(18.5, 18.5));
    p.drawLine(QPointF(18.5, 9.5), QPointF(9.5, 18.5));
    p.restore();
  }
}

// The welcome window's button: four 136 x 38 states stacked (normal, hot, pushed, disabled),
// a white pill on the dark picture.
void PaintLicenseButton(QPainter& p) {
  const QColor fills[4] = {Qt::white, QColor(0xEE, 0xF4, 0xFF), QColor(0xDB, 0xE7, 0xFE),
                           QColor(0xCB, 0xD2, 0xD9)};
  for (int state = 0; state < 4; ++state) {
    p.save();
    p.translate(0, state * 38);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, state == 3 ? 0 : 40));
    p.drawRoundedRect(QRectF(1, 3, 134, 34), 17, 17);
    p.setBrush(fills[state]);
    p.drawRoundedRect(QRectF(1, 1, 134, 34), 17, 17);
    p.restore();
  }
}

// ---- the disc emblem, used by the logo and the welcome picture -----------------------------

void PaintDisc(QPainter& p, QPointF centre, qreal radius, int alpha) {
  p.save();
  QConicalGradient shine(centre, 35);
  const QColor stops[] = {QColor(0x93, 0xC5, 0xFD), QColor(0xC4, 0xB5, 0xFD),
                          QColor(0x67, 0xE8, 0xF9), QColor(0xA5, 0xB4, 0xFC),
                          QColor(0x93, 0xC5, 0xFD)};
  for (int i = 0; i < 5; ++i) shine.setColorAt(i / 4.0, WithAlpha(stops[i], alpha));
  QPainterPath ring;
  ring.addEllipse(centre, radius, radius);
  ring.addEllipse(centre, radius * 0.30, radius * 0.30);
  p.setPen(Qt::NoPen);
  p.setBrush(shine);
  p.drawPath(ring);
  // A soft light from the upper left.
  QRadialGradient light(centre - QPointF(radius * 0.35, radius * 0.45), radius * 1.1);
  light.setColorAt(0, QColor(255, 255, 255, alpha * 60 / 255));
  light.setColorAt(1, QColor(255, 255, 255, 0));
  p.setBrush(light);
  p.drawPath(ring);
  // The hub.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(255, 255, 255, alpha * 150 / 255), std::max(1.0, radius * 0.04)));
  p.drawEllipse(centre, radius * 0.30, radius * 0.30);
  p.setPen(QPen(QColor(255, 255, 255, alpha * 90 / 255), std::max(1.0, radius * 0.025)));
  p.drawEllipse(centre, radius * 0.55, radius * 0.55);
  p.setPen(QPen(QColor(255, 255, 255, alpha * 170 / 255), std::max(1.0, radius * 0.04)));
  p.drawEllipse(centre, radius - radius * 0.02, radius - radius * 0.02);
  p.restore();
}

// The logo: two 379 x 72 parts, the full one (welcome page) at the top and a compact one at
// y = 74, both in white for the dark header.
void PaintLogo(QPainter& p) {
  for (int part = 0; part < 2; ++part) {
    p.save();
    p.translate(0, part * 74);
    PaintDisc(p, QPointF(36, 36), 26, 255);
    p.setPen(Qt::white);
    p.setFont(ArtFont(25, QFont::Bold));
    const int baseline = part == 0 ? 34 : 45;
    p.drawText(QPointF(74, baseline), QStringLiteral("Norvessa"));
    const int wordWidth = p.fontMetrics().horizontalAdvance(QStringLiteral("Norvessa "));
    p.setPen(QColor(0x93, 0xC5, 0xFD));
    p.setFont(ArtFont(25, QFont::Normal));
    p.drawText(QPointF(74 + wordWidth, baseline), QStringLiteral("Image Forge"));
    if (part == 0) {
      p.setPen(QColor(0xCB, 0xD5, 0xE1));
      p.setFont(ArtFont(12, QFont::Normal));
      p.drawText(QPointF(75, 56),
                 QStringLiteral("Create  \u00B7  Burn  \u00B7  Back up  \u00B7  Extract"));
    }
    p.restore();
  }
}

// The welcome picture: a deep blue field with a large disc at the right.
void PaintWelcome(QPainter& p) {
  QLinearGradient field(0, 0, 576, 366);
  field.setColorAt(0, QColor(0x0B, 0x1B, 0x3F));
  field.setColorAt(0.55, QColor(0x13, 0x2F, 0x7A));
  field.setColorAt(1, QColor(0x1D, 0x4E, 0xD8));
  p.fillRect(QRectF(0, 0, 576, 366), field);
  // A faint grid of dots.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 16));
  for (int y = 14; y < 366; y += 22) {
    for (int x = 14; x < 576; x += 22) p.drawEllipse(QPointF(x, y), 1.1, 1.1);
  }
  // A glow behind the disc and a soft shadow under it.
  QRadialGradient glow(QPointF(452, 150), 220);
  glow.setColorAt(0, QColor(0x60, 0xA5, 0xFA, 90));
  glow.setColorAt(1, QColor(0x60, 0xA5, 0xFA, 0));
  p.setBrush(glow);
  p.drawRect(QRectF(0, 0, 576, 366));
  QRadialGradient shadow(QPointF(458, 162), 126);
  shadow.setColorAt(0.82, QColor(2, 8, 30, 110));
  shadow.setColorAt(1, QColor(2, 8, 30, 0));
  p.setBrush(shadow);
  p.drawEllipse(QPointF(458, 162), 126, 126);
  PaintDisc(p, QPointF(452, 150), 118, 240);
}

// ---- drives and folders --------------------------------------------------------------------

void PaintHardDisk(QPainter& p, QRectF body) {
  QLinearGradient metal(body.topLeft(), body.bottomLeft());
  metal.setColorAt(0, QColor(0x9A, 0xA5, 0xB1));
  metal.setColorAt(1, QColor(0x61, 0x6E, 0x7C));
  p.setPen(QPen(QColor(0x52, 0x60, 0x6D), 1));
  p.setBrush(metal);
  p.drawRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), 2.5, 2.5);
  p.setPen(QPen(QColor(255, 255, 255, 90), 1));
  p.drawLine(QPointF(body.left() + 3, body.top() + body.height() * 0.45),
             QPointF(body.right() - 3, body.top() + body.height() * 0.45));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x34, 0xD3, 0x99));
  p.drawEllipse(QPointF(body.right() - 4, body.bottom() - 3.5), 1.5, 1.5);
}

void PaintUsbStick(QPainter& p, QRectF body) {
  const QRectF plug(body.right() - body.width() * 0.28, body.top() + body.height() * 0.22,
                    body.width() * 0.28, body.height() * 0.56);
  p.setPen(QPen(QColor(0x7B, 0x87, 0x94), 1));
  p.setBrush(QColor(0xE4, 0xE7, 0xEB));
  p.drawRect(plug.adjusted(0.5, 0.5, -0.5, -0.5));
  QLinearGradient shell(body.topLeft(), body.bottomLeft());
  shell.setColorAt(0, kAccentLight);
  shell.setColorAt(1, kAccentDeep);
  p.setPen(Qt::NoPen);
  p.setBrush(shell);
  p.drawRoundedRect(QRectF(body.left(), body.top(), body.width() * 0.74, body.height()), 3, 3);
  p.setBrush(QColor(255, 255, 255, 170));
  p.drawEllipse(QPointF(body.left() + body.width() * 0.2, body.center().y()), 1.4, 1.4);
}

void PaintFolder(QPainter& p, QRectF area, bool open) {
  const QColor back(0xE8, 0xA3, 0x17);
  const QColor front(0xF8, 0xC4, 0x4F);
  p.setPen(Qt::NoPen);
  QPainterPath tab;
  tab.addRoundedRect(QRectF(area.left(), area.top(), area.width() * 0.45, area.height() * 0.4), 1.5,
                     1.5);
  p.setBrush(back);
  p.drawPath(tab);
  p.drawRoundedRect(
      QRectF(area.left(), area.top() + area.height() * 0.18, area.width(), area.height() * 0.82),
      1.5, 1.5);
  p.setBrush(front);
  if (open) {
    QPainterPath flap;
    flap.moveTo(area.left() + area.width() * 0.18, area.top() + area.height() * 0.42);
    flap.lineTo(area.right() + 0.5, area.top() + area.height() * 0.42);
    flap.lineTo(area.right() - area.width() * 0.16, area.bottom());
    flap.lineTo(area.left(), area.bottom());
    flap.closeSubpath();
    p.drawPath(flap);
  } else {
    p.drawRoundedRect(
        QRectF(area.left(), area.top() + area.height() * 0.34, area.width(), area.height() * 0.66),
        1.5, 1.5);
  }
}

// The folder button of a tree node: a chevron and a folder in 36 x 16.
void PaintTreeFolder(QPainter& p, bool open) {
  QPainterPath chevron;
  if (open) {
    chevron.moveTo(3.5, 6);
    chevron.lineTo(7, 9.5);
    chevron.lineTo(10.5, 6);
  } else {
    chevron.moveTo(5.5, 4.5);
    chevron.lineTo(9, 8);
    chevron.lineTo(5.5, 11.5);
  }
  p.setPen(RoundPen(kMuted, 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawPath(chevron);
  PaintFolder(p, QRectF(16, 2, 16, 12.5), open);
}

// ---- the main window -----------------------------------------------------------------------

// Caption buttons on the dark header: minimise and close, three 28 x 28 states each (normal,
// hot, pushed) stacked; minimise in the left column, close in the right.
void PaintHeaderButtons(QPainter& p) {
  const QColor hot[2] = {QColor(255, 255, 255, 38), QColor(0xE5, 0x3E, 0x3E)};
  const QColor pushed[2] = {QColor(255, 255, 255, 64), QColor(0xC5, 0x30, 0x30)};
  for (int kind = 0; kind < 2; ++kind) {
    for (int state = 0; state < 3; ++state) {
      p.save();
      p.translate(kind * 28, state * 28);
      if (state > 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(state == 1 ? hot[kind] : pushed[kind]);
        p.drawRoundedRect(QRectF(2, 2, 24, 24), 6, 6);
      }
      p.setPen(RoundPen(QColor(255, 255, 255, state == 0 ? 200 : 255), 1.6));
      if (kind == 0) {
        p.drawLine(QPointF(9.5, 14), QPointF(18.5, 14));
      } else {
        p.drawLine(QPointF(9.5, 9.5), QPointF(18.5, 18.5));
        p.drawLine(QPointF(18.5, 9.5), QPointF(9.5, 18.5));
      }
      p.restore();
    }
  }
}

// Navigation icons, 20 x 20: grey in the left half, blue (selected) in the right half.
enum class NavIcon { Backup, Extract, Create, Burn, Report };

void PaintNavIcon(QPainter& p, NavIcon icon) {
  const QColor colours[2] = {QColor(0x64, 0x74, 0x8B), QColor(0x25, 0x63, 0xEB)};
  for (int state = 0; state < 2; ++state) {
    p.save();
    p.translate(state * 20, 0);
    p.setPen(RoundPen(colours[state], 1.6));
    p.setBrush(Qt::NoBrush);
    switch (icon) {
      case NavIcon::Backup:
        p.drawRoundedRect(QRectF(2.5, 10.5, 15, 6.5), 1.8, 1.8);
        p.drawLine(QPointF(10, 2.5), QPointF(10, 8));
        p.drawLine(QPointF(7.2, 5.6), QPointF(10, 8.3));
        p.drawLine(QPointF(12.8, 5.6), QPointF(10, 8.3));
        p.setPen(Qt::NoPen);
        p.setBrush(colours[state]);
        p.drawEllipse(QPointF(14.3, 13.8), 1.1, 1.1);
        break;
      case NavIcon::Extract:
        p.drawRoundedRect(QRectF(3, 9, 14, 8.5), 1.5, 1.5);
        p.drawLine(QPointF(7.5, 12.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(10, 7), QPointF(10, 1.8));
        p.drawLine(QPointF(7.4, 4.4), QPointF(10, 1.8));
        p.drawLine(QPointF(12.6, 4.4), QPointF(10, 1.8));
        break;
      case NavIcon::Create:
        p.drawEllipse(QPointF(9, 11), 6.8, 6.8);
        p.drawEllipse(QPointF(9, 11), 1.8, 1.8);
        p.setPen(RoundPen(colours[state], 1.8));
        p.drawLine(QPointF(16, 1.8), QPointF(16, 7.2));
        p.drawLine(QPointF(13.3, 4.5), QPointF(18.7, 4.5));
        break;
      case NavIcon::Burn: {
        QPainterPath flame;
        flame.moveTo(10, 2);
        flame.cubicTo(14, 6, 16.5, 9, 16.5, 12.2);
        flame.cubicTo(16.5, 15.8, 13.6, 18.2, 10, 18.2);
        flame.cubicTo(6.4, 18.2, 3.5, 15.8, 3.5, 12.2);
        flame.cubicTo(3.5, 9.6, 5.2, 7.6, 6.6, 6.4);
        flame.cubicTo(6.8, 8.6, 7.8, 9.8, 8.9, 10.2);
        flame.cubicTo(8.6, 7.2, 9.1, 4.4, 10, 2);
        p.drawPath(flame);
        break;
      }
      case NavIcon::Report:
        p.drawRoundedRect(QRectF(4, 2, 12, 16), 1.8, 1.8);
        p.drawLine(QPointF(7, 7), QPointF(13, 7));
        p.drawLine(QPointF(7, 10.5), QPointF(13, 10.5));
        p.drawLine(QPointF(7, 14), QPointF(10.5, 14));
        break;
    }
    p.restore();
  }
}

// Radio buttons and check boxes, 16 x 16: off, off and hot, on, on and hot, side by side.
void PaintChoice(QPainter& p, bool radio) {
  for (int state = 0; state < 4; ++state) {
    const bool on = state >= 2;
    const bool hot = state % 2 == 1;
    p.save();
    p.translate(state * 16, 0);
    const QRectF box(1.5, 1.5, 13, 13);
    p.setPen(QPen(on ? kAccentLight.darker(110) : (hot ? kMuted : QColor(0xA7, 0xB1, 0xBC)), 1.2));
    p.setBrush(on ? kAccentLight.darker(110) : Qt::white);
    if (radio) {
      p.drawEllipse(box);
      if (on) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(8, 8), 2.6, 2.6);
      }
    } else {
      p.drawRoundedRect(box, 3, 3);
      if (on) {
        QPainterPath tick;
        tick.moveTo(4.6, 8.2);
        tick.lineTo(7, 10.6);
        tick.lineTo(11.4, 5.6);
        p.setPen(RoundPen(Qt::white, 1.7));
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
      }
    }
    p.restore();
  }
}

// The advert of the welcome page, 520 x 150: another product of the maker.
// The advert of the welcome page: a banner for the user guide. Its words are the button's
// text (from the language file), drawn over the left part; the right part shows an open book.
void PaintAdvert(QPainter& p) {
  const QRectF bounds(0, 0, 747, 150);
  QLinearGradient field(bounds.topLeft(), bounds.bottomRight());
  field.setColorAt(0, QColor(0x06, 0x4E, 0x3B));
  field.setColorAt(1, QColor(0x05, 0x96, 0x69));
  QPainterPath card;
  card.addRoundedRect(bounds, 18, 18);
  p.fillPath(card, field);
  p.setClipPath(card);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 18));
  p.drawEllipse(QPointF(667, 20), 130, 130);
  p.drawEllipse(QPointF(737, 150), 80, 80);
  // An open book: two pages with lines of text, a shadow under the spine.
  const QPointF spine(657, 42);
  p.setBrush(QColor(2, 44, 34, 70));
  p.drawRoundedRect(QRectF(spine.x() - 66, spine.y() + 8, 132, 76), 8, 8);
  for (int side : {-1, 1}) {
    QPainterPath page;
    page.moveTo(spine);
    page.cubicTo(spine + QPointF(side * 20, -10), spine + QPointF(side * 44, -10),
                 spine + QPointF(side * 62, -4));
    page.lineTo(spine + QPointF(side * 62, 70));
    page.cubicTo(spine + QPointF(side * 44, 64), spine + QPointF(side * 20, 64), spine + QPointF(0, 74));
    page.closeSubpath();
    p.setBrush(QColor(255, 255, 255, side < 0 ? 240 : 225));
    p.drawPath(page);
    p.setPen(RoundPen(QColor(0x05, 0x96, 0x69, 150), 2.5));
    for (int line = 0; line < 4; ++line) {
      const qreal y = spine.y() + 10 + line * 13;
      const qreal inner = 12, outer = line == 3 ? 36 : 50;
      p.drawLine(QPointF(spine.x() + side * inner, y), QPointF(spine.x() + side * outer, y));
    }
    p.setPen(Qt::NoPen);
  }
  // A bookmark.
  p.setBrush(QColor(0xFB, 0xBF, 0x24));
  QPainterPath ribbon;
  ribbon.moveTo(spine + QPointF(30, -8));
  ribbon.lineTo(spine + QPointF(40, -8));
  ribbon.lineTo(spine + QPointF(40, 18));
  ribbon.lineTo(spine + QPointF(35, 13));
  ribbon.lineTo(spine + QPointF(30, 18));
  ribbon.closeSubpath();
  p.drawPath(ribbon);
}

}  // namespace

std::vector<SkinArt> AllSkinArt() {
  return {
      {QStringLiteral("MessageBox/information.png"), {48, 48}, PaintInformation},
      {QStringLiteral("MessageBox/warning.png"), {48, 48}, PaintWarning},
      {QStringLiteral("MessageBox/question.png"), {48, 48}, PaintQuestion},
      {QStringLiteral("MessageBox/error.png"), {48, 48}, PaintError},
      {QStringLiteral("MessageBox/confirmation.png"), {48, 48}, PaintConfirmation},
      {QStringLiteral("btn_close.png"), {28, 84}, PaintCloseButton},
      {QStringLiteral("btn_license.png"), {136, 152}, PaintLicenseButton},
      {QStringLiteral("welcome_bg.png"), {576, 366}, PaintWelcome},
      {QStringLiteral("logo.png"), {379, 146}, PaintLogo},
      {QStringLiteral("drive.png"),
       {22, 24},
       [](QPainter& p) { PaintHardDisk(p, QRectF(1, 6, 20, 13)); }},
      {QStringLiteral("drive_usb.png"),
       {22, 24},
       [](QPainter& p) { PaintUsbStick(p, QRectF(1, 7, 20, 10)); }},
      {QStringLiteral("physical_drive.png"),
       {24, 24},
       [](QPainter& p) { PaintHardDisk(p, QRectF(1, 5, 22, 15)); }},
      {QStringLiteral("removable_drive.png"),
       {24, 24},
       [](QPainter& p) { PaintUsbStick(p, QRectF(1, 6, 22, 12)); }},
      {QStringLiteral("treeview_folder.png"),
       {36, 16},
       [](QPainter& p) { PaintTreeFolder(p, false); }},
      {QStringLiteral("treeview_folder_open.png"),
       {36, 16},
       [](QPainter& p) { PaintTreeFolder(p, true); }},
      {QStringLiteral("btn_header.png"), {56, 84}, PaintHeaderButtons},
      {QStringLiteral("nav_backup.png"),
       {40, 20},
       [](QPainter& p) { PaintNavIcon(p, NavIcon::Backup); }},
      {QStringLiteral("nav_extract.png"),
       {40, 20},
       [](QPainter& p) { PaintNavIcon(p, NavIcon::Extract); }},
      {QStringLiteral("nav_create.png"),
       {40, 20},
       [](QPainter& p) { PaintNavIcon(p, NavIcon::Create); }},
      {QStringLiteral("nav_burn.png"),
       {40, 20},
       [](QPainter& p) { PaintNavIcon(p, NavIcon::Burn); }},
      {QStringLiteral("nav_report.png"),
       {40, 20},
       [](QPainter& p) { PaintNavIcon(p, NavIcon::Report); }},
      {QStringLiteral("radio.png"), {64, 16}, [](QPainter& p) { PaintChoice(p, true); }},
      {QStringLiteral("checkbox.png"), {64, 16}, [](QPainter& p) { PaintChoice(p, false); }},
      {QStringLiteral("ad01.png"), {747, 150}, PaintAdvert},
  };
}

QImage Render(const SkinArt& art, int scale) {
  QImage image(art.size * scale, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  image.setDevicePixelRatio(scale);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  art.paint(painter);
  painter.end();
  image.setDevicePixelRatio(1);
  return image;
}

}  // namespace forge::skin
