// meridal-cli fit from start to exit, in process: reading a circuit's centreline,
// fitting it at 1.0 m and 0.5 m, and saving the project; and Close Loop planned
// and applied on the fitted track opened at one joint. The circuits are the
// project's copies (examples/, tests/data/centrelines/).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>

#include "cli/cli.h"
#include "model/track.h"
#include "solve/centreline.h"
#include "solve/centreline_fit.h"
#include "solve/close_loop.h"

namespace {

const std::string kRoot = MERIDAL_SOURCE_DIR;

std::string CircuitPath(const std::string& name) {
  return name == "Monza" ? kRoot + "/examples/Monza.csv" : kRoot + "/tests/data/centrelines/" + name + ".csv";
}

void BM_FitCommand(benchmark::State& state, const std::string& name, const char* tolerance) {
  const std::string out = (std::filesystem::temp_directory_path() / ("meridal-bench-" + name + ".mrd")).string();
  for (auto _ : state) {
    std::ostringstream o, e;
    const int code = meridal::RunCli({"fit", CircuitPath(name), out, "--tolerance", tolerance}, {o, e});
    if (code != 0) state.SkipWithError(e.str().c_str());
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

void BM_CloseLoopPlan(benchmark::State& state) {
  const meridal::TCentrelineRead read = meridal::ReadCentrelineFile(CircuitPath("Monza"), 12);
  meridal::TFitResult fit = meridal::FitCentreline(read.line, {1.0, 3});
  fit.track->Section(3)->SetValue("Length", fit.track->Section(3)->Length + 20000);  // a metre longer
  for (auto _ : state) benchmark::DoNotOptimize(meridal::PlanCloseLoop(*fit.track));
}
BENCHMARK(BM_CloseLoopPlan)->Unit(benchmark::kMillisecond);

}  // namespace
