// A full repaint of the graphics window, offscreen: the whole track drawn onto a
// 1920 x 1080 QImage, at zoom 1 (everything in view) and zoomed in x16.
//
// "Zoomed in x16" shows the same magnification for every track: 16 times the base
// scale of the 1,000-section track, centred on its middle section. A longer track
// has a larger extent and so a smaller base scale; zooming it by its own x16 would
// show ten times as much of it. At one magnification the window holds the same
// stretch of either track, so the comparison measures what culling saves: the
// cost of the sections out of view.
#ifdef MERIDAL_BENCH_DRAW
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <map>
#include <memory>

#include "graphics/offscreen_window.h"
#include "graphics/qt/painter_canvas.h"
#include "graphics/scale_draw.h"
#include "graphics/track_painter.h"
#include "graphics/view_flags.h"
#include "platform/canvas.h"
#include "model/object_path.h"
#include "model/synthetic_track.h"
#include "model/track.h"

namespace {

using meridal::TTrack;

TTrack& Track(int sections) {
  static std::map<int, std::unique_ptr<TTrack>> tracks;
  auto& track = tracks[sections];
  if (!track) track = meridal::SyntheticTrack(sections);
  return *track;
}

// The base scale of a track's drawing: its larger extent spans 600 pixels.
double BaseScale(const TTrack& track) {
  const double width = static_cast<double>(track.Extent.right) - track.Extent.left;
  const double height = static_cast<double>(track.Extent.top) - track.Extent.bottom;
  return 600.0 / (width > height ? width : height);
}

void Repaint(benchmark::State& state, bool zoomedIn, bool levelOfDetail = true) {
  TTrack& track = Track(static_cast<int>(state.range(0)));
  QImage image(1920, 1080, QImage::Format_RGB32);
  QPainter painter(&image);
  meridal::TPainterCanvas canvas(painter, image.size());
  meridal::TOffscreenWindow window(canvas);
  meridal::TScaleDraw view(window, track.Extent, 600);
  view.SetLevelOfDetail(levelOfDetail);
  if (zoomedIn) {
    view.SetZoom(16.0 * BaseScale(Track(1000)) / view.Scale());
    const meridal::TRect& box = track.Section(500)->Extent;
    view.CenterOn((static_cast<double>(box.left) + box.right) / 2, (static_cast<double>(box.top) + box.bottom) / 2);
  }
  for (auto _ : state) {
    image.fill(Qt::white);
    view.OriginFromScroll();
    meridal::TTrackPainter(track).Draw(view, static_cast<int32_t>(state.range(1)), meridal::TObjectPath::Track());
  }
  int drawn = 0;
  for (const auto& section : track.Sections) drawn += view.IsVisible(section->Extent);
  state.counters["sections_in_view"] = drawn;
  state.counters["zoom"] = view.Zoom();
}

// The core's own share of a repaint: every point computed and every call made,
// onto a canvas that draws nothing.
struct NullCanvas : meridal::ICanvas {
  void SetPenColor(meridal::TColor) override {}
  void SetPenWidth(int) override {}
  void SetBrushColor(meridal::TColor) override {}
  void SetBrushStyle(meridal::BrushStyle) override {}
  void MoveTo(int32_t, int32_t) override {}
  void LineTo(int32_t, int32_t) override {}
  void Polylines(const meridal::TPoint*, const int*, int) override {}
  void Polygon(const meridal::TPoint*, int) override {}
  void Rectangle(int32_t, int32_t, int32_t, int32_t) override {}
  int ClientWidth() const override { return 1920; }
  int ClientHeight() const override { return 1080; }
};

void DrawCoreOnly(benchmark::State& state) {
  TTrack& track = Track(static_cast<int>(state.range(0)));
  NullCanvas canvas;
  meridal::TOffscreenWindow window(canvas);
  meridal::TScaleDraw view(window, track.Extent, 600);
  for (auto _ : state) {
    view.OriginFromScroll();
    meridal::TTrackPainter(track).Draw(view, meridal::kViewAll, meridal::TObjectPath::Track());
  }
}
BENCHMARK(DrawCoreOnly)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void RepaintAll(benchmark::State& state) { Repaint(state, false); }
void RepaintZoomedIn(benchmark::State& state) { Repaint(state, true); }
// Every strip, line and section drawn in full however small: what the level of
// detail saves, on the same tracks.
void RepaintAllFullDetail(benchmark::State& state) { Repaint(state, false, false); }

// Arguments: sections, ViewFlags (63: every option on, as at start-up).
BENCHMARK(RepaintAll)->Args({1000, 63})->Args({10000, 63})->Args({1000, 0})->Unit(benchmark::kMillisecond);
BENCHMARK(RepaintAllFullDetail)->Args({1000, 63})->Args({10000, 63})->Unit(benchmark::kMillisecond);
BENCHMARK(RepaintZoomedIn)->Args({1000, 63})->Args({10000, 63})->Unit(benchmark::kMillisecond);

}  // namespace
#endif
