#include <gtest/gtest.h>
#include "model/track.h"
using namespace meridal;
TEST(Smoke, DefaultTrack) { TTrack t; t.SetDefaults(); EXPECT_EQ(t.Length, 984252); }
