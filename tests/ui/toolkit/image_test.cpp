// Image strings and their drawing: parts, places, nine-slice corners, masks and scales.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QPainter>

#include "ui/toolkit/skin_image.h"
#include "ui/toolkit/skin_package.h"

namespace forge::ui {
namespace {

QByteArray Png(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

// A 12 x 12 picture: red 4 x 4 corners, green edges, a blue middle.
QImage NineSliceFixture() {
  QImage image(12, 12, QImage::Format_ARGB32);
  image.fill(Qt::blue);
  QPainter painter(&image);
  painter.fillRect(4, 0, 4, 12, Qt::green);
  painter.fillRect(0, 4, 12, 4, Qt::green);
  painter.fillRect(4, 4, 4, 4, Qt::blue);
  for (QPoint corner : {QPoint(0, 0), QPoint(8, 0), QPoint(0, 8), QPoint(8, 8)}) {
    painter.fillRect(QRect(corner, QSize(4, 4)), Qt::red);
  }
  return image;
}

QImage Canvas(QSize size, qreal scale = 1) {
  QImage canvas(size * scale, QImage::Format_ARGB32);
  canvas.setDevicePixelRatio(scale);
  canvas.fill(Qt::transparent);
  return canvas;
}

class SkinImageTest : public ::testing::Test {
 protected:
  SkinImageTest() {
    package_.Add("nine.png", Png(NineSliceFixture()));
    QImage halves(20, 10, QImage::Format_ARGB32);
    halves.fill(Qt::red);
    QPainter(&halves).fillRect(10, 0, 10, 10, Qt::blue);
    package_.Add("halves.png", Png(halves));
    QImage masked(6, 6, QImage::Format_ARGB32);
    masked.fill(QColor(255, 0, 255));
    masked.setPixelColor(3, 3, Qt::black);
    package_.Add("masked.png", Png(masked));
    QImage plain(4, 4, QImage::Format_ARGB32);
    plain.fill(Qt::blue);
    package_.Add("scaled.png", Png(plain));
    QImage doubled(8, 8, QImage::Format_ARGB32);
    doubled.fill(Qt::green);
    package_.Add("scaled@2x.png", Png(doubled));
  }

  // Draws an image string into a control of `size` and answers the pixels.
  QImage Draw(const char* imageString, QSize size, bool* drawn = nullptr, qreal scale = 1) {
    QImage canvas = Canvas(size, scale);
    QPainter painter(&canvas);
    const bool ok =
        DrawSkinImage(painter, QRect(QPoint(0, 0), size), QString(imageString), package_);
    if (drawn) *drawn = ok;
    return canvas;
  }

  MemorySkinPackage package_;
};

TEST(ImageString, ParsesKeysAndRefusesMalformedOnes) {
  const auto full = ParseImageString(
      u"file='logo.png' source='0,74,379,146' dest='0,0,379,72' corner='4,5,6,7' mask='#FFFF00FF'");
  ASSERT_TRUE(full);
  EXPECT_EQ(full->file, "logo.png");
  EXPECT_EQ(full->source, QRect(QPoint(0, 74), QPoint(378, 145)));
  EXPECT_EQ(full->dest, QRect(0, 0, 379, 72));
  EXPECT_EQ(full->corner, QMargins(4, 5, 6, 7));
  EXPECT_EQ(full->mask, QColor(0xFFFF00FF));

  const auto bare = ParseImageString(u"  welcome_bg.png ");
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->file, "welcome_bg.png");
  EXPECT_FALSE(bare->source);
  EXPECT_FALSE(bare->dest);

  for (const char16_t* bad :
       {u"", u"source='0,0,1,1'", u"file='a.png' dest='1,2,3'", u"file='a.png' source='a,b,c,d'",
        u"file='a.png", u"file='a.png' mask='red'", u"file=a.png"}) {
    EXPECT_FALSE(ParseImageString(bad)) << QString::fromUtf16(bad).toStdString();
  }
}

TEST_F(SkinImageTest, NineSliceKeepsCornersUnstretched) {
  const QImage sliced = Draw("file='nine.png' corner='4,4,4,4'", {40, 40});
  const QImage stretched = Draw("file='nine.png'", {40, 40});
  struct Case {
    QPoint at;
    QColor sliced;
  };
  for (const Case& c : {Case{{1, 1}, Qt::red}, Case{{38, 38}, Qt::red}, Case{{38, 1}, Qt::red},
                        Case{{5, 1}, Qt::green}, Case{{20, 2}, Qt::green}, Case{{2, 20}, Qt::green},
                        Case{{37, 20}, Qt::green}, Case{{20, 20}, Qt::blue}}) {
    EXPECT_EQ(sliced.pixelColor(c.at), c.sliced) << c.at.x() << "," << c.at.y();
  }
  // Plainly stretched, the corner grows to 13 pixels.
  EXPECT_EQ(stretched.pixelColor(5, 1), QColor(Qt::red));
}

TEST_F(SkinImageTest, SourceAndDestPickAPartAndItsPlace) {
  bool drawn = false;
  const QImage image =
      Draw("file='halves.png' source='10,0,20,10' dest='5,5,15,15'", {30, 30}, &drawn);
  EXPECT_TRUE(drawn);
  EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::blue));
  EXPECT_EQ(image.pixelColor(6, 6), QColor(Qt::blue));
  EXPECT_EQ(image.pixelColor(2, 2).alpha(), 0);
  EXPECT_EQ(image.pixelColor(20, 20).alpha(), 0);
}

TEST_F(SkinImageTest, MaskColourIsDrawnTransparent) {
  const QImage image = Draw("file='masked.png' mask='#FFFF00FF'", {6, 6});
  EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
  EXPECT_EQ(image.pixelColor(3, 3), QColor(Qt::black));
  EXPECT_EQ(Draw("file='masked.png'", {6, 6}).pixelColor(0, 0), QColor(255, 0, 255));
}

TEST_F(SkinImageTest, MissingImagesLeaveTheirPlaceUndrawn) {
  for (const char* text : {"file='none.png'", "none.png", "file='halves.png' source='x'"}) {
    bool drawn = true;
    const QImage image = Draw(text, {10, 10}, &drawn);
    EXPECT_FALSE(drawn) << text;
    EXPECT_EQ(image.pixelColor(5, 5).alpha(), 0) << text;
  }
}

TEST_F(SkinImageTest, DoubleScaleDrawsTheDoubleSizeImage) {
  EXPECT_EQ(Draw("scaled.png", {4, 4}, nullptr, 2).pixelColor(3, 3), QColor(Qt::green));
  EXPECT_EQ(Draw("scaled.png", {4, 4}, nullptr, 1).pixelColor(2, 2), QColor(Qt::blue));
}

}  // namespace
}  // namespace forge::ui
