// The benchmarks' main: runs everything registered, then prints the throughput of
// every benchmark that counts bytes, and how reading and writing the project file
// compare with the bare cipher over the same bytes, kernel by kernel.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "files/cipher/cipher_kernel.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

class ThroughputReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
      auto it = run.counters.find("bytes_per_second");
      std::string name = run.benchmark_name();
      const std::string suffix = "/real_time";
      if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
        name.resize(name.size() - suffix.size());
      if (it != run.counters.end()) megabytesPerSecond[name] = it->second.value / 1e6;
      cpuTime[name] = run.GetAdjustedRealTime();
      threadCpu[name] = run.GetAdjustedCPUTime();
    }
  }
  std::map<std::string, double> megabytesPerSecond;
  std::map<std::string, double> cpuTime;  // wall time per iteration, in the benchmark's unit
  std::map<std::string, double> threadCpu;  // the benchmark thread's CPU time per iteration
};

// The other formats' readers and the JSON writer against reading the project file
// of the same track, as ratios of the time measured in the same run.
void PrintFormatRatios(const std::map<std::string, double>& cpu) {
  bool first = true;
  const std::string fastest = meridal::CipherKernelName(meridal::FastestCipherKernel());
  for (const char* n : {"1000", "10000"}) {
    // Against the project read with the kernel a user gets.
    const auto base = cpu.find("ProjectRead/" + fastest + "/" + n);
    if (base == cpu.end() || base->second <= 0) continue;
    for (const char* other : {"TrackImport/", "JsonWrite/", "JsonRead/", "JsonReadGeneral/"}) {
      const auto it = cpu.find(other + std::string(n));
      if (it == cpu.end()) continue;
      if (first) std::printf("\nThe formats against reading the project file (time)\n");
      first = false;
      std::printf("  %-18s / %-20s %6.2f x\n", it->first.c_str(), base->first.c_str(), it->second / base->second);
    }
  }
}

void PrintSummary(const std::map<std::string, double>& mbps, const std::map<std::string, double>& threadCpu) {
  if (mbps.empty()) return;
  std::printf("\nThroughput (MB/s, 1 MB = 10^6 bytes)\n");
  for (const auto& [name, value] : mbps) std::printf("  %-30s %9.1f\n", name.c_str(), value);
  auto ratio = [&](const std::string& a, const std::string& b) {
    const auto x = mbps.find(a), y = mbps.find(b);
    if (x == mbps.end() || y == mbps.end() || y->second <= 0) return;
    std::printf("  %-28s / %-24s %6.1f %%\n", a.c_str(), b.c_str(), 100.0 * x->second / y->second);
  };
  // Against the bare cipher of the same kernel, and against the fastest kernel
  // this processor runs: the goal is to lose little beyond the cipher itself.
  const std::string fastest = meridal::CipherKernelName(meridal::FastestCipherKernel());
  std::printf("\nProject file against the bare cipher over the same bytes (fastest kernel: %s)\n", fastest.c_str());
  for (const char* n : {"1000", "10000"}) {
    for (meridal::CipherKernel kernel : meridal::kCipherKernels) {
      const std::string k = std::string("/") + meridal::CipherKernelName(kernel) + "/" + n;
      ratio("ProjectWrite" + k, "TeaEncipher" + k);
      ratio("ProjectRead" + k, "TeaDecipher" + k);
    }
    const std::string f = "/" + fastest + "/" + n;
    ratio("ProjectWriteAsBuilt/" + std::string(n), "TeaEncipher" + f);
  }
  // Reading and writing a large file run the cipher on a second thread beside the
  // records. Where the machine gives that thread a core of its own, the wall time
  // is the calling thread's; where it is shared (other programs, or the
  // scheduler's fair share of a session), the wall time above counts both.
  auto cpuRatio = [&](const std::string& a, const std::string& b) {
    const auto x = threadCpu.find(a), y = threadCpu.find(b);
    if (x == threadCpu.end() || y == threadCpu.end() || x->second <= 0) return;
    std::printf("  %-28s / %-24s %6.1f %%\n", a.c_str(), b.c_str(), 100.0 * y->second / x->second);
  };
  std::printf("\nThe same by the calling thread's CPU time (the ratio with a free core for the second thread)\n");
  for (meridal::CipherKernel kernel : meridal::kCipherKernels) {
    const std::string k = std::string("/") + meridal::CipherKernelName(kernel) + "/10000";
    cpuRatio("ProjectWrite" + k, "TeaEncipher" + k);
    cpuRatio("ProjectRead" + k, "TeaDecipher" + k);
  }
}

}  // namespace

int main(int argc, char** argv) {
#if defined(__GLIBC__)
  // A steady heap: without this glibc hands the freed pages of one iteration back
  // to the system and every iteration pays for faulting them in again, and large
  // buffers come from mmap every time. --cold-heap keeps the library's defaults.
  bool coldHeap = false;
  for (int i = 1; i < argc; ++i)
    if (std::string(argv[i]) == "--cold-heap") {
      coldHeap = true;
      for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
      --argc;
      break;
    }
  if (!coldHeap) {
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
  }
#endif
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  ThroughputReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  PrintSummary(reporter.megabytesPerSecond, reporter.threadCpu);
  PrintFormatRatios(reporter.cpuTime);
  return 0;
}
