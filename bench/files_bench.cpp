// The project file and the track file on large synthetic tracks, beside the raw
// cipher over the same number of bytes; the cipher, reading and writing once per
// cipher kernel (a kernel this processor cannot run is skipped).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "files/cipher/cipher_kernel.h"
#include "files/project/project_io.h"
#include "files/project/project_key.h"
#include "files/cipher/seal.h"
#include "files/trackfile/track_import.h"
#include "files/json/track_json_reader.h"
#include "files/json/track_json_writer.h"
#include "model/track.h"
#include "platform/messages.h"
#include "model/synthetic_track.h"

namespace meridal::bench {
namespace {

class SilentMessages : public IMessages {
 public:
  MessageAnswer Show(const std::string&, const std::string&, MessageIcon, MessageButtons) override {
    ++count;
    return MessageAnswer::Ok;
  }
  int count = 0;
};

// Lets the allocator finish tidying up after a closed document (glibc merges
// freed small blocks lazily, at the next large request), so that this work is not
// charged to the next read.
void ReleaseFreedMemory() {
  void* block = std::malloc(1 << 20);
  benchmark::DoNotOptimize(block);
  std::free(block);
}

// One track and its files per size, built once.
struct Fixture {
  std::unique_ptr<TTrack> built;  // as SyntheticTrack made it, objects scattered by the edits
  std::unique_ptr<TTrack> track;  // the same track opened from its file
  std::vector<uint8_t> project;
  std::vector<uint8_t> exported;
  std::string json;
};

Fixture& FixtureFor(int sections) {
  static std::map<int, Fixture> fixtures;
  auto it = fixtures.find(sections);
  if (it != fixtures.end()) return it->second;
  Fixture f;
  SilentMessages messages;
  TFiller filler(1);
  // The document as it is after opening it: its objects laid out in file order.
  f.built = SyntheticTrack(sections);
  f.track = std::make_unique<TTrack>();
  ReadProjectImage(WriteProjectImage(*f.built, filler, messages).value(), *f.track, messages);
  f.project = WriteProjectImage(*f.track, filler, messages).value();
  f.exported = ExportTrackImage(*f.track, messages).value();
  f.json = TrackJsonWriter().Write(*f.track);
  return fixtures.emplace(sections, std::move(f)).first->second;
}

// Runs a benchmark with `kernel` as the active cipher, or skips it where this
// processor cannot run that kernel.
class KernelScope {
 public:
  KernelScope(benchmark::State& state, CipherKernel kernel) : before_(ActiveCipherKernel()) {
    ok_ = UseCipherKernel(kernel);
    if (!ok_) state.SkipWithError((std::string("this processor cannot run ") + CipherKernelName(kernel)).c_str());
  }
  ~KernelScope() { UseCipherKernel(before_); }
  bool ok() const { return ok_; }

 private:
  CipherKernel before_;
  bool ok_ = false;
};

void ProjectWrite(benchmark::State& state, CipherKernel kernel) {
  KernelScope scope(state, kernel);
  if (!scope.ok()) return;
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  SilentMessages messages;
  TFiller filler(2);
  for (auto _ : state) {
    auto image = WriteProjectImage(*f.track, filler, messages);
    benchmark::DoNotOptimize(image->data());
  }
  if (messages.count) state.SkipWithError("writing failed");
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(f.project.size()));
}

// The same on the track as built in memory: its altitudes and walls lie where the
// edits left them, so writing waits on the memory far more often.
void ProjectWriteAsBuilt(benchmark::State& state) {
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  SilentMessages messages;
  TFiller filler(2);
  for (auto _ : state) {
    auto image = WriteProjectImage(*f.built, filler, messages);
    benchmark::DoNotOptimize(image->data());
  }
  if (messages.count) state.SkipWithError("writing failed");
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(f.project.size()));
}

// Reads an image into a new document per iteration. The file's bytes as they come
// from the disk (`prepare`) and an empty document: neither loading the bytes nor
// making or closing the document is part of reading.
template <typename Prepare, typename Read>
void TimeReading(benchmark::State& state, size_t bytes, Prepare prepare, Read read) {
  SilentMessages messages;
  for (auto _ : state) {
    state.PauseTiming();
    prepare();
    auto track = std::make_unique<TTrack>();
    state.ResumeTiming();
    read(*track, messages);
    benchmark::DoNotOptimize(track->Length);
    state.PauseTiming();
    track.reset();
    ReleaseFreedMemory();
    state.ResumeTiming();
  }
  if (messages.count) state.SkipWithError("reading failed");
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}

void ProjectRead(benchmark::State& state, CipherKernel kernel) {
  KernelScope scope(state, kernel);
  if (!scope.ok()) return;
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  std::vector<uint8_t> bytes;
  TimeReading(
      state, f.project.size(), [&] { bytes = f.project; },
      [&](TTrack& track, IMessages& messages) { ReadProjectImage(std::move(bytes), track, messages); });
}

void Export(benchmark::State& state) {
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  SilentMessages messages;
  for (auto _ : state) {
    auto image = ExportTrackImage(*f.track, messages);
    benchmark::DoNotOptimize(image->data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(f.exported.size()));
}

void TrackImport(benchmark::State& state) {
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  TimeReading(state, f.exported.size(), [] {},
              [&](TTrack& track, IMessages& messages) { ReadTrackFileImage(f.exported, track, messages); });
}

void JsonRead(benchmark::State& state) {
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  TimeReading(state, f.json.size(), [] {},
              [&](TTrack& track, IMessages& messages) { TrackJsonReader(f.json, messages).Read(track); });
}

// The same text through the general parser alone, as a text laid out otherwise
// would be read.
void JsonReadGeneral(benchmark::State& state) {
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  TimeReading(state, f.json.size(), [] {},
              [&](TTrack& track, IMessages& messages) { TrackJsonReader(f.json, messages, false).Read(track); });
}

void JsonWrite(benchmark::State& state) {
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::string text = TrackJsonWriter().Write(*f.track);
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(f.json.size()));
}

// The cipher alone over as many bytes as the project file has.
void TeaEncipher(benchmark::State& state, CipherKernel kernel) {
  KernelScope scope(state, kernel);
  if (!scope.ok()) return;
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  std::vector<uint8_t> buffer(f.project);
  const size_t groups = (buffer.size() - 8) / kGroupBytes;
  for (auto _ : state) {
    SealGroupsWith(kernel, buffer.data() + 8, buffer.data() + 8, groups, kProjectKey);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(f.project.size()));
}

void TeaDecipher(benchmark::State& state, CipherKernel kernel) {
  KernelScope scope(state, kernel);
  if (!scope.ok()) return;
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  std::vector<uint8_t> buffer(f.project);
  const size_t groups = (buffer.size() - 8) / kGroupBytes;
  for (auto _ : state) {
    UnsealGroupsWith(kernel, buffer.data() + 8, buffer.data() + 8, groups, kProjectKey);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(f.project.size()));
}

// One row per kernel: Name/<kernel>/<sections>.
const bool kRegistered = [] {
  using Run = void (*)(benchmark::State&, CipherKernel);
  const std::pair<const char*, Run> perKernel[] = {
      {"TeaEncipher", TeaEncipher}, {"TeaDecipher", TeaDecipher}, {"ProjectWrite", ProjectWrite},
      {"ProjectRead", ProjectRead}};
  for (const auto& [name, run] : perKernel)
    for (CipherKernel kernel : kCipherKernels) {
      const std::string full = std::string(name) + "/" + CipherKernelName(kernel);
      // Wall time: reading and writing a large file spread the cipher over two threads.
      benchmark::RegisterBenchmark(full.c_str(), run, kernel)
          ->Arg(1000)
          ->Arg(10000)
          ->UseRealTime()
          ->Unit(benchmark::kMillisecond);
    }
  return true;
}();

BENCHMARK(ProjectWriteAsBuilt)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(Export)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(TrackImport)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(JsonWrite)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(JsonRead)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(JsonReadGeneral)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace meridal::bench
