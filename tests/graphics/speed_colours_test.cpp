// The speed scale's colours: its ends, its middle, and speeds beyond it.
#include <gtest/gtest.h>

#include <cmath>

#include "graphics/speed_colours.h"

namespace meridal {
namespace {

TEST(SpeedColours, RunFromBlueThroughGreenToRedAndClampBeyond) {
  const TColor slow{30, 60, 220}, middle{40, 175, 60}, fast{220, 30, 30};
  EXPECT_EQ(SpeedColour(20, 20, 60), slow);
  EXPECT_EQ(SpeedColour(40, 20, 60), middle);
  EXPECT_EQ(SpeedColour(60, 20, 60), fast);
  EXPECT_EQ(SpeedColour(5, 20, 60), slow);
  EXPECT_EQ(SpeedColour(90, 20, 60), fast);
  EXPECT_EQ(SpeedColour(std::nan(""), 20, 60), slow);
  // Halfway between the cyan and the green stops.
  EXPECT_EQ(SpeedColour(35, 20, 60), (TColor{20, 173, 140}));
  // One speed all round: the middle of the scale.
  EXPECT_EQ(SpeedColour(30, 30, 30), middle);
}

}  // namespace
}  // namespace meridal
