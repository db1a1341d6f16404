// Walls and altitudes by name: the wall order checks and the profile companions.
#include <gtest/gtest.h>

#include "model/curved_section.h"
#include "model/track.h"
#include "support/track_builders.h"

namespace meridal {
namespace {

using testing::ConvertToCurve;
using testing::DefaultTrack;

TEST(WallValues, FromAndToStayBetweenTheNeighbours) {
  auto track = DefaultTrack();
  TSection* s = track->Section(0);
  TWall* first = s->Wall(0);
  TWall* last = s->Wall(1);
  // The first wall takes anything not above the second wall's value.
  EXPECT_EQ(first->SetValue("From", -2147483647 - 1), 1);
  EXPECT_EQ(first->SetValue("From", 98426), 0);
  EXPECT_EQ(first->From, -2147483647 - 1);
  EXPECT_EQ(first->SetValue("To", 98425), 1);  // equal: a strip of width 0
  EXPECT_EQ(last->SetValue("To", 98424), 0);
  EXPECT_EQ(last->SetValue("From", 2147483647), 1);
  EXPECT_EQ(last->GetValue("From"), 2147483647);
  // The corner points and the box follow at once.
  EXPECT_EQ(first->ToPoint.y, 98425);
  EXPECT_EQ(s->Extent.bottom < -2000000000, true);

  // A single wall accepts any value.
  s->Walls.pop_back();
  EXPECT_EQ(first->SetValue("From", 2147483647), 1);
  EXPECT_EQ(first->SetValue("To", -5), 1);
}

TEST(WallValues, OtherFieldsAreStoredUnchecked) {
  auto track = DefaultTrack();
  TWall* w = track->Section(0)->Wall(0);
  const char* names[] = {"Surface", "Unk1", "Height", "Unk2", "Unk3", "Unk4"};
  int32_t value = -7;
  for (const char* name : names) {
    EXPECT_EQ(w->SetValue(name, value), 1) << name;
    EXPECT_EQ(w->GetValue(name), value) << name;
    --value;
  }
  EXPECT_EQ(w->Surface, -7);
  EXPECT_EQ(w->Unk1, -8);
  EXPECT_EQ(w->Height, -9);
  EXPECT_EQ(w->Unk4, -12);
  EXPECT_EQ(w->SetValue("surface", 1), 0);  // names are case-sensitive
  EXPECT_EQ(w->GetValue("Width@Start"), 0);
  EXPECT_EQ(w->Surface, -7);
}

TEST(AltitudeValues, CoefficientsSetTheirCompanions) {
  auto track = DefaultTrack();
  TAltitude* a = track->Section(0)->Altitude(0);
  EXPECT_EQ(a->SetValue("3rd order coeff.", 5), 1);
  EXPECT_EQ(a->A3, 15);
  EXPECT_EQ(a->SetValue("A3", 7), 1);
  EXPECT_EQ(a->ThirdOrder, 5);
  EXPECT_EQ(a->SetValue("2nd order coeff.", 3), 1);
  EXPECT_EQ(a->B2, 6);
  EXPECT_EQ(a->SetValue("B2", 1), 1);
  EXPECT_EQ(a->SecondOrder, 3);
  EXPECT_EQ(a->SetValue("1st order coeff.", 11), 1);
  EXPECT_EQ(a->SetValue("Height@Start", 13), 1);
  EXPECT_EQ(a->HeightAtEnd(), 5 + 3 + 11 + 13);
  EXPECT_EQ(a->SetValue("X", 17), 1);
  EXPECT_EQ(a->GetValue("Y"), -98425);
  EXPECT_EQ(a->SetValue("Height@End", 1), 0);
  EXPECT_EQ(a->SetValue("3rd order coeff", 1), 0);
}

TEST(AltitudeValues, TraceLengthOnStraightAndCurve) {
  auto track = DefaultTrack();
  EXPECT_EQ(track->Section(0)->Altitude(0)->TraceLength(), 984252);
  TCurvedSection* c = ConvertToCurve(*track, 0);
  // Trace 0 runs 98425 units outside the zero line of the 20-degree left curve.
  EXPECT_NEAR(c->Altitude(0)->TraceLength(), (2819674.0 + 98425) * 119304647 * 3.141592653589793 / 1073741824.0,
              1e-6);
}

}  // namespace
}  // namespace meridal
