// A full repaint of the graphics window, offscreen, done as the window does it: a
// 1920 x 1080 picture filled white with no painter on it, then a painter and a
// canvas made for the repaint, the track drawn, the painter ended. At zoom 1
// (everything in view) and zoomed in x16, with smooth drawing off (the window's
// own default, the exact colours) and on (as the desktop starts).
//
// "Zoomed in x16" shows the same magnification for every track: 16 times the base
// scale of the 1,000-section track, centred on its middle section. A longer track
// has a larger extent and so a smaller base scale; zooming it by its own x16 would
// show ten times as much of it. At one magnification the window holds the same
// stretch of either track, so the comparison measures what culling saves: the
// cost of the sections out of view.
//
// The machine is shared: the CPU column (the process's CPU time) is the figure;
// the time column also holds whatever the neighbours took.
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
#include "model/object_path.h"
#include "model/synthetic_track.h"
#include "model/track.h"
#include "platform/canvas.h"

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

void DrawTrack(meridal::TScaleDraw& view, const TTrack& track, int32_t flags) {
  meridal::TTrackPainter(track).Draw(view, flags, meridal::TObjectPath::Track());
}

// Arguments: sections, ViewFlags (63: every option on, as at start-up), smooth.
void Repaint(benchmark::State& state, bool zoomedIn, bool levelOfDetail = true) {
  TTrack& track = Track(static_cast<int>(state.range(0)));
  const auto flags = static_cast<int32_t>(state.range(1));
  const bool smooth = state.range(2) != 0;
  QImage picture(1920, 1080, QImage::Format_RGB32);
  int inView = 0;
  for (auto _ : state) {
    picture.fill(Qt::white);
    QPainter painter(&picture);
    meridal::TPainterCanvas canvas(painter, picture.size(), smooth);
    meridal::TOffscreenWindow window(canvas);
    meridal::TScaleDraw view(window, track.Extent, 600);
    view.SetLevelOfDetail(levelOfDetail);
    if (zoomedIn) {
      view.SetZoom(16.0 * BaseScale(Track(1000)) / view.Scale());
      const meridal::TRect& box = track.Section(500)->Extent;
      view.CenterOn((static_cast<double>(box.left) + box.right) / 2, (static_cast<double>(box.top) + box.bottom) / 2);
    }
    view.OriginFromScroll();
    DrawTrack(view, track, flags);
    if (inView == 0)
      for (const auto& section : track.Sections) inView += view.IsVisible(section->Extent);
  }
  state.counters["in_view"] = inView;
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
    DrawTrack(view, track, meridal::kViewAll);
  }
}
BENCHMARK(DrawCoreOnly)->Arg(1000)->Arg(10000)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void RepaintAll(benchmark::State& state) { Repaint(state, false); }
void RepaintZoomedIn(benchmark::State& state) { Repaint(state, true); }
// Every strip, line and section drawn in full however small: what the level of
// detail saves, on the same tracks.
void RepaintAllFullDetail(benchmark::State& state) { Repaint(state, false, false); }

BENCHMARK(RepaintAll)
    ->ArgNames({"sections", "flags", "smooth"})
    ->Args({1000, 63, 0})
    ->Args({10000, 63, 0})
    ->Args({1000, 0, 0})
    ->Args({1000, 63, 1})
    ->Args({10000, 63, 1})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(RepaintZoomedIn)
    ->ArgNames({"sections", "flags", "smooth"})
    ->Args({1000, 63, 0})
    ->Args({10000, 63, 0})
    ->Args({1000, 63, 1})
    ->Args({10000, 63, 1})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(RepaintAllFullDetail)
    ->ArgNames({"sections", "flags", "smooth"})
    ->Args({1000, 63, 0})
    ->Args({10000, 63, 0})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
#endif
