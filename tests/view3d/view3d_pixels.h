#pragma once
// What the 3D view's pictures show, told by colour: grass (textured and lit,
// green well above red and blue), and a kerb's red and white.
#include <QColor>
#include <QImage>

namespace meridal::testing {

inline bool Grass(const QColor& c) {
  return c.green() > 45 && c.green() > c.red() + 15 && c.green() > c.blue() + 30;
}
inline bool KerbRed(const QColor& c) { return c.red() > 110 && c.red() > 2 * c.green() + 20 && c.red() > 2 * c.blue() + 20; }
inline bool KerbWhite(const QColor& c) { return c.red() > 150 && c.green() > 150 && c.blue() > 140 && c.red() - c.blue() < 40; }

inline int GrassPixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += Grass(image.pixelColor(x, y));
  return count;
}

}  // namespace meridal::testing
