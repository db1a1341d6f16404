// The drawing simplified below pixel size against the drawing in full, pixel by
// pixel, on the large synthetic track.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "graphics/offscreen_window.h"
#include "graphics/qt/painter_canvas.h"
#include "graphics/scale_draw.h"
#include "graphics/track_painter.h"
#include "graphics/view_flags.h"
#include "model/synthetic_track.h"
#include "model/track.h"

namespace meridal {
  TObjectPath selection;  // nothing highlighted
namespace {

// Counts the polygons, each a strip or a hatch drawn in full.
class CountingCanvas : public TPainterCanvas {
 public:
  using TPainterCanvas::TPainterCanvas;
  void Polygon(const TPoint* points, int count) override {
    ++polygons;
    TPainterCanvas::Polygon(points, count);
  }
  int polygons = 0;
};

struct Picture {
  QImage image;
  int polygons;
};

Picture Render(TTrack& track, double zoom, int flags, bool levelOfDetail) {
  QImage image(900, 700, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  CountingCanvas canvas(painter, image.size());
  TOffscreenWindow window(canvas);
  TScaleDraw view(window, track.Extent, 600);
  view.SetZoom(zoom);
  view.OriginFromScroll();
  view.SetLevelOfDetail(levelOfDetail);
  TTrackPainter(track).Draw(view, flags, selection);
  painter.end();
  return Picture{image, canvas.polygons};
}

TEST(LevelOfDetail, LooksTheSameAsTheFullDrawingWithoutItsSlivers) {
  TObjectPath selection;  // nothing highlighted
  auto track = SyntheticTrack(1000);
  selection = PathOf(*track->Section(7));
  // Zoom 1: strips under half a pixel wide, sections 6 pixels long. 0.25: the
  // sections a pixel or two. 0.03: the whole track in 18 pixels. 3: nothing
  // smaller than a pixel but the traces' spacing.
  for (double zoom : {3.0, 1.0, 0.25, 0.03})
    for (int flags : {int{kViewAll}, 0, int{kViewWallOutline | kViewShowNonZeroUnk1}}) {
      SCOPED_TRACE(testing::Message() << "zoom " << zoom << ", flags " << flags);
      const Picture full = Render(*track, zoom, flags, false), simple = Render(*track, zoom, flags, true);
      int drawn = 0, differ = 0;
      for (int y = 0; y < full.image.height(); ++y)
        for (int x = 0; x < full.image.width(); ++x) {
          drawn += full.image.pixel(x, y) != qRgb(255, 255, 255);
          differ += full.image.pixel(x, y) != simple.image.pixel(x, y);
        }
      // Only where a clipped line's last pixel falls differently.
      EXPECT_LE(differ * 1000, drawn) << differ << " of " << drawn;
      if (zoom == 3.0) {
        EXPECT_EQ(differ, 0);
        EXPECT_EQ(simple.polygons, full.polygons);
      } else if (zoom <= 1.0) {
        EXPECT_GE(full.polygons, 11000);
        EXPECT_EQ(simple.polygons, 0);
      }
    }
}

TEST(LevelOfDetail, ASliverBesideWideStripsIsItsEdgeLine) {
  // In every third section strip 4 narrowed to 10 cm, under a tenth of a pixel
  // at zoom 3, where the other strips are over a pixel wide.
  auto track = SyntheticTrack(1000);
  for (int s = 0; s < track->NumberOfSections(); s += 3) {
    TSection& section = *track->Section(s);
    for (const char* end : {"To", "From"})
      ASSERT_EQ(section.Wall(5)->SetValue(end, section.Wall(4)->GetValue(end) + 2000), 1);
  }
  for (int flags : {int{kViewAll}, 0}) {
    const Picture full = Render(*track, 3.0, flags, false), simple = Render(*track, 3.0, flags, true);
    int drawn = 0, differ = 0;
    for (int y = 0; y < full.image.height(); ++y)
      for (int x = 0; x < full.image.width(); ++x) {
        drawn += full.image.pixel(x, y) != qRgb(255, 255, 255);
        differ += full.image.pixel(x, y) != simple.image.pixel(x, y);
      }
    EXPECT_LE(differ * 1000, drawn) << flags << ": " << differ << " of " << drawn;
    // One strip fewer drawn in full in those sections in view, and no more.
    EXPECT_LT(simple.polygons, full.polygons) << flags;
    EXPECT_GT(simple.polygons, full.polygons * 8 / 10) << flags;
  }
}

}  // namespace
}  // namespace meridal
