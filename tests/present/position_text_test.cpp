// The status bar's pointer position: the texts of the coordinates and how a world
// point becomes track units.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "present/position_text.h"

namespace meridal {
namespace {

TEST(PositionText, MetresFromOneMetreOnMillimetresBelow) {
  EXPECT_EQ(PositionText(196850, -9843), "9.99998 m , -500.0244 mm");
  EXPECT_EQ(PositionText(19686, 3), "1.0000488 m , 0.1524 mm");
  EXPECT_EQ(PositionText(0, 19685), " , 999.998 mm");
  EXPECT_EQ(PositionText(984252, -19686), "50.000002 m , -1.0000488 m");
}

TEST(PositionText, TheOriginShowsTheSeparatorAlone) { EXPECT_EQ(PositionText(0, 0), " , "); }

TEST(PositionText, WorldPointsAreTruncatedTowardZero) {
  EXPECT_EQ(PointerPositionText(19685.99, -0.99), "999.998 mm , ");
  EXPECT_EQ(PointerPositionText(-19686.7, 0.4), "-1.0000488 m , ");
  EXPECT_EQ(PointerPositionText(196850.5, -9843.9), "9.99998 m , -500.0244 mm");
}

TEST(PositionText, PointsBeyondTheUnitRangeKeepTheirSign) {
  // A wrapped value would show a far point right of the origin as left of it.
  EXPECT_EQ(PointerUnits(3.0e9), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(PointerUnits(-3.0e9), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(PointerUnits(std::nan("")), 0);
  EXPECT_EQ(PointerPositionText(-1.0e300, 2147483648.0), "-109092.17 m , 109092.17 m");
}

}  // namespace
}  // namespace meridal
