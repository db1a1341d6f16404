// Hostile files are refused in a time that does not grow with them: a JSON text
// whose one key is hundreds of megabytes long (16 MB and 512 MB take alike), and
// a gigabyte of zeros opened from the disk (against JsonRead and ProjectRead of
// sound files, which read every byte).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/json/track_json_reader.h"
#include "files/json/track_json_writer.h"
#include "files/track_formats.h"
#include "model/track.h"
#include "platform/messages.h"

namespace meridal::bench {
namespace {

class Quiet : public IMessages {
 public:
  MessageAnswer Show(const std::string&, const std::string& text, MessageIcon, MessageButtons) override {
    shown = text.size();
    return MessageAnswer::Ok;
  }
  size_t shown = 0;
};

// The default track's text with one key of `megabytes` MB before "version".
std::string TextWithLongKey(int64_t megabytes) {
  TTrack track;
  track.SetDefaults();
  std::string text = TrackJsonWriter().Write(track);
  text.replace(text.find("\"version\""), 9,
               "\"" + std::string(static_cast<size_t>(megabytes) << 20, 'k') + "\": 1, \"version\"");
  return text;
}

void JsonRefusesALongKey(benchmark::State& state) {
  const std::string text = TextWithLongKey(state.range(0));
  Quiet messages;
  for (auto _ : state) {
    TTrack track;
    benchmark::DoNotOptimize(TrackJsonReader(text, messages).Read(track));
  }
  state.counters["message_bytes"] = static_cast<double>(messages.shown);
}

// A sparse file of zeros: no disk is spent on it.
void OpenAGigabyteOfZeros(benchmark::State& state) {
  const auto path = std::filesystem::temp_directory_path() / ("meridal-zeros-" + std::to_string(getpid()) + ".mrd");
  std::ofstream(path).close();
  std::filesystem::resize_file(path, uint64_t{1} << 30);
  Quiet messages;
  for (auto _ : state) {
    TTrack track;
    benchmark::DoNotOptimize(LoadTrackFile(path.string(), std::nullopt, track, messages).status);
  }
  std::filesystem::remove(path);
}

BENCHMARK(JsonRefusesALongKey)->Arg(16)->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK(OpenAGigabyteOfZeros)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace meridal::bench
