// The history on the 10,000-section synthetic track, as the editor's document keeps
// it with a listener to tell: how much memory each kind of step keeps, and how long
// its undo and redo take (one iteration is an undo and a redo; the time per
// iteration covers both, with their announcements).
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>

#include "document/document.h"
#include "model/synthetic_track.h"
#include "model/track.h"
#include "transform/document_transforms.h"

namespace meridal::bench {
namespace {

using Change = std::function<TDocument::Outcome(TDocument&, const TTrack&)>;

struct Kind {
  const char* name;
  Change change;
  int traces = 16;  // a trace can only be added to fewer than 16
};

const Kind kKinds[] = {
    {"SetLength", [](TDocument& e, const TTrack& t) { return e.SetValue(TObjectPath::Section(5000), "Length", 400000); }},
    {"SetOrientation",
     [](TDocument& e, const TTrack& t) { return e.SetValue(TObjectPath::Section(5000), "Orientation", 1000000); }},
    {"SetWallFrom",
     [](TDocument& e, const TTrack& t) { return e.SetValue(TObjectPath::Wall(5000, 3), "From", -60000); }},
    {"SetTrace", [](TDocument& e, const TTrack& t) { return e.SetValue(TObjectPath::Track(), "Trace 3", t.Traces[3] + 100); }},
    {"RemoveSection", [](TDocument& e, const TTrack& t) { return e.Remove(TObjectPath::Section(5000)); }},
    {"AddSection", [](TDocument& e, const TTrack& t) { return e.Add(TObjectPath::Section(5000), false); }},
    {"SplitSection", [](TDocument& e, const TTrack& t) { return e.Split(TObjectPath::Section(5000), 100000); }},
    {"ChangeType", [](TDocument& e, const TTrack& t) { return e.ChangeType(TObjectPath::Section(5000)); }},
    {"RemoveWall", [](TDocument& e, const TTrack& t) { return e.Remove(TObjectPath::Wall(5000, 4)); }},
    {"AddWall", [](TDocument& e, const TTrack& t) { return e.Add(TObjectPath::Wall(5000, 4), false); }},
    {"CopyWallsFrom", [](TDocument& e, const TTrack&) { return e.CopyWallsFrom(4999, 5000); }},
    {"CopyWallsToAll", [](TDocument& e, const TTrack&) { return e.CopyWallsToAll(5000); }},
    {"CopyAltitude", [](TDocument& e, const TTrack& t) { return e.CopyAltitude(TObjectPath::Altitude(5000, 2)); }},
    {"RemoveTrace", [](TDocument& e, const TTrack&) { return e.RemoveTrace(7); }},
    {"AddTrace", [](TDocument& e, const TTrack&) { return e.AddTrace(7, true); }, 15},
    {"Reverse", [](TDocument& e, const TTrack&) { std::string why; return transform::ReverseTrack(e, why); }},
    {"Mirror", [](TDocument& e, const TTrack&) { std::string why; return transform::MirrorTrack(e, why); }},
};

void BM_UndoRedo(benchmark::State& state) {
  const Kind& kind = kKinds[state.range(0)];
  state.SetLabel(kind.name);
  TDocument document(SyntheticTrack(10000, kind.traces));
  size_t told = 0;
  document.Subscribe([&told](const TDocumentChange&) { ++told; });
  if (kind.change(document, document.Track()) != TDocument::Outcome::Changed) {
    state.SkipWithError("the change was refused");
    return;
  }
  state.counters["step_bytes"] = static_cast<double>(document.History().Step(0).Bytes());
  for (auto _ : state) {
    document.Undo();
    document.Redo();
  }
  benchmark::DoNotOptimize(told);
}
BENCHMARK(BM_UndoRedo)->DenseRange(0, static_cast<int>(std::size(kKinds)) - 1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace meridal::bench
