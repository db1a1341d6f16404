// Keep Joined: every change that moves a section's end places the later sections
// where the ones before them end, in the same step; only the loop's closure at
// section 0 may open, and one undo gives the track back byte for byte.
#include <gtest/gtest.h>

#include <functional>

#include "check/track_check.h"
#include "clipboard/section_clipboard.h"
#include "document/document.h"
#include "files/project/project_io.h"
#include "model/track.h"
#include "support/recording_messages.h"
#include "support/track_builders.h"

namespace meridal {
namespace {

std::vector<uint8_t> Export(const TTrack& track) {
  testing::RecordingMessages messages;
  return *ExportTrackImage(track, messages);
}

// The joints in plan that fail, but for the loop's own at section 0.
std::vector<int> OpenJoints(const TTrack& track) {
  std::vector<int> open;
  for (const TTrackProblem& p : CheckTrack(track))
    if (p.IsPosition() && p.section != 0 && (open.empty() || open.back() != p.section)) open.push_back(p.section);
  return open;
}

struct Case {
  const char* what;
  std::function<history::Outcome(TDocument&)> change;
  // A heading typed turns the section against the one before it: that joint
  // alone stays open. A split keeps the outline: nothing opens even without.
  std::vector<int> ownJoint = {};
  bool opensWhenOff = true;
};

const std::vector<Case>& Changes() {
  static const std::vector<Case> cases = {
      {"typed Length", [](TDocument& d) { return d.SetValue(TObjectPath::Section(1), "Length", 2952756); }},
      {"typed Radius", [](TDocument& d) { return d.SetValue(TObjectPath::Section(1), "Radius", 1500000); }},
      {"typed Curvature", [](TDocument& d) { return d.SetValue(TObjectPath::Section(1), "Curvature", 268435456); }},
      {"typed Orientation", [](TDocument& d) { return d.SetValue(TObjectPath::Section(2), "Orientation", 12345678); },
       {2}},
      {"Add After", [](TDocument& d) { return d.Add(TObjectPath::Section(1), false); }},
      {"Add Before", [](TDocument& d) { return d.Add(TObjectPath::Section(1), true); }},
      {"Remove", [](TDocument& d) { return d.Remove(TObjectPath::Section(1)); }},
      {"Split", [](TDocument& d) { return d.Split(TObjectPath::Section(0), 300000); }, {}, false},
      {"Change Type", [](TDocument& d) { return d.ChangeType(TObjectPath::Section(0)); }},
      {"Paste",
       [](TDocument& d) {
         d.Select(TObjectPath::Section(1));
         const std::string text = clipboard::CopySelectedRun(d);
         std::string reason;
         return clipboard::PasteSections(d, text, 0, reason);
       }},
      {"Cut",
       [](TDocument& d) {
         d.SelectRun(1, 2);
         return d.RemoveRun("Cut");
       }},
      {"whole-run set",
       [](TDocument& d) {
         d.SelectRun(0, 1);
         return d.SetValueOnRun("Length", 400000);
       }},
  };
  return cases;
}

TEST(KeepJoined, EveryChangeLeavesOnlyTheClosureOpenAndOneUndoTakesItBack) {
  for (const Case& c : Changes()) {
    TDocument document(testing::Stadium());
    ASSERT_TRUE(OpenJoints(document.Track()).empty());
    const auto before = Export(document.Track());
    document.SetKeepJoined(true);
    ASSERT_EQ(c.change(document), history::Outcome::Changed) << c.what;
    EXPECT_EQ(OpenJoints(document.Track()), c.ownJoint) << c.what;
    const auto after = Export(document.Track());
    const size_t steps = document.History().Index();
    ASSERT_TRUE(document.Undo()) << c.what;
    EXPECT_EQ(Export(document.Track()), before) << c.what;
    ASSERT_TRUE(document.Redo()) << c.what;
    EXPECT_EQ(Export(document.Track()), after) << c.what;
    EXPECT_EQ(document.History().Index(), steps) << c.what;

    // Off, the change is what it always was: a gap somewhere after it.
    TDocument plain(testing::Stadium());
    ASSERT_EQ(c.change(plain), history::Outcome::Changed) << c.what;
    EXPECT_EQ(OpenJoints(plain.Track()).size() > c.ownJoint.size(), c.opensWhenOff) << c.what;
  }
}

TEST(KeepJoined, PlacementsTracesAndWallsMoveNoSection) {
  TDocument document(testing::Stadium());
  ASSERT_EQ(document.SetValue(TObjectPath::Section(2), "Orientation", 12345678), history::Outcome::Changed);
  const std::vector<int> open = OpenJoints(document.Track());
  ASSERT_EQ(open, (std::vector<int>{2, 3}));
  document.SetKeepJoined(true);
  // Start, a trace's position and a wall's value shape no section's end: the
  // gap made above stays.
  EXPECT_EQ(document.SetValue(TObjectPath::Section(2), "Start", 5), history::Outcome::Changed);
  EXPECT_EQ(document.SetValue(TObjectPath::Track(), "Trace 1", 100000), history::Outcome::Changed);
  EXPECT_EQ(document.SetValue(TObjectPath::Wall(1, 0), "Height", 5000), history::Outcome::Changed);
  EXPECT_EQ(OpenJoints(document.Track()), open);
  // A section's own gap typed is a shape: what follows it follows.
  EXPECT_EQ(document.SetValue(TObjectPath::Section(2), "Longitudinal gap", 9000), history::Outcome::Changed);
  EXPECT_EQ(OpenJoints(document.Track()), std::vector<int>{2});
  EXPECT_EQ(document.SetValue(TObjectPath::Section(1), "Length", 900000), history::Outcome::Changed);
  EXPECT_EQ(OpenJoints(document.Track()), std::vector<int>{});
}

}  // namespace
}  // namespace meridal
