// The range beneath "Input not valid ! Range Error!": the limits the setters
// really apply, found without leaving a trace on the track.
#include <gtest/gtest.h>

#include <algorithm>

#include "model/length_limit.h"
#include "edit/edit_support.h"
#include "model/track.h"
#include "present/format.h"
#include "present/value_range.h"
#include "support/track_builders.h"

namespace meridal {
namespace {

TEST(ValueRange, TellsTheSettersOwnLimitsAndLeavesTheTrackAsItWas) {
  auto track = testing::Stadium();
  const std::string before = testing::Snapshot(*track, false);
  const TSection& straight = *track->Section(0);
  const TSection& curve = *track->Section(1);

  // A length of one unit at least, and at most what keeps the track within the
  // 32 bits a file gives its length.
  const int64_t others = TotalSectionLength(*track) - straight.Length;
  EXPECT_EQ(ValueRangeText(straight, "Length"),
            "Length: from 0.0508 mm to " + LengthMeaning(static_cast<int32_t>(kMaxTrackLength - others)));
  // An arc's centre may not lie between its walls: the radius reaches down to the outer wall.
  const TWall& outer = *curve.Wall(curve.NumberOfWalls() - 1);
  const std::string radius = ValueRangeText(curve, "Radius");
  const std::string least = LengthMeaning(std::max(outer.From, outer.To));
  EXPECT_TRUE(radius == "Radius: at least " + least || radius.rfind("Radius: from " + least + " to ", 0) == 0) << radius;
  // A split leaves two parts of a unit at least.
  EXPECT_EQ(SplitRangeText(straight), "Length of first part: from 0.0508 mm to " + LengthMeaning(straight.Length - 1));
  // A surface code takes any value: there is no range to tell.
  EXPECT_EQ(ValueRangeText(*straight.Wall(0), "Surface"), "");
  EXPECT_EQ(testing::Snapshot(*track, false), before);
}

}  // namespace
}  // namespace meridal
