// A lap on each line: the stations sampled, the line solved and the speeds
// traced, on a 4.6 km circuit of 57 sections (Hockenheim fitted at 0.5 m) and on
// the 10,000-section synthetic track (108 km, open: the line jumps its one gap).
// The synthetic track's strips cycle through every surface, so that with the
// formula car the line is pinned to narrow runs of tarmac and kerbs; there the
// car grips on every surface, so that the solver has the whole width to use.
// Counters: the lap time, the stations and the linearisations of the line.
#include <benchmark/benchmark.h>

#include <memory>

#include "drive/lap.h"
#include "drive/track_stations.h"
#include "drive/vehicle.h"
#include "model/synthetic_track.h"
#include "model/track.h"
#include "solve/centreline.h"
#include "solve/centreline_fit.h"

namespace meridal::bench {
namespace {

const TTrack& Circuit() {
  static const std::unique_ptr<TTrack> track = [] {
    const TCentrelineRead read =
        ReadCentrelineFile(std::string(MERIDAL_SOURCE_DIR) + "/tests/data/centrelines/Hockenheim.csv", 12.0);
    return std::move(FitCentreline(read.line, {0.5, 3}).track);
  }();
  return *track;
}

const TTrack& BigTrack() {
  static const std::unique_ptr<TTrack> track = SyntheticTrack(10000, 16, 12);
  return *track;
}

TVehicle GripsEverywhere() {
  TVehicle v = DefaultVehicle();
  v.surfaceGrip.clear();
  return v;
}

void BM_Lap(benchmark::State& state, const TTrack& (*track)(), TLineKind kind, bool everywhere) {
  const TVehicle vehicle = everywhere ? GripsEverywhere() : DefaultVehicle();
  const TTrack& driven = track();  // made before the clock starts
  TLap lap;
  size_t stations = 0;
  for (auto _ : state) {
    const TTrackStations sampled = SampleStations(driven, vehicle);
    stations = sampled.Size();
    lap = DriveLap(sampled, vehicle, kind);
    if (!lap.ok) state.SkipWithError(lap.error.c_str());
  }
  state.counters["lap_s"] = lap.lapTime;
  state.counters["stations"] = double(stations);
  state.counters["linearisations"] = lap.linearisations;
}

BENCHMARK_CAPTURE(BM_Lap, Hockenheim_centre, Circuit, TLineKind::Centre, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Lap, Hockenheim_min_curvature, Circuit, TLineKind::MinCurvature, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Lap, Synthetic10000_centre, BigTrack, TLineKind::Centre, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Lap, Synthetic10000_min_curvature, BigTrack, TLineKind::MinCurvature, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
}  // namespace meridal::bench
