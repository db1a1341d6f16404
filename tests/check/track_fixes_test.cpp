// The check's fixes on purpose-built tracks: each leaves what it promises, is one
// step that Undo takes back exactly and Redo does again exactly, and reports
// every value it set or could not set.
#include <gtest/gtest.h>

#include "check/track_fixes.h"
#include "edit/edit_support.h"
#include "support/track_builders.h"

namespace meridal {
namespace {

using testing::Snapshot;
using testing::Stadium;

std::vector<std::string> Texts(const TFixReport& report) {
  std::vector<std::string> texts;
  for (const TFixEntry& entry : report.entries) texts.push_back(FixText(entry));
  return texts;
}

int Count(const TTrack& track, bool (*which)(const TTrackProblem&)) {
  int count = 0;
  for (const TTrackProblem& p : CheckTrack(track)) count += which(p);
  return count;
}

// Runs the fix as one step; Undo gives back `before`, Redo what the fix made.
TFixReport FixAndUndo(TTrack& track, FixCommand command, int section = -1) {
  history::THistory history;
  history::TEditor editor(track, history);
  const std::string before = Snapshot(track, true);
  const TFixReport report = ApplyFix(editor, command, section);
  EXPECT_EQ(report.outcome, history::Outcome::Changed);
  EXPECT_EQ(history.Count(), 1u);
  const std::string after = Snapshot(track, true);
  TTrackChange change;
  history.Undo(track, change);
  EXPECT_EQ(Snapshot(track, true), before);
  history.Redo(track, change);
  EXPECT_EQ(Snapshot(track, true), after);
  return report;
}

TEST(TrackFixes, JoinAllPositionsLeavesOnlyTheLoopsClosure) {
  auto track = Stadium();
  ASSERT_TRUE(track->Section(1)->SetValue("Lateral gap", 3000));
  ASSERT_TRUE(track->Section(2)->SetValue("Orientation mismatch", 11930465));  // 1 degree
  // A longer straight: section 3 starts short of its end.
  ASSERT_TRUE(track->Section(2)->SetValue("Length", kFiftyMeters + 12345));
  const TFixReport report = FixAndUndo(*track, FixCommand::JoinAllPositions);
  EXPECT_EQ(report.Refusals(), 0);
  EXPECT_EQ(Texts(report), (std::vector<std::string>{"Section 1: lateral gap 152.4 mm, joined",
                                                     "Section 2: orientation mismatch 1 °, joined",
                                                     "Section 3: longitudinal gap -627.126 mm, joined"}));
  int closure = 0;
  for (const TTrackProblem& p : CheckTrack(*track)) {
    EXPECT_EQ(p.section, 0) << ProblemText(p);
    EXPECT_TRUE(p.IsPosition()) << ProblemText(p);
    ++closure;
  }
  EXPECT_GT(closure, 0);  // the chain now ends where section 0 does not start
}

TEST(TrackFixes, JoinToPreviousMovesOnlyItsSectionAndALoneSectionIsRefused) {
  auto track = Stadium();
  ASSERT_TRUE(track->Section(2)->SetValue("Longitudinal gap", 5000));
  FixAndUndo(*track, FixCommand::JoinToPrevious, 2);
  // Section 3 still starts where section 2 used to end.
  for (const TTrackProblem& p : CheckTrack(*track)) EXPECT_EQ(p.section, 3) << ProblemText(p);

  auto lone = testing::DefaultTrack();
  history::THistory history;
  history::TEditor editor(*lone, history);
  const std::string before = Snapshot(*lone);
  const TFixReport report = ApplyFix(editor, FixCommand::JoinToPrevious, 0);
  EXPECT_EQ(report.outcome, history::Outcome::Unchanged);
  EXPECT_EQ(Texts(report), std::vector<std::string>{"Section 0: longitudinal gap -50.000002 m, refused"});
  EXPECT_EQ(Snapshot(*lone), before);
  EXPECT_EQ(history.Count(), 0u);
  EXPECT_EQ(ApplyFix(editor, FixCommand::JoinToPrevious, 1).outcome, history::Outcome::Refused);
}

TEST(TrackFixes, MatchAllHeightsLeavesNoHeightStep) {
  auto track = Stadium();
  // Rises of +1000, -1000, +500 and -500 units close the loop; the starts are off.
  const int32_t rises[] = {1000, -1000, 500, -500}, starts[] = {0, 7, -3, 99};
  for (int s = 0; s < 4; ++s)
    for (auto& altitude : track->Section(s)->Altitudes) {
      altitude->FirstOrder = rises[s];
      altitude->HeightAtStart = starts[s];
    }
  ASSERT_EQ(Count(*track, [](const TTrackProblem& p) { return p.kind == ProblemKind::HeightStep; }), 8);
  const TFixReport report = FixAndUndo(*track, FixCommand::MatchAllHeights);
  EXPECT_EQ(report.entries.size(), 6u);  // sections 1 to 3, two traces each
  EXPECT_EQ(FixText(report.entries[0]), "Section 1, trace 0: height step -50.4444 mm, matched");
  EXPECT_EQ(Count(*track, [](const TTrackProblem& p) { return p.kind == ProblemKind::HeightStep; }), 0);
  EXPECT_EQ(track->Section(3)->Altitude(1)->HeightAtStart, 500);
}

TEST(TrackFixes, MatchWallsWaitsForNeighboursAndReportsAWallTheirOrderRefuses) {
  auto track = Stadium();
  // Both walls end further left: wall 0 can only follow once wall 1 has moved.
  ASSERT_TRUE(track->Section(1)->Wall(1)->SetValue("To", 200000));
  ASSERT_TRUE(track->Section(1)->Wall(0)->SetValue("To", 120000));
  TFixReport report = FixAndUndo(*track, FixCommand::MatchWalls, 2);
  EXPECT_EQ(report.Refusals(), 0);
  EXPECT_EQ(track->Section(2)->Wall(0)->From, 120000);
  EXPECT_EQ(track->Section(2)->Wall(1)->From, 200000);

  // Walls out of order at the end of section 2, as a file may bring them: wall 1
  // cannot go right of wall 0 and is skipped; wall 0 moves all the same.
  track->Section(2)->Wall(0)->To = 50000;
  track->Section(2)->Wall(1)->To = 20000;
  report = FixAndUndo(*track, FixCommand::MatchAllWalls);
  EXPECT_EQ(Texts(report), (std::vector<std::string>{"Section 3, wall 0: wall jump -7.53999 m, matched",
                                                     "Section 3, wall 1: wall jump 3.98399 m, refused"}));
  EXPECT_EQ(track->Section(3)->Wall(0)->From, 50000);
  EXPECT_EQ(track->Section(3)->Wall(1)->From, 98425);
}

}  // namespace
}  // namespace meridal
