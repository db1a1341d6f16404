// meridal-cli fit from start to exit, in process: reading a circuit's centreline,
// fitting it at 1.0 m and 0.5 m, and saving the project; and Close Loop planned
// and applied on the fitted track opened at one joint. The circuits are the
// project's copies (examples/, tests/data/centrelines/). Then the inputs that
// once ran for minutes: Monza sampled 100,000 times, Monza 100 m wide, and
// Monza 98 km long; and how soon a fit stops once told to.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "model/track.h"
#include "solve/centreline.h"
#include "solve/centreline_fit.h"
#include "solve/close_loop.h"
#include "support/circuit_builders.h"

namespace {

const std::string kRoot = MERIDAL_SOURCE_DIR;

// Monza's line taken at `count` points evenly along it, straight between the
// database's own points.
meridal::TCentreline Resampled(const meridal::TCentreline& line, size_t count) {
  const size_t n = line.Size();
  std::vector<double> s(n + 1, 0);
  for (size_t i = 0; i < n; ++i)
    s[i + 1] = s[i] + std::hypot(line.x[(i + 1) % n] - line.x[i], line.y[(i + 1) % n] - line.y[i]);
  meridal::TCentreline out;
  size_t j = 0;
  for (size_t k = 0; k < count; ++k) {
    const double at = s[n] * double(k) / double(count);
    while (s[j + 1] < at) ++j;
    const double t = (at - s[j]) / (s[j + 1] - s[j]);
    auto mix = [&](const std::vector<double>& v) { return v[j] + t * (v[(j + 1) % n] - v[j]); };
    out.x.push_back(mix(line.x));
    out.y.push_back(mix(line.y));
    out.right.push_back(mix(line.right));
    out.left.push_back(mix(line.left));
  }
  return out;
}

// The made inputs, written once beside the other temporary files.
std::string MadePath(const std::string& name) {
  const std::string path = (std::filesystem::temp_directory_path() / ("meridal-bench-" + name + ".csv")).string();
  if (std::filesystem::exists(path)) return path;
  meridal::TCentreline line = meridal::ReadCentrelineFile(kRoot + "/examples/Monza.csv", 12).line;
  if (name == "Monza-100k") line = Resampled(line, 100000);
  if (name == "Monza-x17")
    for (size_t i = 0; i < line.Size(); ++i) line.x[i] *= 17, line.y[i] *= 17;
  if (name == "Monza-wide") {
    line.right.assign(line.Size(), 50.0);
    line.left.assign(line.Size(), 50.0);
  }
  std::ofstream(path) << meridal::testing::CircuitCsv(line);
  return path;
}

std::string CircuitPath(const std::string& name) {
  if (name == "Monza-100k" || name == "Monza-wide" || name == "Monza-x17") return MadePath(name);
  return name == "Monza" ? kRoot + "/examples/Monza.csv" : kRoot + "/tests/data/centrelines/" + name + ".csv";
}

// `refused`: the fit is expected to end in a refusal (exit 1).
void BM_FitCommand(benchmark::State& state, const std::string& name, const char* tolerance, bool refused = false) {
  const std::string out = (std::filesystem::temp_directory_path() / ("meridal-bench-" + name + ".mrd")).string();
  for (auto _ : state) {
    std::ostringstream o, e;
    const int code = meridal::RunCli({"fit", CircuitPath(name), out, "--tolerance", tolerance}, {o, e});
    if (code != (refused ? 1 : 0)) state.SkipWithError(e.str().c_str());
  }
  std::filesystem::remove(out);
}

BENCHMARK_CAPTURE(BM_FitCommand, Monza_1_0, std::string("Monza"), "1.0")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FitCommand, Hockenheim_1_0, std::string("Hockenheim"), "1.0")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FitCommand, Norisring_1_0, std::string("Norisring"), "1.0")->Unit(benchmark::kMillisecond);
// The two whose joints need the finer starts and the loop's joint placed again.
BENCHMARK_CAPTURE(BM_FitCommand, Catalunya_1_0, std::string("Catalunya"), "1.0")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FitCommand, Zandvoort_1_0, std::string("Zandvoort"), "1.0")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FitCommand, Monza_0_5, std::string("Monza"), "0.5")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FitCommand, Hockenheim_0_5, std::string("Hockenheim"), "0.5")->Unit(benchmark::kMillisecond);
// A point every 6 cm: the search takes one a metre, and every point is measured.
BENCHMARK_CAPTURE(BM_FitCommand, Monza_100k_points_0_5, std::string("Monza-100k"), "0.5")
    ->Unit(benchmark::kMillisecond);
// Half-widths of 50 m a side: narrowed in most bends.
BENCHMARK_CAPTURE(BM_FitCommand, Monza_50m_half_widths_0_5, std::string("Monza-wide"), "0.5")
    ->Unit(benchmark::kMillisecond);

// Monza 17 times as large (98 km, a point every 85 m): no track within 0.5 m
// is found, and the search's bound on its work ends it.
BENCHMARK_CAPTURE(BM_FitCommand, Monza_x17_0_5, std::string("Monza-x17"), "0.5", true)
    ->Unit(benchmark::kMillisecond);

// How long a fit of the 100,000 points goes on once its progress says stop,
// half a second in (the editor's Cancel): the longest of the runs, in ms.
void BM_FitStops(benchmark::State& state) {
  const meridal::TCentrelineRead read = meridal::ReadCentrelineFile(CircuitPath("Monza-100k"), 12);
  using Clock = std::chrono::steady_clock;
  double longest = 0;
  for (auto _ : state) {
    const Clock::time_point begin = Clock::now();
    Clock::time_point told{};
    meridal::TFitOptions options;
    options.progress = [&](double) {
      if (told == Clock::time_point{} && Clock::now() - begin > std::chrono::milliseconds(500)) told = Clock::now();
      return told == Clock::time_point{};
    };
    const meridal::TFitResult fit = meridal::FitCentreline(read.line, options);
    if (fit.error != meridal::kFitStopped) state.SkipWithError("the fit ended before it was told to stop");
    longest = std::max(longest, std::chrono::duration<double, std::milli>(Clock::now() - told).count());
  }
  state.counters["stop_ms"] = longest;
}
BENCHMARK(BM_FitStops)->Unit(benchmark::kMillisecond);

void BM_CloseLoopPlan(benchmark::State& state) {
  const meridal::TCentrelineRead read = meridal::ReadCentrelineFile(CircuitPath("Monza"), 12);
  meridal::TFitResult fit = meridal::FitCentreline(read.line, {1.0, 3});
  fit.track->Section(3)->SetValue("Length", fit.track->Section(3)->Length + 20000);  // a metre longer
  for (auto _ : state) benchmark::DoNotOptimize(meridal::PlanCloseLoop(*fit.track));
}
BENCHMARK(BM_CloseLoopPlan)->Unit(benchmark::kMillisecond);

}  // namespace
