// The edge of the plan: every position, centre and trace point is stored in 32
// bits. A change that would put one beyond them is refused and changes nothing
// (the arcs' centres are tried through the command line); boxes at the edge
// stay boxes.
#include <gtest/gtest.h>

#include <climits>

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

TEST(PlanLimits, AStraightRefusesAStartTraceOrHeadingBeyondThePlan) {
  auto track = testing::DefaultTrack();
  TSection& s = *track->Section(0);
  const Snapshot before(s);
  // The start would lie 2^31 units beyond the end of the section.
  EXPECT_EQ(s.SetValue("Longitudinal gap", INT32_MAX), 0);
  EXPECT_EQ(Snapshot(s), before);

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
