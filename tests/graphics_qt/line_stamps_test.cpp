// Lines put down as stamps against the same lines drawn by the painter, pixel by
// pixel, over a background of noise so that every blend of a smooth line shows.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <random>
#include <vector>

#include "graphics/qt/line_stamps.h"
#include "graphics/qt/painter_canvas.h"

namespace meridal {
namespace {

struct Line {
  TPoint a, b;
  TColor colour;
};

// Lines of every length up to twice the stamps' reach, some reaching past the
// image's edges, in a few colours so that later lines cross earlier ones.
std::vector<Line> RandomLines(std::mt19937& random, int count, int width, int height) {
  std::vector<Line> lines;
  const TColor colours[] = {{0, 0, 0}, {0, 0, 255}, {255, 255, 255}, {128, 128, 128, true}, {212, 200, 128}};
  std::uniform_int_distribution<int> x(-10, width + 10), y(-10, height + 10), extent(-2 * TLineStamps::kReach, 2 * TLineStamps::kReach),
      shortExtent(-6, 6), colour(0, 4), kind(0, 3);
  for (int i = 0; i < count; ++i) {
    const TPoint a{x(random), y(random)};
    const bool isShort = kind(random) != 0;  // most are a few pixels, as zoomed out
    const TPoint b{a.x + (isShort ? shortExtent(random) : extent(random)),
                   a.y + (isShort ? shortExtent(random) : extent(random))};
    lines.push_back({a, b, colours[colour(random)]});
  }
  return lines;
}

QImage Noise(std::mt19937& random, int width, int height, QImage::Format format) {
  QImage image(width, height, format);
  std::uniform_int_distribution<uint32_t> rgb(0, 0xffffff);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, 0xff000000u | rgb(random));
  return image;
}

int Differing(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  return n;
}

TEST(LineStampsTest, TheCanvasPutsDownThePaintersOwnPixels) {
  std::mt19937 random(19);
  for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied})
    for (const bool smooth : {false, true}) {
      SCOPED_TRACE(testing::Message() << "format " << format << ", smooth " << smooth);
      const std::vector<Line> lines = RandomLines(random, 3000, 160, 120);
      const QImage background = Noise(random, 160, 120, format);

      QImage stamped = background.copy();
      {
        QPainter painter(&stamped);
        TPainterCanvas canvas(painter, stamped.size(), smooth);
        // In batches of a pen, as the drawing hands them over.
        for (size_t i = 0; i < lines.size(); i += 7) {
          std::vector<TPoint> points;
          std::vector<int> sizes;
          canvas.SetPenColor(lines[i].colour);
          for (size_t k = i; k < std::min(lines.size(), i + 7); ++k) {
            points.insert(points.end(), {lines[k].a, lines[k].b});
            sizes.push_back(2);
          }
          canvas.Polylines(points.data(), sizes.data(), static_cast<int>(sizes.size()));
        }
      }
      QImage painted = background.copy();
      {
        QPainter painter(&painted);
        painter.setRenderHint(QPainter::Antialiasing, smooth);
        for (size_t i = 0; i < lines.size(); i += 7) {
          const TColor c = lines[i].colour;
          painter.setPen(QPen(QColor(c.r, c.g, c.b), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
          for (size_t k = i; k < std::min(lines.size(), i + 7); ++k)
            painter.drawLine(lines[k].a.x, lines[k].a.y, lines[k].b.x, lines[k].b.y);
        }
      }
      EXPECT_EQ(Differing(stamped, painted), 0);
      // And the stamps did the drawing: the short extents have one.
      EXPECT_GT(TLineStamps::ForThread(smooth).Stamped(), 150);
      EXPECT_LT(TLineStamps::ForThread(smooth).Refused() * 20, TLineStamps::ForThread(smooth).Stamped());
    }
}

TEST(LineStampsTest, LinesNearTheEdgesOrLongAreLeftToThePainter) {
  QImage image(100, 100, QImage::Format_RGB32);
  const TLineStamps::Target target(image);
  TLineStamps& stamps = TLineStamps::ForThread(false);
  const QPen pen(Qt::black, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  EXPECT_NE(stamps.Find(target, pen, 50, 50, 50 + TLineStamps::kReach, 50 - TLineStamps::kReach), nullptr);
  EXPECT_EQ(stamps.Find(target, pen, 50, 50, 51 + TLineStamps::kReach, 50), nullptr);
  EXPECT_EQ(stamps.Find(target, pen, 1, 50, 5, 50), nullptr);
  EXPECT_EQ(stamps.Find(target, pen, 50, 50, 50, 99), nullptr);
  EXPECT_FALSE(TLineStamps::Suits(QPen(Qt::black, 3)));
  EXPECT_FALSE(TLineStamps::Suits(QImage(4, 4, QImage::Format_ARGB32)));
}

}  // namespace
}  // namespace meridal
