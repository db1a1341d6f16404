#include "graphics/scale_draw.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/fake_draw_window.h"

namespace meridal {
namespace {

using testing::FakeDrawWindow;

constexpr int32_t kMax32 = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin32 = std::numeric_limits<int32_t>::min();

// 38400 units wide, 19200 high: 0.015625 (1/64) pixels per unit at zoom 1.
const TRect kWide{0, 19200, 38400, 0};

TEST(ScaleDrawTest, BaseScaleTakesTheLargerExtent) {
  FakeDrawWindow window(696, 480);
  TScaleDraw wide(window, kWide, 600);
  EXPECT_EQ(wide.Scale(), 0.015625);
  EXPECT_EQ(wide.Zoom(), 1.0);
  EXPECT_EQ(window.ScrollRange(ScrollBar::Horizontal), 600);
  EXPECT_EQ(window.ScrollRange(ScrollBar::Vertical), 300);
  EXPECT_EQ(wide.OriginX(), 0.0);
  EXPECT_EQ(wide.OriginY(), 19200.0);

  TScaleDraw tall(window, TRect{0, 38400, 19200, 0}, 600);
  EXPECT_EQ(tall.Scale(), 0.015625);
  EXPECT_EQ(window.ScrollRange(ScrollBar::Horizontal), 300);
  EXPECT_EQ(window.ScrollRange(ScrollBar::Vertical), 600);

  TScaleDraw square(window, TRect{-19200, 19200, 19200, -19200}, 600);
  EXPECT_EQ(square.Scale(), 0.015625);
  EXPECT_EQ(window.ScrollRange(ScrollBar::Horizontal), 600);
  EXPECT_EQ(window.ScrollRange(ScrollBar::Vertical), 600);
  EXPECT_EQ(window.ScrollPosition(ScrollBar::Horizontal), 0);
  EXPECT_EQ(window.ScrollPosition(ScrollBar::Vertical), 0);
}

TEST(ScaleDrawTest, MappingTruncatesTowardZero) {
  FakeDrawWindow window;
  TScaleDraw view(window, kWide, 600);
  // 64 units are one pixel; 44.8 units are 0.7 pixel, 76.8 units 1.2 pixels.
  EXPECT_EQ(view.ToWindowX(0), 0);
  EXPECT_EQ(view.ToWindowX(-44.8), 0);
  EXPECT_EQ(view.ToWindowX(-76.8), -1);
  EXPECT_EQ(view.ToWindowX(44.8), 0);
  EXPECT_EQ(view.ToWindowX(76.8), 1);
  EXPECT_EQ(view.ToWindowX(38400), 600);
  // Y grows upwards in the world and downwards in the window.
  EXPECT_EQ(view.ToWindowY(19200), 0);
  EXPECT_EQ(view.ToWindowY(19200 + 44.8), 0);
  EXPECT_EQ(view.ToWindowY(19200 + 76.8), -1);
  EXPECT_EQ(view.ToWindowY(0), 300);
  EXPECT_EQ(view.ToWorldX(10), 640.0);
  EXPECT_EQ(view.ToWorldY(10), 19200.0 - 640.0);
}

TEST(ScaleDrawTest, FarPointsSaturateInsteadOfWrapping) {
  FakeDrawWindow window;
  TScaleDraw view(window, TRect{0, 600, 600, 0}, 600);  // one pixel per unit
  ASSERT_TRUE(view.SetZoom(1024.0));
  // 3e6 units at 1024 pixels per unit is beyond the 32-bit range on both sides.
  EXPECT_EQ(view.ToWindowX(3e6), kMax32);
  EXPECT_EQ(view.ToWindowX(-3e6), kMin32);
  EXPECT_EQ(view.ToWindowY(-3e6), kMax32);
  EXPECT_EQ(view.ToWindowX(std::nan("")), 0);
}

TEST(ScaleDrawTest, ZoomInDoublesTheRangesAndMapsBackExactly) {
  FakeDrawWindow window(300, 200);
  TScaleDraw view(window, kWide, 600);
  ASSERT_TRUE(view.ZoomIn());
  view.CenterOn(20000, 9000);
  EXPECT_EQ(view.Zoom(), 2.0);
  EXPECT_EQ(window.ScrollRange(ScrollBar::Horizontal), 1200);
  EXPECT_EQ(window.ScrollRange(ScrollBar::Vertical), 600);
  view.OriginFromScroll();
  for (int x = 0; x < 300; ++x) ASSERT_EQ(view.ToWindowX(view.ToWorldX(x)), x) << x;
  for (int y = 0; y < 200; ++y) ASSERT_EQ(view.ToWindowY(view.ToWorldY(y)), y) << y;
  ASSERT_TRUE(view.ZoomOut());
  ASSERT_TRUE(view.ZoomOut());
  EXPECT_EQ(view.Zoom(), 0.5);
  view.CenterOn(20000, 9000);
  EXPECT_EQ(window.ScrollRange(ScrollBar::Horizontal), 300);
  EXPECT_EQ(window.ScrollRange(ScrollBar::Vertical), 150);
}

TEST(ScaleDrawTest, CentringMovesThePointToTheMiddleWithinTheEdges) {
  FakeDrawWindow window(700, 400);
  TScaleDraw view(window, kWide, 600);
  ASSERT_TRUE(view.ZoomIn());
  ASSERT_TRUE(view.ZoomIn());  // 16 units per pixel: 2400 x 1200 pixels
  const int before = window.repaints;

  view.CenterOn(19200, 9600);
  EXPECT_EQ(window.repaints, before + 1);
  EXPECT_EQ(window.ScrollPosition(ScrollBar::Horizontal), 850);
  EXPECT_EQ(window.ScrollPosition(ScrollBar::Vertical), 400);
  view.OriginFromScroll();
  EXPECT_EQ(view.ToWindowX(19200), 350);
  EXPECT_EQ(view.ToWindowY(9600), 200);

  view.CenterOn(100, 19000);  // near the top-left corner
  EXPECT_EQ(view.OriginX(), 0.0);
  EXPECT_EQ(view.OriginY(), 19200.0);
  EXPECT_EQ(window.ScrollPosition(ScrollBar::Horizontal), 0);
  EXPECT_EQ(window.ScrollPosition(ScrollBar::Vertical), 0);

  view.CenterOn(38000, 100);  // near the bottom-right corner: as far as the ranges allow
  EXPECT_EQ(window.ScrollPosition(ScrollBar::Horizontal), 2400 - 700);
  EXPECT_EQ(window.ScrollPosition(ScrollBar::Vertical), 1200 - 400);
  view.OriginFromScroll();
  EXPECT_EQ(view.OriginX(), 1700 * 16.0);
  EXPECT_EQ(view.OriginY(), 19200 - 800 * 16.0);
  EXPECT_EQ(view.ToWindowX(38400), 700);
  EXPECT_EQ(view.ToWindowY(0), 400);
}

TEST(ScaleDrawTest, ADrawingThatFitsStaysAnchoredTopLeft) {
  FakeDrawWindow window(700, 400);
  TScaleDraw view(window, kWide, 600);  // 600 x 300 pixels
  view.CenterOn(38000, 100);
  view.OriginFromScroll();
  EXPECT_EQ(window.ScrollPosition(ScrollBar::Horizontal), 0);
  EXPECT_EQ(window.ScrollPosition(ScrollBar::Vertical), 0);
  EXPECT_EQ(view.OriginX(), 0.0);
  EXPECT_EQ(view.OriginY(), 19200.0);
}

TEST(ScaleDrawTest, SetBoundsKeepsZoomAndTheOriginInsideTheTopLeftCorner) {
  FakeDrawWindow window(700, 400);
  TScaleDraw view(window, kWide, 600);
  ASSERT_TRUE(view.ZoomIn());
  ASSERT_TRUE(view.ZoomIn());
  view.CenterOn(19200, 9600);
  view.OriginFromScroll();
  ASSERT_EQ(view.OriginX(), 13600.0);
  ASSERT_EQ(view.OriginY(), 12800.0);

  // Ending further down: the origin stays, the vertical range grows.
  view.SetBounds(TRect{0, 19200, 38400, -19200});
  EXPECT_EQ(view.OriginX(), 13600.0);
  EXPECT_EQ(view.OriginY(), 12800.0);
  EXPECT_EQ(view.Scale(), 0.015625);
  EXPECT_EQ(view.Zoom(), 4.0);
  EXPECT_EQ(window.ScrollRange(ScrollBar::Vertical), 2400);
  EXPECT_EQ(window.ScrollPosition(ScrollBar::Vertical), 400);

  // Starting further right and lower at the top than the origin: both move in.
  view.SetBounds(TRect{20000, 12000, 38400, -19200});
  EXPECT_EQ(view.OriginX(), 20000.0);
  EXPECT_EQ(view.OriginY(), 12000.0);
  EXPECT_EQ(window.ScrollRange(ScrollBar::Horizontal), 1150);
  EXPECT_EQ(window.ScrollPosition(ScrollBar::Horizontal), 0);
  EXPECT_EQ(window.ScrollPosition(ScrollBar::Vertical), 0);
}

TEST(ScaleDrawTest, RectsOverlapCountsOnlyTheRightAndHighBorders) {
  EXPECT_TRUE(TScaleDraw::RectsOverlap(TRect{0, 0, 10, 10}, TRect{10, 0, 20, 10}));
  EXPECT_FALSE(TScaleDraw::RectsOverlap(TRect{10, 0, 20, 10}, TRect{0, 0, 10, 10}));
  // The order of the y values does not matter.
  EXPECT_TRUE(TScaleDraw::RectsOverlap(TRect{0, 10, 10, 0}, TRect{10, 0, 20, 10}));
  EXPECT_TRUE(TScaleDraw::RectsOverlap(TRect{0, 0, 10, 10}, TRect{10, 10, 20, 0}));
  EXPECT_FALSE(TScaleDraw::RectsOverlap(TRect{10, 10, 20, 0}, TRect{0, 0, 10, 10}));
  // In y: A's high edge on B's low edge overlaps, A's low edge on B's high edge does not.
  EXPECT_TRUE(TScaleDraw::RectsOverlap(TRect{0, 0, 10, 10}, TRect{0, 10, 10, 20}));
  EXPECT_FALSE(TScaleDraw::RectsOverlap(TRect{0, 10, 10, 20}, TRect{0, 0, 10, 10}));
  EXPECT_FALSE(TScaleDraw::RectsOverlap(TRect{0, 0, 10, 10}, TRect{11, 0, 20, 10}));
  EXPECT_TRUE(TScaleDraw::RectsOverlap(TRect{-5, 3, 50, 4}, TRect{0, 0, 10, 10}));
}

TEST(ScaleDrawTest, ZoomStepsThatWouldLeaveThe32BitRangeAreRefused) {
  FakeDrawWindow window(700, 400);
  TScaleDraw view(window, kWide, 600);
  // 600 * 2^21 fits the 32-bit range, 600 * 2^22 does not.
  for (int i = 0; i < 21; ++i) ASSERT_TRUE(view.ZoomIn()) << i;
  EXPECT_FALSE(view.ZoomIn());
  EXPECT_EQ(view.Zoom(), 2097152.0);
  view.CenterOn(38400, 0);
  EXPECT_EQ(window.ScrollRange(ScrollBar::Horizontal), 1258291200);
  EXPECT_EQ(window.ScrollRange(ScrollBar::Vertical), 629145600);
  EXPECT_EQ(window.ScrollPosition(ScrollBar::Horizontal), 1258291200 - 700);
  EXPECT_FALSE(view.SetZoom(2097152.0 * 1.75));
  EXPECT_FALSE(view.SetZoom(std::numeric_limits<double>::infinity()));
  EXPECT_FALSE(view.SetZoom(0.0));
  EXPECT_FALSE(view.SetZoom(-1.0));
  EXPECT_EQ(view.Zoom(), 2097152.0);

  // A rectangle that grows past the range at this zoom saturates the scroll
  // range instead of wrapping, and zooming out stays possible.
  view.SetBounds(TRect{0, 19200, 38400 * 4, 0});
  EXPECT_EQ(window.ScrollRange(ScrollBar::Horizontal), kMax32);
  EXPECT_FALSE(view.ZoomIn());
  EXPECT_TRUE(view.ZoomOut());
  EXPECT_TRUE(view.ZoomOut());
  view.CenterOn(0, 0);
  EXPECT_EQ(window.ScrollRange(ScrollBar::Horizontal), 1258291200);
}

TEST(ScaleDrawTest, ZoomingOutEndsBeforeTheScaleVanishes) {
  FakeDrawWindow window;
  TScaleDraw view(window, kWide, 600);
  int steps = 0;
  while (view.ZoomOut() && steps < 5000) ++steps;
  EXPECT_LT(steps, 5000);
  EXPECT_TRUE(std::isnormal(view.PixelsPerUnit()));
  view.CenterOn(100, 100);
  view.OriginFromScroll();
  EXPECT_TRUE(std::isfinite(view.OriginX()));
  EXPECT_TRUE(std::isfinite(view.ToWorldX(1)));
  EXPECT_TRUE(view.ZoomIn());
}

TEST(ScaleDrawTest, DegenerateRectanglesGiveAFiniteScale) {
  FakeDrawWindow window;
  // No extent at all counts as one unit: 600 pixels per unit.
  TScaleDraw point(window, TRect{0, 0, 0, 0}, 600);
  EXPECT_EQ(point.Scale(), 600.0);
  EXPECT_EQ(window.ScrollRange(ScrollBar::Horizontal), 0);
  EXPECT_EQ(window.ScrollRange(ScrollBar::Vertical), 0);
  point.CenterOn(0, 0);
  point.OriginFromScroll();
  EXPECT_EQ(point.ToWindowX(0), 0);
  EXPECT_EQ(point.ToWindowX(1), 600);
  EXPECT_EQ(point.ToWorldY(600), -1.0);
  EXPECT_TRUE(point.ZoomIn());

  // A line has one extent: that one sets the scale.
  TScaleDraw line(window, TRect{0, 0, 1200, 0}, 600);
  EXPECT_EQ(line.Scale(), 0.5);
  EXPECT_EQ(window.ScrollRange(ScrollBar::Horizontal), 600);

  // The whole 32-bit plane: its width does not wrap to a negative number.
  TScaleDraw plane(window, TRect{kMin32, kMax32, kMax32, kMin32}, 600);
  EXPECT_EQ(plane.BoundsWidth(), 4294967295.0);
  EXPECT_EQ(plane.BoundsHeight(), 4294967295.0);
  EXPECT_EQ(plane.Scale(), 600.0 / 4294967295.0);
  EXPECT_EQ(plane.ToWindowX(kMin32), 0);
  EXPECT_EQ(plane.ToWindowY(kMin32), 600);
}

TEST(ScaleDrawTest, VisibilityOfAWorldBoxAgainstTheClientArea) {
  FakeDrawWindow window(700, 400);
  TScaleDraw view(window, kWide, 600);
  EXPECT_TRUE(view.IsVisible(TRect{100, 100, 200, 0}));
  // Touching the window's left edge with its right edge is visible...
  EXPECT_TRUE(view.IsVisible(TRect{-6400, 100, 0, 0}));
  // ... touching its right edge with its left edge is not.
  EXPECT_FALSE(view.IsVisible(TRect{700 * 64, 100, 800 * 64, 0}));
  EXPECT_FALSE(view.IsVisible(TRect{100, 19200 + 6400, 200, 19200 + 640}));
  EXPECT_TRUE(view.IsVisible(TRect{100, 19200 + 6400, 200, 19200}));
}

}  // namespace
}  // namespace meridal
