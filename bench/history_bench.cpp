// The history on the 10,000-section synthetic track with its tree: how much memory
// each kind of step keeps, and how long its undo and redo take (one iteration is an
// undo and a redo; the time per iteration covers both).
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>

#include "history/editor.h"
#include "model/track.h"
#include "support/memory_tree.h"
#include "model/synthetic_track.h"

namespace meridal::bench {
namespace {

using Change = std::function<history::Outcome(history::TEditor&, TTrack&)>;

struct Kind {
  const char* name;
  Change change;
  int traces = 16;  // a trace can only be added to fewer than 16
};

const Kind kKinds[] = {
    {"SetLength", [](history::TEditor& e, TTrack& t) { return e.SetValue(*t.Section(5000), "Length", 400000); }},
    {"SetOrientation",
     [](history::TEditor& e, TTrack& t) { return e.SetValue(*t.Section(5000), "Orientation", 1000000); }},
    {"SetWallFrom",
     [](history::TEditor& e, TTrack& t) { return e.SetValue(*t.Section(5000)->Wall(3), "From", -60000); }},
    {"SetTrace", [](history::TEditor& e, TTrack& t) { return e.SetValue(t, "Trace 3", t.Traces[3] + 100); }},
    {"RemoveSection", [](history::TEditor& e, TTrack& t) { return e.Remove(*t.Section(5000)); }},
    {"AddSection", [](history::TEditor& e, TTrack& t) { return e.Add(*t.Section(5000), false); }},
    {"SplitSection", [](history::TEditor& e, TTrack& t) { return e.Split(*t.Section(5000), 100000); }},
    {"ChangeType", [](history::TEditor& e, TTrack& t) { return e.ChangeType(*t.Section(5000)); }},
    {"RemoveWall", [](history::TEditor& e, TTrack& t) { return e.Remove(*t.Section(5000)->Wall(4)); }},
    {"AddWall", [](history::TEditor& e, TTrack& t) { return e.Add(*t.Section(5000)->Wall(4), false); }},
    {"CopyWallsFrom", [](history::TEditor& e, TTrack&) { return e.CopyWallsFrom(4999, 5000); }},
    {"CopyWallsToAll", [](history::TEditor& e, TTrack&) { return e.CopyWallsToAll(5000); }},
    {"CopyAltitude", [](history::TEditor& e, TTrack& t) { return e.CopyAltitude(*t.Section(5000)->Altitude(2)); }},
    {"RemoveTrace", [](history::TEditor& e, TTrack&) { return e.RemoveTrace(7); }},
    {"AddTrace", [](history::TEditor& e, TTrack&) { return e.AddTrace(7, true); }, 15},
};

void BM_UndoRedo(benchmark::State& state) {
  const Kind& kind = kKinds[state.range(0)];
  state.SetLabel(kind.name);
  auto track = SyntheticTrack(10000, kind.traces);
  testing::MemoryTree tree;
  track->AddToTree(tree, nullptr);
  history::THistory history;
  history::TEditor editor(*track, history);
  if (kind.change(editor, *track) != history::Outcome::Changed) {
    state.SkipWithError("the change was refused");
    return;
  }
  state.counters["step_bytes"] = static_cast<double>(history.Step(0).Bytes());
  for (auto _ : state) {
    history.Undo(*track);
    history.Redo(*track);
  }
}
BENCHMARK(BM_UndoRedo)->DenseRange(0, static_cast<int>(std::size(kKinds)) - 1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace meridal::bench
