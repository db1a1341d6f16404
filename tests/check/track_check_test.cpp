// The track check on purpose-built tracks: a closed stadium passes, and each kind
// of fault put into it is found at the joint where it is, in the check's words.
#include <gtest/gtest.h>

#include <algorithm>

#include "check/check_update.h"
#include "check/track_check.h"
#include "edit/track_edits.h"
#include "model/units.h"
#include "support/track_builders.h"

namespace meridal {
namespace {

using testing::DefaultTrack;
using testing::Stadium;

std::vector<std::string> Texts(const TTrack& track) {
  std::vector<std::string> texts;
  for (const TTrackProblem& p : CheckTrack(track)) texts.push_back(ProblemText(p));
  return texts;
}

TEST(TrackCheck, AClosedLevelStadiumPassesAndANewTrackShowsItsClosure) {
  auto stadium = Stadium();
  EXPECT_EQ(Texts(*stadium), std::vector<std::string>{});
  // One section is its own predecessor: its closure is reported under section 0.
  auto lone = DefaultTrack();
  EXPECT_EQ(Texts(*lone), std::vector<std::string>{"Section 0: longitudinal gap -50.000002 m"});
  EXPECT_TRUE(HasProblems(CheckTrack(*lone)));
}

TEST(TrackCheck, FindsHeightStepsAndGradientKinksWhereTheyAre) {
  auto track = Stadium();
  track->Section(2)->Altitude(1)->HeightAtStart = 19685;
  EXPECT_EQ(Texts(*track), (std::vector<std::string>{"Section 2, trace 1: height step 999.998 mm",
                                                     "Section 3, trace 1: height step -999.998 mm"}));
  track = Stadium();
  // A hump over the second straight: level ends, gradients of +2 % and -2 %.
  TAltitude& hump = *track->Section(2)->Altitude(0);
  hump.FirstOrder = 19685;
  hump.SecondOrder = -19685;
  EXPECT_EQ(Texts(*track), (std::vector<std::string>{"Section 2, trace 0: gradient kink 1.1457605 ° (2.00 %)",
                                                     "Section 3, trace 0: gradient kink 1.1457605 ° (2.00 %)"}));
  // Just under one percentage point is no kink.
  hump.FirstOrder = 9842;
  hump.SecondOrder = -9842;
  EXPECT_EQ(Texts(*track), std::vector<std::string>{});
}

TEST(TrackCheck, FindsWallJumpsAndTellsOfAChangeInTheWallCount) {
  auto track = Stadium();
  ASSERT_TRUE(track->Section(1)->Wall(0)->SetValue("To", -100000));
  EXPECT_EQ(Texts(*track), std::vector<std::string>{"Section 2, wall 0: wall jump 80.01 mm"});
  ASSERT_TRUE(track->Section(1)->Wall(0)->SetValue("To", -98425));
  ASSERT_TRUE(edit::AddChild(*track->Section(2), 0, false));
  const std::vector<TTrackProblem> found = CheckTrack(*track);
  EXPECT_EQ(Texts(*track), (std::vector<std::string>{"Section 2: 3 walls after 2 (information)",
                                                     "Section 3: 2 walls after 3 (information)"}));
  EXPECT_FALSE(HasProblems(found));
}

// A file may hold them and every reader takes them, so the check names them.
TEST(TrackCheck, NamesLengthsAndWallOrdersNoEditMakes) {
  auto track = Stadium();
  track->Section(1)->Length = 0;
  track->Section(3)->Length = -100;
  track->Section(2)->Wall(1)->From = -200000;
  std::vector<std::string> stored;
  for (const TTrackProblem& p : CheckTrack(*track))
    if (p.kind == ProblemKind::LengthNotPositive || p.kind == ProblemKind::WallOrder) stored.push_back(ProblemText(p));
  EXPECT_EQ(stored, (std::vector<std::string>{"Section 1: length not positive 0",
                                              "Section 2, wall 1: wall out of order 5.16001 m right of the wall before it",
                                              "Section 3: length not positive -5.08 mm"}));
}

TEST(TrackCheck, ReportsAPositionProblemUnderTheSectionThatFailsToMeetItsPredecessor) {
  auto track = Stadium();
  ASSERT_TRUE(track->Section(2)->SetValue("Orientation mismatch", 11930465));  // 1 degree
  const std::vector<TTrackProblem> found = CheckTrack(*track);
  ASSERT_FALSE(found.empty());
  EXPECT_EQ(ProblemText(found[0]), "Section 2: orientation mismatch 1 °");
  // The straight turned about its start; its end no longer meets section 3.
  for (size_t i = 1; i < found.size(); ++i) EXPECT_EQ(found[i].section, 3);
  EXPECT_EQ(found[1].kind, ProblemKind::OrientationMismatch);
  EXPECT_EQ(found[1].amount, -11930465);
}

// A rise of 10 m over the 50 m straight with level ends, 3t^2 - 2t^3: no kink
// at either joint, yet 30 % at its middle. Only a look inside the section sees it.
TEST(TrackCheck, FindsASteepTraceInsideItsSectionAgainstTheLimitAsked) {
  auto track = Stadium();
  TAltitude& rise = *track->Section(2)->Altitude(0);
  rise.SecondOrder = 3 * 196850;
  rise.ThirdOrder = -2 * 196850;
  const auto steep = [&](const TCheckLimits& limits) {
    std::vector<std::string> texts;
    for (const TTrackProblem& p : CheckTrack(*track, limits))
      if (p.kind == ProblemKind::Steep || p.kind == ProblemKind::GradientKink) texts.push_back(ProblemText(p));
    return texts;
  };
  EXPECT_EQ(steep({}), std::vector<std::string>{"Section 2, trace 0: steep 30.00 % (more than 25 %)"});
  EXPECT_EQ(steep({0.3005}), std::vector<std::string>{});
  EXPECT_EQ(steep({0.125}), std::vector<std::string>{"Section 2, trace 0: steep 30.00 % (more than 12.5 %)"});
  // Falling counts as much as rising, and the problem is the trace's altitude.
  rise.SecondOrder = -rise.SecondOrder;
  rise.ThirdOrder = -rise.ThirdOrder;
  const std::vector<TTrackProblem> found = CheckTrack(*track);
  const auto it = std::find_if(found.begin(), found.end(), [](auto& p) { return p.kind == ProblemKind::Steep; });
  ASSERT_NE(it, found.end());
  EXPECT_EQ(ProblemObject(*it), TObjectPath::Altitude(2, 0));

  // Kept up to date by a change of that section alone, at the limit asked.
  std::vector<TTrackProblem> kept = CheckTrack(*track, {0.2});
  rise.SecondOrder = rise.ThirdOrder = 0;
  TTrackChange change;
  change.sections = {2};
  UpdateCheck(*track, change, kept, {0.2});
  EXPECT_TRUE(std::none_of(kept.begin(), kept.end(), [](auto& p) { return p.kind == ProblemKind::Steep; }));
  track->Section(1)->Altitude(1)->FirstOrder = 600000;  // 30.5 m up the half circle: about 18 %
  change.sections = {1};
  UpdateCheck(*track, change, kept, {0.15});
  EXPECT_EQ(kept.size(), CheckTrack(*track, {0.15}).size());
  EXPECT_TRUE(std::any_of(kept.begin(), kept.end(), [](auto& p) { return p.kind == ProblemKind::Steep && p.section == 1; }));
}

}  // namespace
}  // namespace meridal
