// The elevation profile's full redraw and the track check, on the 10,000-section
// synthetic track (16 traces, 12 walls a section). The profile is drawn 1920 x 1080
// with the whole track in view, a section and one of its altitudes selected and
// slope colouring on: the heaviest picture the profile window makes.
#include <benchmark/benchmark.h>

#include <memory>

#include "check/track_check.h"
#include "graphics/profile_drawing.h"
#include "graphics/profile_view.h"
#include "model/object_path.h"
#include "model/synthetic_track.h"
#include "model/track.h"

#ifdef MERIDAL_BENCH_DRAW
#include <QImage>
#include <QPainter>

#include "graphics/qt/offscreen_fonts.h"
#include "graphics/qt/painter_canvas.h"
#endif

namespace {

using meridal::TTrack;

TTrack& LongTrack() {
  static std::unique_ptr<TTrack> track = [] {
    auto t = meridal::SyntheticTrack(10000);
    return t;
  }();
  return *track;
}

meridal::TProfileView WholeTrack(TTrack& track) {
  meridal::TProfileView view;
  view.SetExtent(meridal::TrackDistances(track, meridal::SectionStarts(track)));
  view.SlopeColouring = true;
  return view;
}

void TrackCheck(benchmark::State& state) {
  TTrack& track = LongTrack();
  size_t found = 0;
  for (auto _ : state) {
    const auto problems = meridal::CheckTrack(track);
    found = problems.size();
    benchmark::DoNotOptimize(found);
  }
  state.counters["problems"] = static_cast<double>(found);
}
BENCHMARK(TrackCheck)->Unit(benchmark::kMillisecond);

// The core's share of a redraw: the samples of 1920 columns, every trace.
void ProfileSampling(benchmark::State& state) {
  TTrack& track = LongTrack();
  const meridal::TProfileView view = WholeTrack(track);
  meridal::TColumnSamples samples;
  for (auto _ : state) {
    const std::vector<int64_t> starts = meridal::SectionStarts(track);
    meridal::SampleColumns(track, starts, view.First(), view.Last(), 1920, 3, samples);
    benchmark::DoNotOptimize(samples.highest);
  }
}
BENCHMARK(ProfileSampling)->Unit(benchmark::kMillisecond);

#ifdef MERIDAL_BENCH_DRAW
// Argument: smooth drawing off (0) or on (1, the desktop's default).
void ProfileRedraw(benchmark::State& state) {
  meridal::EnsureFonts();
  TTrack& track = LongTrack();
  const meridal::TProfileView view = WholeTrack(track);
  QImage image(1920, 1080, QImage::Format_RGB32);
  QPainter painter(&image);
  meridal::TPainterCanvas canvas(painter, image.size(), state.range(0) != 0);
  meridal::TProfileDrawing profile;
  for (auto _ : state) profile.Draw(track, meridal::TObjectPath::Altitude(5000, 3), view, canvas);
}
BENCHMARK(ProfileRedraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
