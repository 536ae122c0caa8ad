// The images of the skin, painted in code so that they are exact at 100 % and 200 % scale.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

class QPainter;

namespace forge::skin {

struct SkinArt {
  QString name;  // entry name in the package, "MessageBox/question.png"
  QSize size;    // logical size
  std::function<void(QPainter&)> paint;
};

// Every image the layouts and the program name.
std::vector<SkinArt> AllSkinArt();

// The image painted at `scale` (1 or 2): size * scale pixels.
QImage Render(const SkinArt& art, int scale);

}  // namespace forge::skin
