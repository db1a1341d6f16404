// Close Loop on purpose-built tracks: it closes what a changed value opened with
// no value changing more than the opening, keeps what lies outside its range,
// refuses without a trace, and is one step that Undo takes back to the byte.
#include <gtest/gtest.h>

#include <cmath>

#include "check/track_check.h"
#include "check/track_fixes.h"
#include "edit/edit_support.h"
#include "files/track_formats.h"
#include "history/track_patch.h"
#include "model/curved_section.h"
#include "solve/centreline_fit.h"
#include "solve/close_loop.h"
#include "solve/loop_join.h"
#include "support/circuit_builders.h"
#include "support/recording_messages.h"
#include "support/track_builders.h"

namespace meridal {
namespace {

using testing::Snapshot;
using testing::Stadium;

std::vector<uint8_t> ExportBytes(TTrack& track) {
  testing::RecordingMessages messages;
  TFiller filler(1);
  return WriteTrackImage(TrackFormat::TrackFile, track, filler, messages).value();
}

int PositionProblems(const TTrack& track) {
  int count = 0;
  for (const TTrackProblem& p : CheckTrack(track)) count += p.IsPosition();
  return count;
}

TEST(CloseLoop, ClosesATrackOpenedAtOneJointWithNoChangeLargerThanTheOpening) {
  auto track = Stadium();
  ASSERT_EQ(PositionProblems(*track), 0);
  const int32_t opening = 3 * kUnitsPerMeter;
  ASSERT_TRUE(track->Section(2)->SetValue("Length", kFiftyMeters + opening));
  ASSERT_GT(PositionProblems(*track), 0);

  history::THistory history;
  history::TEditor editor(*track, history);
  const std::vector<uint8_t> before = ExportBytes(*track);
  const std::string snapshot = Snapshot(*track, false);
  const TLoopPlan plan = PlanCloseLoop(*track);
  ASSERT_TRUE(plan.closes) << plan.refusal;
  EXPECT_EQ(Snapshot(*track, false), snapshot);  // planning changes nothing
  ASSERT_FALSE(plan.values.empty());
  for (const TLoopValue& v : plan.values) {
    if (v.name == "Curvature") continue;  // an angle, not a length
    EXPECT_LE(std::abs(v.after - v.before), opening) << LoopValueText(v);
  }
  EXPECT_LE(plan.residualAfter, 1.0);

  ASSERT_EQ(ApplyCloseLoop(editor, plan), history::Outcome::Changed);
  EXPECT_EQ(history.Count(), 1u);
  EXPECT_EQ(history.UndoText(), "Close Loop");
  for (const TTrackProblem& p : CheckTrack(*track)) EXPECT_FALSE(p.IsPosition()) << ProblemText(p);
  for (const TLoopValue& v : plan.values) EXPECT_EQ(track->Section(v.section)->GetValue(v.name), v.after);
  const std::vector<uint8_t> closed = ExportBytes(*track);

  TTrackChange change;
  history.Undo(*track, change);
  EXPECT_EQ(ExportBytes(*track), before);
  history.Redo(*track, change);
  EXPECT_EQ(ExportBytes(*track), closed);
  // Closed now: nothing more to do.
  EXPECT_TRUE(PlanCloseLoop(*track).alreadyClosed);
}

TEST(CloseLoop, ARangeKeepsEverythingOutsideItAndItsTextsSayWhatChanged) {
  auto track = Stadium();
  ASSERT_TRUE(track->Section(2)->SetValue("Length", kFiftyMeters + 20000));
  ASSERT_TRUE(track->Section(3)->SetValue("Lateral gap", 700));
  const history::SectionSnapshot first = history::SectionSnapshot::Of(*track->Section(0));
  const int32_t lastCurvature = track->Section(3)->GetValue("Curvature");
  const int32_t lastRadius = track->Section(3)->GetValue("Radius");

  TLoopRange range;
  ASSERT_TRUE(ParseLoopRange("1-2", range));
  const TLoopPlan plan = PlanCloseLoop(*track, range);
  ASSERT_TRUE(plan.closes) << plan.refusal;
  for (const TLoopValue& v : plan.values) {
    EXPECT_GE(v.section, 1);
    EXPECT_LE(v.section, 2);
  }
  history::THistory history;
  history::TEditor editor(*track, history);
  ASSERT_EQ(ApplyCloseLoop(editor, plan), history::Outcome::Changed);
  EXPECT_EQ(PositionProblems(*track), 0);
  EXPECT_TRUE(history::SectionSnapshot::Of(*track->Section(0)) == first);
  EXPECT_EQ(track->Section(3)->GetValue("Curvature"), lastCurvature);
  EXPECT_EQ(track->Section(3)->GetValue("Radius"), lastRadius);

  EXPECT_EQ(LoopValueText({2, "Length", 984252, 984000}), "Section 2: length 50.000002 m \u2192 49.9872 m, changed");
  EXPECT_FALSE(ParseLoopRange("3", range));
  EXPECT_FALSE(ParseLoopRange("4-2", range));
  EXPECT_FALSE(ParseLoopRange("a-2", range));
}

TEST(CloseLoop, RefusesWhatItsFreeValuesCannotCloseAndChangesNothing) {
  auto track = Stadium();
  // A wider first half turn: the chain ends off to the side of the straights.
  ASSERT_TRUE(track->Section(1)->SetValue("Radius", kFiftyMeters + 5000));
  history::THistory history;
  history::TEditor editor(*track, history);
  const std::vector<uint8_t> before = ExportBytes(*track);

  TLoopPlan plan = PlanCloseLoop(*track, {2, 2});  // one straight: it only reaches along itself
  EXPECT_FALSE(plan.closes);
  EXPECT_EQ(plan.refusal,
            "No change of sections 2 to 2 within the limits closes the loop: their free values cannot move the end "
            "that way");
  EXPECT_EQ(ApplyCloseLoop(editor, plan), history::Outcome::Refused);

  ASSERT_TRUE(track->Section(1)->SetValue("Radius", kFiftyMeters));
  ASSERT_TRUE(track->Section(1)->SetValue("Curvature", (1 << 30) + 5965232));  // a degree more
  const std::vector<uint8_t> turned = ExportBytes(*track);
  plan = PlanCloseLoop(*track, {2, 2});
  EXPECT_EQ(plan.refusal, "No arc among sections 2 to 2 can turn the end by -0.99999994 \u00b0");
  EXPECT_EQ(PlanCloseLoop(*track, {5, 9}).refusal, "No such sections: 5 to 9");
  EXPECT_EQ(ExportBytes(*track), turned);
  EXPECT_EQ(history.Count(), 0u);
  EXPECT_NE(turned, before);
}

std::vector<std::string> PositionTexts(const TTrack& track) {
  std::vector<std::string> texts;
  for (const TTrackProblem& p : CheckTrack(track))
    if (p.IsPosition()) texts.push_back(ProblemText(p));
  return texts;
}

// Fitted circuits have arcs at every heading, where the stored starts lie on
// grids of their own: one sweep changed, Close Loop over every run of sections
// about it that closes, and over all of them, leaves no joint a unit open;
// starts pushed off their joints by a fraction of a unit each, Join All
// Positions joins every one of them again and keeps the loop closed.
TEST(CloseLoop, OnFittedCircuitsCloseLoopAndJoinAllLeaveEveryJointJoined) {
  for (const testing::TCircuit& circuit : {testing::KartCircuit(), testing::VaryingWidthCircuit()}) {
    const TFitResult fit = FitCentreline(testing::Sampled(circuit, {}), {1.0, 3});
    ASSERT_TRUE(fit.ok) << fit.error;
    TTrack& fitted = *fit.track;
    ASSERT_EQ(PositionTexts(fitted), std::vector<std::string>{}) << circuit.name;
    const int count = fitted.NumberOfSections();
    int arc = count / 2;
    while (!fitted.Section(arc)->IsCurved()) ++arc;
    const int32_t sweep = fitted.Section(arc)->GetValue("Curvature");
    ASSERT_TRUE(fitted.Section(arc)->SetValue("Curvature", sweep + (sweep > 0 ? 2000000 : -2000000)));
    int closed = 0;
    for (int first = arc - 4; first <= arc; ++first)
      for (int last : {arc, arc + 2, arc + 5, count - 1}) {
        if (first < 0 || last < first || last >= count) continue;
        const TLoopPlan plan = PlanCloseLoop(fitted, {first, last});
        if (!plan.closes) continue;
        auto copy = CopyTrack(fitted);
        history::THistory history;
        history::TEditor editor(*copy, history);
        ASSERT_EQ(ApplyCloseLoop(editor, plan), history::Outcome::Changed);
        EXPECT_EQ(PositionTexts(*copy), std::vector<std::string>{}) << circuit.name << " " << first << "-" << last;
        ++closed;
      }
    EXPECT_GE(closed, 8) << circuit.name;

    const TLoopPlan all = PlanCloseLoop(fitted);
    ASSERT_TRUE(all.closes) << all.refusal;
    history::THistory history;
    history::TEditor editor(fitted, history);
    ASSERT_EQ(ApplyCloseLoop(editor, all), history::Outcome::Changed);
    ASSERT_EQ(PositionTexts(fitted), std::vector<std::string>{}) << circuit.name;

    for (int s = 1; s < count; s += 2) {
      TSection& section = *fitted.Section(s);
      ASSERT_TRUE(section.SetStart(section.StartX() + 0.45 * (s % 3 - 1), section.StartY() + 0.3 * (s % 5 - 2)));
    }
    ASSERT_NE(PositionTexts(fitted), std::vector<std::string>{});
    const TFixReport report = ApplyFix(editor, FixCommand::JoinAllPositions, -1);
    EXPECT_EQ(report.Refusals(), 0);
    EXPECT_EQ(PositionTexts(fitted), std::vector<std::string>{}) << circuit.name;
  }
}

}  // namespace
}  // namespace meridal
