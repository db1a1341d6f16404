// The edge of the plan: every position, centre and trace point is stored in 32
// bits. A change that would put one beyond them is refused and changes nothing;
// boxes at the edge stay boxes.
#include <gtest/gtest.h>

#include <climits>

#include "model/curved_section.h"
#include "model/straight_section.h"
#include "support/track_builders.h"

namespace meridal {
namespace {

// What a refused change must leave as it was.
struct Snapshot {
  explicit Snapshot(const TSection& s)
      : words(std::begin(s.ExportWords), std::end(s.ExportWords)), orientation(s.Orientation), extent(s.Extent) {
    for (const auto& a : s.Altitudes) points.push_back({a->X, a->Y});
  }
  bool operator==(const Snapshot&) const = default;
  std::vector<int32_t> words;
  int32_t orientation;
  TRect extent;
  std::vector<std::pair<int32_t, int32_t>> points;
};

TEST(PlanLimits, AStraightRefusesAStartOrTraceBeyondThePlan) {
  auto track = testing::DefaultTrack();
  TSection& s = *track->Section(0);
  const Snapshot before(s);
  // The start would lie 2^31 units beyond the end of the section.
  EXPECT_EQ(s.AccessValue("Longitudinal gap", INT32_MAX, true), 0);
  EXPECT_EQ(s.AccessValue("Lateral gap", INT32_MIN, true), 0);
  EXPECT_EQ(Snapshot(s), before);
  EXPECT_EQ(s.AccessValue("Longitudinal gap", 0, false), -984252);

  // 1000 units off the zero line, a trace at the int32 end would have no stored point.
  ASSERT_TRUE(s.SetStart(0, 1000));
  const Snapshot moved(s);
  EXPECT_FALSE(track->SetTrace(1, INT32_MAX));
  EXPECT_EQ(track->Traces[1], 98425);
  EXPECT_EQ(Snapshot(s), moved);
  ASSERT_TRUE(track->SetTrace(1, INT32_MAX - 1000));
  EXPECT_EQ(s.Altitude(1)->Y, INT32_MAX);
  // Turned by 180 degrees about its start, trace 0 (lateral -98425) would reach
  // y = 1000 + 98425, trace 1 y = 1000 - (2^31 - 1001): both fit; by 90 degrees
  // trace 1 lies at x = -(2^31 - 1001): fits too. A start near the edge does not.
  EXPECT_TRUE(s.SetOrientation(INT32_MIN));
  ASSERT_TRUE(track->SetTrace(1, 98425));
  ASSERT_TRUE(s.SetStart(INT32_MAX - 50000, 0));
  const Snapshot edge(s);
  EXPECT_FALSE(s.SetOrientation(0x40000000));  // trace 0 would lie at x = 2^31 - 50000 + 98425
  EXPECT_EQ(Snapshot(s), edge);
}

TEST(PlanLimits, AnArcRefusesACentreBeyondThePlan) {
  auto track = testing::DefaultTrack();
  TCurvedSection& arc = *testing::ConvertToCurve(*track, 0);
  ASSERT_TRUE(arc.SetRadius(2000000000));
  const Snapshot before(arc);
  // Its centre lies 2e9 to the left of its start: a start 2e8 further left, or the
  // heading turned so that the centre lies beyond the start at -1.9e9, would wrap it.
  EXPECT_EQ(arc.AccessValue("Lateral gap", 200000000, true), 0);
  EXPECT_EQ(Snapshot(arc), before);
  ASSERT_TRUE(arc.SetStart(-1900000000, 0));
  const Snapshot moved(arc);
  EXPECT_FALSE(arc.SetOrientation(0x40000000));  // centre at x = -3.9e9
  EXPECT_EQ(Snapshot(arc), moved);
  EXPECT_EQ(arc.AccessValue("Orientation", 0x40000000, true), 0);
  // Mirrored, the centre would lie 2e9 to the right: y = -2e9 fits, a start lower does not.
  ASSERT_TRUE(arc.SetStart(0, -200000000));
  const Snapshot low(arc);
  EXPECT_FALSE(arc.SetCurvature(-arc.Curvature()));
  EXPECT_EQ(Snapshot(arc), low);
}

// A box reaching both ends of the int32 range keeps its sides in order, however
// the margin is added.
TEST(PlanLimits, TheTrackExtentOfABoxAtTheInt32EndsStaysABox) {
  auto track = testing::DefaultTrack();
  track->Section(0)->Extent = TRect{INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN};
  track->UpdateExtent();
  EXPECT_EQ(track->Extent, (TRect{INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN}));

  // A straight of the longest length from the origin: its box ends at the edge.
  ASSERT_TRUE(track->Section(0)->SetLength(INT32_MAX));
  track->UpdateExtent();
  const TRect& e = track->Extent;
  EXPECT_EQ(e.right, INT32_MAX);
  EXPECT_LT(e.left, -INT32_MAX / 10);  // the margin, a tenth of the width, on the left too
  EXPECT_LE(e.bottom, e.top);
}

}  // namespace
}  // namespace meridal
