#include "graphics/qt/painter_canvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "graphics/offscreen_window.h"
#include "graphics/scale_draw.h"
#include "graphics/track_painter.h"
#include "graphics/view_flags.h"
#include "model/track.h"

namespace meridal {
namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGrey = qRgb(128, 128, 128);

// A white ARGB32 image painted by `draw` through a TPainterCanvas.
QImage Paint(int width, int height, const std::function<void(TPainterCanvas&)>& draw) {
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  TPainterCanvas canvas(painter, image.size());
  draw(canvas);
  painter.end();
  return image;
}

void Square(TPainterCanvas& canvas, int from, int to) {
  const TPoint points[4] = {{from, from}, {to, from}, {to, to}, {from, to}};
  canvas.Polygon(points, 4);
}

TEST(PainterCanvasTest, StartsWithABlackPenAndAWhiteSolidBrush) {
  const QImage image = Paint(40, 40, [](TPainterCanvas& canvas) {
    EXPECT_EQ(canvas.ClientWidth(), 40);
    EXPECT_EQ(canvas.ClientHeight(), 40);
    Square(canvas, 5, 35);
  });
  EXPECT_EQ(image.pixel(5, 20), kBlack);   // the outline
  EXPECT_EQ(image.pixel(20, 20), kWhite);  // the white interior
}

TEST(PainterCanvasTest, PolygonIsFilledWithTheBrushAndOutlinedWithThePen) {
  const QImage image = Paint(60, 60, [](TPainterCanvas& canvas) {
    canvas.SetBrushColor(TColor{255, 0, 0});
    canvas.SetPenColor(TColor{0, 0, 255});
    const TPoint triangle[3] = {{10, 10}, {50, 10}, {10, 50}};
    canvas.Polygon(triangle, 3);
  });
  EXPECT_EQ(image.pixel(20, 20), kRed);
  EXPECT_EQ(image.pixel(10, 30), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(30, 10), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(45, 45), kWhite);  // beyond the hypotenuse
  EXPECT_EQ(image.pixel(5, 5), kWhite);
}

// Which pixels of the square 8 .. 55 the hatch coloured red over the grey fill;
// every other pixel inside must still be grey.
struct Hatch {
  QImage image;
  bool red(int x, int y) const { return image.pixel(x, y) == kRed; }
};

Hatch PaintHatch(BrushStyle style) {
  return Hatch{Paint(64, 64, [style](TPainterCanvas& canvas) {
    canvas.SetBrushColor(TColor{128, 128, 128, true});
    canvas.SetPenColor(TColor{128, 128, 128, true});
    Square(canvas, 8, 55);
    canvas.SetBrushStyle(style);
    canvas.SetBrushColor(TColor{255, 0, 0});
    Square(canvas, 8, 55);
  })};
}

TEST(PainterCanvasTest, HatchesPaintOnlyTheirLinesInTheirDirection) {
  for (BrushStyle style : {BrushStyle::FDiagonal, BrushStyle::BDiagonal, BrushStyle::Cross}) {
    const Hatch hatch = PaintHatch(style);
    int red = 0, grey = 0;
    for (int y = 12; y < 52; ++y)
      for (int x = 12; x < 52; ++x) {
        const QRgb p = hatch.image.pixel(x, y);
        ASSERT_TRUE(p == kRed || p == kGrey) << x << "," << y;
        (p == kRed ? red : grey)++;
        if (p != kRed) continue;
        switch (style) {
          case BrushStyle::FDiagonal:  // "\\\": top-left to bottom-right
            EXPECT_TRUE(hatch.red(x + 1, y + 1));
            EXPECT_FALSE(hatch.red(x + 1, y - 1));
            break;
          case BrushStyle::BDiagonal:  // "///": bottom-left to top-right
            EXPECT_TRUE(hatch.red(x + 1, y - 1));
            EXPECT_FALSE(hatch.red(x + 1, y + 1));
            break;
          default:  // horizontal and vertical lines: a whole row or column
            EXPECT_TRUE((hatch.red(x + 1, y) && hatch.red(x - 1, y)) || (hatch.red(x, y + 1) && hatch.red(x, y - 1)));
            break;
        }
      }
    // The grey fill stays visible between the lines.
    EXPECT_GT(red, 100);
    EXPECT_GT(grey, red);
  }
}

TEST(PainterCanvasTest, LinesRunFromTheCurrentPositionWithThePenWidth) {
  const QImage image = Paint(60, 60, [](TPainterCanvas& canvas) {
    canvas.SetPenColor(TColor{255, 0, 0});
    canvas.SetPenWidth(5);
    canvas.MoveTo(10, 30);
    canvas.LineTo(50, 30);
    canvas.SetPenWidth(1);
    canvas.SetPenColor(TColor{0, 0, 0});
    canvas.LineTo(50, 50);  // on from where the last line ended
  });
  EXPECT_EQ(image.pixel(30, 28), kRed);
  EXPECT_EQ(image.pixel(30, 32), kRed);
  EXPECT_EQ(image.pixel(30, 35), kWhite);
  EXPECT_EQ(image.pixel(50, 45), kBlack);
  EXPECT_EQ(image.pixel(30, 45), kWhite);
}

TEST(PainterCanvasTest, PolylinesPaintExactlyWhatTheirMovesAndLinesPaint) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> coordinate(-20, 100);
  for (int width : {1, 3}) {
    // Paths of 1 to 12 points, some of them far outside, some of no length.
    std::vector<TPoint> points;
    std::vector<int> sizes;
    for (int path = 0; path < 60; ++path) {
      sizes.push_back(1 + path % 12);
      for (int k = 0; k < sizes.back(); ++k) points.push_back(TPoint{coordinate(random), coordinate(random)});
      if (path % 7 == 0) points.back() = TPoint{-2000000000, 2000000000};
      if (path % 5 == 0) points.back() = points[points.size() - (sizes.back() > 1 ? 2 : 1)];
    }
    auto draw = [&](bool together) {
      return Paint(80, 80, [&](TPainterCanvas& canvas) {
        canvas.SetPenColor(TColor{0, 0, 255});
        canvas.SetPenWidth(width);
        if (together) {
          canvas.Polylines(points.data(), sizes.data(), static_cast<int>(sizes.size()));
        } else {
          const TPoint* p = points.data();
          for (int size : sizes) {
            canvas.MoveTo(p[0].x, p[0].y);
            for (int k = 1; k < size; ++k) canvas.LineTo(p[k].x, p[k].y);
            p += size;
          }
        }
        canvas.LineTo(40, 40);  // on from the last point of the last path
      });
    };
    const QImage together = draw(true), apart = draw(false);
    EXPECT_EQ(together, apart) << width;
    EXPECT_NE(together, Paint(80, 80, [](TPainterCanvas&) {}));
  }
}

TEST(PainterCanvasTest, RectangleLeavesOutItsRightAndBottomEdges) {
  QImage image(40, 40, QImage::Format_ARGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  TPainterCanvas canvas(painter, image.size());
  canvas.SetPenColor(TColor{255, 255, 255});
  canvas.Rectangle(10, 10, 20, 20);
  // The whole 32-bit range clamps instead of overflowing.
  canvas.SetPenColor(TColor{255, 0, 0});
  canvas.SetBrushColor(TColor{255, 0, 0});
  canvas.Rectangle(25, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), 30);
  painter.end();
  EXPECT_EQ(image.pixel(10, 10), kWhite);
  EXPECT_EQ(image.pixel(19, 19), kWhite);
  EXPECT_EQ(image.pixel(15, 15), kWhite);
  EXPECT_EQ(image.pixel(20, 15), kBlack);
  EXPECT_EQ(image.pixel(15, 20), kBlack);
  EXPECT_EQ(image.pixel(9, 9), kBlack);
  EXPECT_EQ(image.pixel(25, 0), kRed);
  EXPECT_EQ(image.pixel(39, 29), kRed);
  EXPECT_EQ(image.pixel(39, 30), kBlack);
  EXPECT_EQ(image.pixel(24, 5), kBlack);
}

TEST(PainterCanvasTest, FarAwayPointsAreClipped) {
  const QImage image = Paint(50, 50, [](TPainterCanvas& canvas) {
    canvas.SetBrushColor(TColor{255, 0, 0});
    canvas.SetPenColor(TColor{255, 0, 0});
    const int32_t far = 2000000000;
    const TPoint lowerHalf[4] = {{-far, 25}, {far, 25}, {far, far}, {-far, far}};
    canvas.Polygon(lowerHalf, 4);
    canvas.SetPenColor(TColor{0, 0, 0});
    canvas.MoveTo(std::numeric_limits<int32_t>::min(), 10);
    canvas.LineTo(std::numeric_limits<int32_t>::max(), 10);
  });
  EXPECT_EQ(image.pixel(0, 40), kRed);
  EXPECT_EQ(image.pixel(49, 26), kRed);
  EXPECT_EQ(image.pixel(20, 20), kWhite);
  EXPECT_EQ(image.pixel(0, 10), kBlack);
  EXPECT_EQ(image.pixel(49, 10), kBlack);
}

TEST(PainterCanvasTest, DrawsTheDefaultTrackOnAnImage) {
  TObjectPath selection;  // nothing highlighted
  TTrack track;
  track.SetDefaults();
  QImage image(700, 400, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  TPainterCanvas canvas(painter, image.size());
  TOffscreenWindow window(canvas);
  TScaleDraw view(window, TRect{-100000, 300000, 1100000, -300000}, 600);
  view.OriginFromScroll();
  TTrackPainter(track).Draw(view, kViewAll, selection);
  painter.end();
  // The tarmac strip spans x 50 .. 542 and y 100 .. 199; the white zero line is at
  // y 150, the blue traces on the walls, the red marker left of x 50 is 5 wide.
  EXPECT_EQ(image.pixel(300, 125), kGrey);
  EXPECT_EQ(image.pixel(300, 150), kWhite);
  EXPECT_EQ(image.pixel(300, 100), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(300, 250), kWhite);
  EXPECT_EQ(image.pixel(50, 250), kRed);
  EXPECT_EQ(image.pixel(52, 250), kRed);
  EXPECT_EQ(image.pixel(600, 150), kWhite);
}

}  // namespace
}  // namespace meridal
