// meridal-cli batch: 1,000 set commands on the 1,000-section synthetic track, from
// reading the project to writing it back, with the commands read from memory. The
// time is wall-clock time, files included.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "cli/cli.h"

namespace meridal::bench {
namespace {

namespace fs = std::filesystem;

// Lengths, wall heights and altitude heights in turn, spread over the track.
std::string ThousandSets() {
  std::ostringstream script;
  for (int i = 0; i < 1000; ++i) {
    const int section = (i * 7) % 1000;
    switch (i % 3) {
      case 0: script << "set 'section " << section << "' Length " << 300000 + i << '\n'; break;
      case 1: script << "set 'section " << section << "/wall 3' Height " << i << '\n'; break;
      default: script << "set \"section " << section << "/altitude 2\" Height@Start " << -i << '\n'; break;
    }
  }
  return script.str();
}

void BM_Batch1000Sets(benchmark::State& state) {
  const fs::path dir = fs::temp_directory_path() / "meridal-bench-batch";
  fs::create_directories(dir);
  const std::string in = (dir / "big.mrd").string(), out = (dir / "out.mrd").string();
  std::ostringstream ignored;
  if (RunCli({"synth", "1000", in}, CliIo{ignored, ignored}) != 0) {
    state.SkipWithError("could not write the synthetic track");
    return;
  }
  const std::string script = ThousandSets();
  for (auto _ : state) {
    std::istringstream commands(script);
    std::ostringstream output, errors;
    if (RunCli({"batch", in, "-o", out}, CliIo{output, errors, &commands}) != 0) {
      state.SkipWithError(errors.str().c_str());
      break;
    }
  }
  fs::remove_all(dir);
}
BENCHMARK(BM_Batch1000Sets)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace meridal::bench
