// The inline markup of label and list texts.
#include "ui/toolkit/markup.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontMetrics>
#include <QPainter>

#include "ui/toolkit/skin_package.h"

namespace forge::ui {
namespace {

using Kind = MarkupRun::Kind;

// A run written compactly for the table below.
struct Expect {
  Kind kind;
  QString text;  // Text: the text; Image: the image name
  int number;    // Text: font; Space: width; Image: part
};

std::vector<Expect> Describe(const std::vector<MarkupRun>& runs) {
  std::vector<Expect> described;
  for (const auto& run : runs) {
    switch (run.kind) {
      case Kind::Text:
        described.push_back({run.kind, run.text, run.font});
        break;
      case Kind::Space:
        described.push_back({run.kind, {}, run.width});
        break;
      case Kind::Image:
        described.push_back({run.kind, run.image, run.parts * 10 + run.part});
        break;
      case Kind::LineBreak:
        described.push_back({run.kind, {}, 0});
        break;
    }
  }
  return described;
}

bool operator==(const Expect& a, const Expect& b) {
  return a.kind == b.kind && a.text == b.text && a.number == b.number;
}

void PrintTo(const Expect& e, std::ostream* out) {
  *out << static_cast<int>(e.kind) << ":" << e.text.toStdString() << ":" << e.number;
}

TEST(Markup, ParsesFontsSpacesImagesAndIgnoresUnknownTags) {
  struct Case {
    const char* text;
    std::vector<Expect> runs;
  };
  const Case cases[] = {
      // A disk row: the closing tag {/5} is unknown and draws nothing.
      {"{f 5}{x 5}{i removable_drive.png 1 0}{x 2}Disk 1{/5}",
       {{Kind::Space, {}, 5},
        {Kind::Image, "removable_drive.png", 10},
        {Kind::Space, {}, 2},
        {Kind::Text, "Disk 1", 5}}},
      {"{f 5}{x 2}C:\\ System{/f} rest",
       {{Kind::Space, {}, 2}, {Kind::Text, "C:\\ System", 5}, {Kind::Text, " rest", -1}}},
      {"{f 1}a{f 2}b{/f}c{/f}d",
       {{Kind::Text, "a", 1}, {Kind::Text, "b", 2}, {Kind::Text, "c", 1}, {Kind::Text, "d", -1}}},
      {"a{b}c{/5}d", {{Kind::Text, "acd", -1}}},
      {"{i parts.png 4 2}", {{Kind::Image, "parts.png", 42}}},
      {"{i plain.png}", {{Kind::Image, "plain.png", 10}}},
      {"one\ntwo{n}three",
       {{Kind::Text, "one", -1},
        {Kind::LineBreak, {}, 0},
        {Kind::Text, "two", -1},
        {Kind::LineBreak, {}, 0},
        {Kind::Text, "three", -1}}},
      {"a { b", {{Kind::Text, "a { b", -1}}},
      {"{/f}{}x", {{Kind::Text, "x", -1}}},
      {"", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Describe(ParseMarkup(QString::fromUtf8(c.text))), c.runs) << c.text;
  }
}

class MarkupDrawing : public ::testing::Test {
 protected:
  MarkupDrawing() {
    // Four 5 x 5 parts side by side: red, green, blue, yellow.
    QImage strip(20, 5, QImage::Format_ARGB32);
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    for (int part = 0; part < 4; ++part)
      QPainter(&strip).fillRect(part * 5, 0, 5, 5, colours[part]);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    strip.save(&buffer, "PNG");
    package_.Add("parts.png", bytes);
    font_.setPixelSize(12);
  }

  // Draws into the left `areaWidth` pixels (all of it by default) of a canvas of `size`.
  QImage Draw(const char* text, QSize size, int areaWidth = 0, bool elide = false) {
    QImage canvas(size, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    MarkupStyle style;
    style.elide = elide;
    style.align = Qt::AlignLeft | Qt::AlignTop;
    const QRect area(0, 0, areaWidth > 0 ? areaWidth : size.width(), size.height());
    DrawMarkup(painter, area, ParseMarkup(QString::fromUtf8(text)), Fonts(), package_, style);
    return canvas;
  }

  FontLookup Fonts() const {
    return [font = font_](int) { return font; };
  }

  static int InkedColumns(const QImage& image) {
    int columns = 0;
    for (int x = 0; x < image.width(); ++x) {
      for (int y = 0; y < image.height(); ++y) {
        if (image.pixelColor(x, y).alpha() > 0) {
          ++columns;
          break;
        }
      }
    }
    return columns;
  }

  MemorySkinPackage package_;
  QFont font_;
};

TEST_F(MarkupDrawing, DrawsTheChosenPartOfAnImageAfterTheSpace) {
  const QImage image = Draw("{x 7}{i parts.png 4 2}", {40, 20});
  const int top = (QFontMetrics(font_).height() - 5) / 2;
  EXPECT_EQ(image.pixelColor(9, top + 2), QColor(Qt::blue));
  EXPECT_EQ(image.pixelColor(3, top + 2).alpha(), 0);
  EXPECT_EQ(image.pixelColor(13, top + 2).alpha(), 0);
  EXPECT_EQ(MeasureMarkup(ParseMarkup(u"{x 7}{i parts.png 4 2}"), Fonts(), package_).width(), 12);
}

TEST_F(MarkupDrawing, UnknownTagsDrawNothing) {
  EXPECT_EQ(InkedColumns(Draw("{/5}{zz}{/f}", {60, 20})), 0);
  EXPECT_EQ(InkedColumns(Draw("{i missing.png 1 0}", {60, 20})), 0);
}

TEST_F(MarkupDrawing, LongTextStaysInsideItsArea) {
  const char* text = "{x 2}A label far too long for the narrow area it is given";
  EXPECT_GT(InkedColumns(Draw(text, {400, 20})), 200);
  for (bool elide : {false, true}) {
    const QImage narrow = Draw(text, {400, 20}, 80, elide);
    EXPECT_LE(InkedColumns(narrow), 80) << elide;
    EXPECT_GT(InkedColumns(narrow), 40) << elide;
    for (int y = 0; y < narrow.height(); ++y) EXPECT_EQ(narrow.pixelColor(100, y).alpha(), 0);
  }
}

}  // namespace
}  // namespace forge::ui
