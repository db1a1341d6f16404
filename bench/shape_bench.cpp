// Shaping by hand on the synthetic tracks, in the core with a listener to tell:
// one pointer move of a drag (the dragged section's new value, and with keep
// joined every later section placed again), and the release with its undo and
// redo. The section dragged is the middle one, so that half the track follows.
#include <benchmark/benchmark.h>

#include <cmath>

#include "document/document.h"
#include "model/synthetic_track.h"
#include "model/track.h"
#include "model/units.h"
#include "shape/document_drag.h"
#include "shape/readout.h"

namespace meridal::bench {
namespace {

// A straight's end dragged back and forth along its heading by a few metres,
// shorter than its 20 m: the 10,000-section track is already longer than a
// file's 32-bit Length allows, so it may only be shortened.
TPointD Along(const TSection& s, double metres) {
  const double theta = OrientationToRadians(s.Orientation);
  return {s.StartX() + metres * kUnitsPerMeter * std::cos(theta), s.StartY() + metres * kUnitsPerMeter * std::sin(theta)};
}

int StraightNear(const TTrack& track, int s) {
  while (track.Section(s)->IsCurved()) ++s;
  return s;
}

void BM_DragMove(benchmark::State& state) {
  TDocument document(SyntheticTrack(static_cast<int32_t>(state.range(0))));
  size_t told = 0;
  document.Subscribe([&told](const TDocumentChange&) { ++told; });
  const int s = StraightNear(document.Track(), document.Track().NumberOfSections() / 2);
  shape::TDragOptions options;
  options.keepJoined = state.range(1) != 0;
  options.snap = shape::CommandLineSnap(false);
  const TSection& section = *document.Track().Section(s);
  const TPointD start = Along(section, 20);
  shape::TDocumentDrag drag(document, s, shape::Handle::End, start, options);
  int i = 0;
  for (auto _ : state) {
    drag.Move(Along(section, 13 + (i++ % 7)));
    benchmark::DoNotOptimize(shape::DragReadout(document.Track(), *drag.Drag()));
  }
  drag.Cancel();
  state.SetLabel(options.keepJoined ? "keep joined" : "detached");
}
BENCHMARK(BM_DragMove)->ArgsProduct({{1000, 10000}, {1, 0}})->Unit(benchmark::kMillisecond);

// The release of a keep-joined drag in the middle of the track as one step, then
// (in the same iteration) its undo and its redo, each told to a listener.
void BM_DragReleaseUndoRedo(benchmark::State& state) {
  TDocument document(SyntheticTrack(10000));
  document.Subscribe([](const TDocumentChange&) {});
  const int s = StraightNear(document.Track(), 5000);
  shape::TDragOptions options;
  options.snap = shape::CommandLineSnap(false);
  const TSection& section = *document.Track().Section(s);
  int i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    shape::TDocumentDrag drag(document, s, shape::Handle::End, Along(section, 20), options);
    drag.Move(Along(section, 17 + (i++ % 2)));
    state.ResumeTiming();
    drag.Release();
    document.Undo();
    document.Redo();
    state.PauseTiming();
    document.Undo();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DragReleaseUndoRedo)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace meridal::bench
