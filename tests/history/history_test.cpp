// The history: random runs of every kind of change on random tracks, undone and
// redone, must give back every state exactly (all values bit for bit, the export
// bytes, every object's rows, the tree); and the history's own bookkeeping.
#include <gtest/gtest.h>

#include <random>

#include "present/property_rows.h"
#include "check/check_update.h"
#include "check/track_fixes.h"
#include "edit/edit_support.h"
#include "files/project/project_io.h"
#include "history/editor.h"
#include "model/object_path.h"
#include "support/recording_messages.h"

namespace meridal::history {
namespace {

using testing::WatchedTree;

// Everything a user or a file can see of the track: its values (doubles bit for
// bit, without the highlight), the export bytes and the rows of every object.
std::string State(TTrack& track) {
  std::string state = testing::Snapshot(track, false);
  testing::RecordingMessages messages;
  const auto image = ExportTrackImage(track, messages);
  state.append(image->begin(), image->end());
  const auto rows = [&](TBase& object) {
    RowList list;
    FillProperties(object, list);
    for (const PropertyRow& row : list) {
      state += row.Caption;
      for (const std::string& item : row.SubItems) state += "|" + item;
      state += "\n";
    }
  };
  rows(track);
  for (auto& section : track.Sections) {
    rows(*section);
    for (auto& altitude : section->Altitudes) rows(*altitude);
    for (auto& wall : section->Walls) rows(*wall);
  }
  return state;
}

// The editor's operations, each run through the document so that its tree
// follows.
struct DocumentEditor {
  TDocument& document;
  template <typename Operation>
  Outcome Run(Operation operation) {
    return document.Change([&](TEditor& e) { return operation(e); });
  }
  Outcome SetValue(TBase& o, const std::string& name, int32_t v) { return Run([&](TEditor& e) { return e.SetValue(o, name, v); }); }
  Outcome Remove(TBase& o) { return Run([&](TEditor& e) { return e.Remove(o); }); }
  Outcome Add(TBase& o, bool before) { return Run([&](TEditor& e) { return e.Add(o, before); }); }
  Outcome Split(TBase& o, int32_t first) { return Run([&](TEditor& e) { return e.Split(o, first); }); }
  Outcome ChangeType(TBase& o) { return Run([&](TEditor& e) { return e.ChangeType(o); }); }
  Outcome CopyWallsFrom(int from, int to) { return Run([&](TEditor& e) { return e.CopyWallsFrom(from, to); }); }
  Outcome CopyWallsToAll(int from) { return Run([&](TEditor& e) { return e.CopyWallsToAll(from); }); }
  Outcome CopyAltitude(TBase& o) { return Run([&](TEditor& e) { return e.CopyAltitude(o); }); }
  Outcome RemoveTrace(int n) { return Run([&](TEditor& e) { return e.RemoveTrace(n); }); }
  Outcome AddTrace(int n, bool after) { return Run([&](TEditor& e) { return e.AddTrace(n, after); }); }
  Outcome ChangeValues(const std::string& text, const TObjectPath& selection, const std::function<void(TTrack&)>& change) {
    return Run([&](TEditor& e) { return e.ChangeValues(text, selection, change); });
  }
};

struct Session : testing::DocumentFixture {
  explicit Session(unsigned seed) : random(seed) { Show(); }

  // The step taken back or done again, or nullptr.
  const TStep* Undo() {
    const size_t at = history.Index();
    return document->Undo() ? &history.Step(at - 1) : nullptr;
  }
  const TStep* Redo() {
    const size_t at = history.Index();
    return document->Redo() ? &history.Step(at) : nullptr;
  }

  int Pick(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(random); }
  int32_t Between(int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(random); }
  TSection& AnySection() { return *track.Section(Pick(track.NumberOfSections())); }

  Outcome SetSomeValue() {
    TSection& s = AnySection();
    switch (Pick(4)) {
      case 0: {
        const int n = Pick(track.NumberOfTraces());
        return editor.SetValue(track, "Trace " + std::to_string(n), track.Traces[static_cast<size_t>(n)] + Between(-30000, 30000));
      }
      case 1: {
        TWall& w = *s.Wall(Pick(s.NumberOfWalls()));
        const char* names[] = {"From", "To", "Surface", "Unk1", "Height", "Unk2", "Unk3", "Unk4"};
        return editor.SetValue(w, names[Pick(8)], w.From + Between(-50000, 50000));
      }
      case 2: {
        TAltitude& a = *s.Altitude(Pick(s.NumberOfAltitudes()));
        const char* names[] = {"3rd order coeff.", "2nd order coeff.", "1st order coeff.", "Height@Start", "A3", "B2"};
        return editor.SetValue(a, names[Pick(6)], Between(-40000, 40000));
      }
      default: {
        const char* names[] = {"Length", "Orientation", "Orientation mismatch", "Longitudinal gap", "Lateral gap",
                               "Curvature", "Radius"};
        const std::string name = names[Pick(7)];
        int32_t value = Between(-300000, 300000);
        if (name == "Length") value = Between(1, 1500000);
        if (name == "Orientation") value = Between(INT32_MIN, INT32_MAX);
        if (name == "Curvature") value = Between(-(1 << 29), 1 << 29);
        if (name == "Radius") value = Between(-3000000, 3000000);
        return editor.SetValue(s, name, value);
      }
    }
  }

  Outcome AnyChange() {
    TSection& s = AnySection();
    switch (Pick(20)) {
      case 0: return editor.Remove(s);
      case 1: return editor.Add(s, Pick(2) == 0);
      case 2: return editor.Split(s, Between(-5, s.Length + 5));
      case 3: return editor.ChangeType(s);
      case 4: return editor.Remove(*s.Wall(Pick(s.NumberOfWalls())));
      case 5: return editor.Add(*s.Wall(Pick(s.NumberOfWalls())), Pick(2) == 0);
      case 6: return editor.CopyWallsFrom(Pick(track.NumberOfSections()), s.Number);
      case 7: return editor.CopyWallsToAll(s.Number);
      case 8: return editor.CopyAltitude(*s.Altitude(Pick(s.NumberOfAltitudes())));
      case 9: return editor.RemoveTrace(Pick(track.NumberOfTraces()));
      case 10: return editor.AddTrace(Pick(track.NumberOfTraces()), Pick(2) == 0);
      case 11: return AnyFix(s);
      default: return SetSomeValue();
    }
  }

  // One of the check's fixes: many sections' values in one step.
  Outcome AnyFix(const TSection& s) {
    const FixCommand commands[] = {FixCommand::JoinToPrevious, FixCommand::JoinAllPositions,
                                   FixCommand::MatchHeights,   FixCommand::MatchAllHeights,
                                   FixCommand::MatchWalls,     FixCommand::MatchAllWalls};
    const FixCommand command = commands[Pick(6)];
    return editor.Run([&](TEditor& e) { return ApplyFix(e, command, s.Number).outcome; });
  }

  std::mt19937 random;
  THistory& history = document->History();
  DocumentEditor editor{*document};
};

TEST(History, RandomRunsUndoAndRedoToEveryStateExactly) {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE(seed);
    Session run(seed);
    // A random track to start from, grown by the same changes.
    for (int i = 0; i < 40; ++i) run.AnyChange();
    run.history.Clear();

    std::vector<std::string> states{State(run.track)};
    std::vector<std::vector<std::string>> trees{run.tree.Lines()};
    for (int i = 0; i < 40; ++i) {
      const std::string before = states.back();
      const Outcome outcome = run.AnyChange();
      if (outcome == Outcome::Changed) {
        states.push_back(State(run.track));
        trees.push_back(run.tree.Lines());
      } else {
        ASSERT_EQ(State(run.track), before) << "a refused or empty change changed the track";
      }
      ASSERT_EQ(run.history.Count(), states.size() - 1);
    }
    // Every step back, and forward again, gives each state, and a tree that shows
    // it node for node (the objects behind the nodes may be new after an undo).
    for (size_t i = states.size() - 1; i > 0; --i) {
      ASSERT_NE(run.Undo(), nullptr);
      ASSERT_EQ(State(run.track), states[i - 1]) << "undo " << i << ": " << run.history.Step(i - 1).Text();
      testing::ExpectInStep(run.track, run.tree);
      ASSERT_EQ(run.tree.Lines(), trees[i - 1]);
    }
    EXPECT_FALSE(run.history.CanUndo());
    for (size_t i = 1; i < states.size(); ++i) {
      ASSERT_NE(run.Redo(), nullptr);
      ASSERT_EQ(State(run.track), states[i]) << "redo " << i << ": " << run.history.Step(i - 1).Text();
      testing::ExpectInStep(run.track, run.tree);
      ASSERT_EQ(run.tree.Lines(), trees[i]);
    }
  }
}

TEST(History, StepsNameTheirChangeAndSelectWhatTheyChanged) {
  Session run(7);
  DocumentEditor& e = run.editor;
  e.Add(*run.track.Section(0), false);
  e.Add(*run.track.Section(1), false);
  e.Add(*run.track.Section(2), false);
  ASSERT_EQ(e.SetValue(*run.track.Section(3), "Length", 500000), Outcome::Changed);
  ASSERT_EQ(e.Split(*run.track.Section(2), 1000), Outcome::Changed);
  ASSERT_EQ(e.AddTrace(1, true), Outcome::Changed);
  ASSERT_EQ(e.Remove(*run.track.Section(3)), Outcome::Changed);
  ASSERT_EQ(e.SetValue(*run.track.Section(1)->Wall(1), "From", 100000), Outcome::Changed);
  const std::vector<std::string> texts = {"Add Section after Section 0", "Add Section after Section 1",
                                          "Add Section after Section 2", "Set Length of Section 3",
                                          "Split Section 2", "Add Trace after Trace 1", "Remove Section 3",
                                          "Set From of Wall 1 in Section 1"};
  ASSERT_EQ(run.history.Count(), texts.size());
  for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(run.history.Step(i).Text(), texts[i]);
  EXPECT_EQ(run.history.UndoText(), "Set From of Wall 1 in Section 1");

  run.Undo();
  EXPECT_EQ(testing::SelectedObject(run.tree), run.track.Section(1)->Wall(1));
  run.Undo();  // the removed section is back, and selected
  EXPECT_EQ(testing::SelectedObject(run.tree), run.track.Section(3));
  EXPECT_EQ(run.history.RedoText(), "Remove Section 3");
}

TEST(History, UndoPutsBackStartsAndDerivativeWordsSetByName) {
  Session run(3);
  run.editor.Add(*run.track.Section(0), false);
  run.editor.Add(*run.track.Section(1), false);
  run.history.Clear();
  ASSERT_EQ(run.editor.SetValue(*run.track.Section(2), "Start", 12345), Outcome::Changed);
  ASSERT_EQ(run.editor.SetValue(*run.track.Section(0)->Altitude(1), "A3", 7), Outcome::Changed);
  ASSERT_EQ(run.editor.SetValue(run.track, "Length", 99), Outcome::Changed);
  const std::string set = State(run.track);
  // A length change recomputes the starts and the track's length: both set values go.
  ASSERT_EQ(run.editor.SetValue(*run.track.Section(0), "Length", 700000), Outcome::Changed);
  EXPECT_NE(run.track.Section(2)->Start, 12345);
  run.Undo();
  EXPECT_EQ(run.track.Section(2)->Start, 12345);
  EXPECT_EQ(run.track.Length, 99);
  EXPECT_EQ(State(run.track), set);
}

TEST(History, NewStepDropsRedoAndModifiedFollowsThePosition) {
  Session run(5);
  THistory& h = run.history;
  DocumentEditor& e = run.editor;
  EXPECT_TRUE(h.IsClean());
  e.SetValue(*run.track.Section(0), "Length", 500000);
  e.SetValue(*run.track.Section(0), "Length", 600000);
  EXPECT_FALSE(h.IsClean());
  h.SetClean();  // saved here
  run.Undo();
  EXPECT_FALSE(h.IsClean());
  run.Redo();
  EXPECT_TRUE(h.IsClean());
  run.Undo();
  // A new change after an undo drops the undone step, and with it the saved state.
  e.SetValue(*run.track.Section(0), "Length", 700000);
  EXPECT_FALSE(h.CanRedo());
  EXPECT_EQ(h.Count(), 2u);
  EXPECT_EQ(h.CleanIndex(), -1);
  // The same value again, and a refused one, add nothing.
  EXPECT_EQ(e.SetValue(*run.track.Section(0), "Length", 700000), Outcome::Unchanged);
  EXPECT_EQ(e.SetValue(*run.track.Section(0), "Length", 0), Outcome::Refused);
  EXPECT_EQ(e.Remove(*run.track.Section(0)), Outcome::Refused);  // the only section
  EXPECT_EQ(h.Count(), 2u);
}

TEST(History, AChangeAcrossSectionsIsOneStep) {
  Session run(13);
  for (int i = 0; i < 4; ++i) run.editor.Add(*run.track.Section(i), false);
  run.editor.SetValue(*run.track.Section(2), "Lateral gap", 5000);
  run.editor.SetValue(*run.track.Section(4)->Altitude(0), "Height@Start", 900);
  run.history.Clear();
  const std::string before = State(run.track);
  // Close every gap, as a fix would: only the sections it alters are kept.
  const auto join = [](TTrack& t) {
    for (int s = 1; s < t.NumberOfSections(); ++s) {
      t.Section(s)->SetGaps(0, 0);
      t.Section(s)->Altitude(0)->HeightAtStart = t.Section(s - 1)->Altitude(0)->HeightAtEnd();
    }
  };
  ASSERT_EQ(run.editor.ChangeValues("Join all positions", TObjectPath::Track(), join), Outcome::Changed);
  const std::string after = State(run.track);
  EXPECT_EQ(run.history.Count(), 1u);
  EXPECT_EQ(run.editor.ChangeValues("Join all positions", TObjectPath::Track(), join), Outcome::Unchanged);
  run.Undo();
  EXPECT_EQ(State(run.track), before);
  run.Redo();
  EXPECT_EQ(State(run.track), after);
}

TEST(History, KeepsTheNewestThousandStepsAndTheirCleanState) {
  Session run(9);
  for (int i = 1; i <= 1005; ++i) run.editor.SetValue(*run.track.Section(0), "Length", 100000 + i);
  EXPECT_EQ(run.history.Count(), THistory::kDefaultLimit);
  EXPECT_EQ(run.history.CleanIndex(), -1);  // the opened state is forgotten
  while (run.history.CanUndo()) run.Undo();
  EXPECT_EQ(run.track.Section(0)->Length, 100005);
}

TEST(History, AMemoryCapDropsTheOldestStepsAndKeepsTheCleanStateRight) {
  Session run(17);
  THistory& h = run.history;
  std::vector<std::string> states{State(run.track)};
  for (int i = 1; i <= 5; ++i) {
    ASSERT_EQ(run.editor.Add(*run.track.Section(i - 1), false), Outcome::Changed);
    states.push_back(State(run.track));
  }
  run.Undo();
  run.Undo();
  h.SetClean();  // saved after the third step
  run.Redo();
  run.Redo();
  const auto bytes = [&](size_t from) {
    size_t sum = 0;
    for (size_t i = from; i < h.Count(); ++i) sum += h.Step(i).Bytes();
    return sum;
  };
  // Room for the newest three steps: the oldest two go, and the saved position
  // is counted from the first step kept. The views listing the history hear of
  // it; a cap that drops nothing says nothing.
  int told = 0;
  run.document->Subscribe([&told](const TDocumentChange& change) { told += change.history ? 1 : 0; });
  run.document->SetHistoryLimits(THistory::kDefaultLimit, bytes(0));
  EXPECT_EQ(told, 0);
  run.document->SetHistoryLimits(THistory::kDefaultLimit, bytes(2));
  EXPECT_EQ(told, 1);
  EXPECT_EQ(h.Dropped(), 2u);
  EXPECT_EQ(h.Count(), 3u);
  EXPECT_EQ(h.CleanIndex(), 1);
  while (h.CanUndo()) run.Undo();
  EXPECT_EQ(State(run.track), states[2]);  // as far back as the steps kept reach
  EXPECT_TRUE(run.document->Modified());
  run.Redo();
  EXPECT_FALSE(run.document->Modified());
  // No room at all: only steps before the position go, the way forward stays.
  h.SetLimits(THistory::kDefaultLimit, 0);
  EXPECT_EQ(h.Count(), 2u);
  EXPECT_FALSE(run.document->Modified());
  while (h.CanRedo()) run.Redo();
  EXPECT_EQ(State(run.track), states[5]);
  // A new step at the cap drops the saved position: modified at every position
  // the history still reaches, until the document is saved again.
  ASSERT_EQ(run.editor.Add(*run.track.Section(0), false), Outcome::Changed);
  EXPECT_EQ(h.Count(), 1u);
  EXPECT_EQ(h.CleanIndex(), -1);
  EXPECT_TRUE(run.document->Modified());
  run.Undo();
  EXPECT_EQ(State(run.track), states[5]);
  EXPECT_TRUE(run.document->Modified());
  run.document->MarkSaved();
  EXPECT_FALSE(run.document->Modified());
}

// The check window re-checks only the joints a change touched: after every
// change, undo and redo its list is the whole check's, problem for problem.
TEST(History, TheCheckFollowsEveryChangeJointByJoint) {
  const auto same = [](const std::vector<TTrackProblem>& a, const std::vector<TTrackProblem>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
      if (ProblemText(a[i]) != ProblemText(b[i]) || a[i].section != b[i].section) return false;
    return true;
  };
  for (unsigned seed = 21; seed <= 28; ++seed) {
    SCOPED_TRACE(seed);
    Session run(seed);
    for (int i = 0; i < 30; ++i) run.AnyChange();
    std::vector<TTrackProblem> kept = CheckTrack(run.track);
    const int listener = run.document->Subscribe([&](const TDocumentChange& change) {
      if (!change.track.Empty()) UpdateCheck(run.track, change.track, kept);
    });
    for (int i = 0; i < 60; ++i) {
      const int what = run.Pick(5);
      if (what == 0) run.Undo();
      else if (what == 1) run.Redo();
      else run.AnyChange();
      ASSERT_TRUE(same(kept, CheckTrack(run.track))) << "after " << run.history.UndoText();
    }
    run.document->Unsubscribe(listener);
  }
}

TEST(History, AValueStepCostsTheSameOnAnyTrackSize) {
  // A step keeps what it changed, not a copy of the track.
  const auto bytesOfOneSet = [](int sections) {
    Session run(11);
    for (int i = 1; i < sections; ++i) run.editor.Add(*run.track.Section(i - 1), false);
    run.history.Clear();
    run.editor.SetValue(*run.track.Section(sections / 2), "Length", 123456);
    return run.history.Step(0).Bytes();
  };
  const size_t small = bytesOfOneSet(4), large = bytesOfOneSet(200);
  EXPECT_EQ(small, large);
  EXPECT_LT(large, 1024u);
}

}  // namespace
}  // namespace meridal::history
