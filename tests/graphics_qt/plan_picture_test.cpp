// The plan of the synthetic tracks, pinned pixel for pixel: each picture's hash
// was taken from the drawing before the painters took it over from the model and
// before short lines were stamped. Any change to the pixels the plan view shows,
// zoomed out, at the size of a pixel or zoomed in, with a highlight, fails here.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdint>

#include "graphics/offscreen_window.h"
#include "graphics/qt/painter_canvas.h"
#include "graphics/scale_draw.h"
#include "graphics/track_painter.h"
#include "model/object_path.h"
#include "model/synthetic_track.h"
#include "model/track.h"

namespace meridal {
namespace {

// FNV-1a over the colour of every pixel, row by row.
uint64_t PictureHash(const QImage& image) {
  uint64_t hash = 14695981039346656037ull;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) hash = (hash ^ (line[x] & 0xffffff)) * 1099511628211ull;
  }
  return hash;
}

// As the command line renders: zoomed, centred on the track, or on section 500
// from zoom 4 on; plain (not smooth) lines.
QImage Render(const TTrack& track, double zoom, int flags, const TObjectPath& selection) {
  QImage image(960, 540, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  TPainterCanvas canvas(painter, image.size());
  TOffscreenWindow window(canvas);
  TScaleDraw view(window, track.Extent, 600);
  view.SetZoom(zoom);
  const TRect& box = zoom >= 4 ? track.Section(500)->Extent : track.Extent;
  view.CenterOn((static_cast<double>(box.left) + box.right) / 2, (static_cast<double>(box.top) + box.bottom) / 2);
  view.OriginFromScroll();
  TTrackPainter(track).Draw(view, flags, selection);
  return image;
}

TEST(PlanPictureTest, TheSyntheticTracksLookAsTheyAlwaysHave) {
  const auto small = SyntheticTrack(1000), large = SyntheticTrack(10000);
  struct Case {
    const TTrack& track;
    double zoom;
    int flags;
    TObjectPath selection;
    uint64_t hash;
  };
  const Case cases[] = {
      {*small, 1, 63, TObjectPath::Wall(7, 3), 0x5dcf00e882a3d157ull},  // every strip under a pixel
      {*small, 1, 0, TObjectPath::Track(), 0xd5e8ffb06948a985ull},
      {*small, 0.25, 63, TObjectPath::Track(), 0x9f919deb685c847aull},  // sections of a pixel or two
      {*small, 16, 63, TObjectPath::Altitude(500, 2), 0x304f99d0755bbdb4ull},  // strips and hatches in full
      {*small, 4, 36, TObjectPath::Section(500), 0xdd2c9c28e5f9a17cull},
      {*large, 1, 63, TObjectPath::Track(), 0x154d43c3d9286634ull},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.track.NumberOfSections() << " sections, zoom " << c.zoom << ", flags " << c.flags);
    EXPECT_EQ(PictureHash(Render(c.track, c.zoom, c.flags, c.selection)), c.hash);
  }
}

}  // namespace
}  // namespace meridal
