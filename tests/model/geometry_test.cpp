// Section geometry: headings, continuity, setters and their refusals, picking.
#include <gtest/gtest.h>

#include <cmath>

#include "model/curved_section.h"
#include "model/numbers.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "model/units.h"
#include "present/format.h"
#include "support/track_builders.h"

namespace meridal {
namespace {

using testing::AppendCopy;
using testing::ConvertToCurve;
using testing::DefaultTrack;

TEST(Orientation, WrapsAtTheSeam) {
  auto track = DefaultTrack();
  TSection* s = track->Section(0);
  ASSERT_TRUE(s->SetOrientation(2147483647));
  ASSERT_TRUE(s->SetOrientation(wrapAdd(s->Orientation, 1)));
  EXPECT_EQ(s->Orientation, -2147483647 - 1);
  EXPECT_EQ(AngleMeaning(s->Orientation), "-180 \u00B0");
  // Heading west: the section runs towards -x from its unchanged base.
  EXPECT_NEAR(s->EndX(), -984252, 1e-6);
  EXPECT_NEAR(s->EndY(), 0, 1e-3);

  // A mismatch across the +-180 degree seam is small.
  AppendCopy<TStraightSection>(*track);
  TSection* next = track->Section(1);
  ASSERT_TRUE(track->Section(0)->SetOrientation(2147483000));
  ASSERT_TRUE(next->SetOrientation(-2147483000));
  EXPECT_EQ(next->GetValue("Orientation mismatch"), 1296);
  // Setting the mismatch to 0 aligns the heading with the previous end.
  EXPECT_EQ(next->SetValue("Orientation mismatch", 0), 1);
  EXPECT_EQ(next->Orientation, 2147483000);
}

TEST(EndOrientation, AtExactlyPlus180DegreesIsMinus2Pow31) {
  auto track = DefaultTrack();
  TCurvedSection* c = ConvertToCurve(*track, 0);
  ASSERT_TRUE(c->SetCurvature(1 << 30));  // half a turn to the left from heading 0
  EXPECT_EQ(c->EndOrientation(), -2147483647 - 1);
  ASSERT_TRUE(c->SetOrientation(1 << 30));  // 90 + 180 = 270 degrees = -90
  EXPECT_EQ(c->EndOrientation(), -(1 << 30));
  ASSERT_TRUE(c->SetCurvature(-(1 << 30)));
  ASSERT_TRUE(c->SetOrientation(-(1 << 30)));  // -90 - 180 = -270 = +90
  EXPECT_EQ(c->EndOrientation(), 1 << 30);
}

TEST(Continuity, OneSectionTrackIsComparedWithItsOwnEnd) {
  auto track = DefaultTrack();
  TSection* s = track->Section(0);
  EXPECT_EQ(s->GetValue("Orientation mismatch"), 0);
  EXPECT_EQ(s->GetValue("Longitudinal gap"), -984252);
  EXPECT_EQ(s->GetValue("Lateral gap"), 0);
}

TEST(Continuity, SettingGapsSnapsTheStartWithinRounding) {
  auto track = DefaultTrack();
  AppendCopy<TStraightSection>(*track);
  TSection* prev = track->Section(0);
  TSection* s = track->Section(1);
  ASSERT_TRUE(s->SetOrientation(300000000));
  ASSERT_TRUE(s->SetStart(prev->EndX() + 5000.3, prev->EndY() - 7000.7));
  const int32_t lateral = s->LateralGap();
  ASSERT_NE(s->LongitudinalGap(), 0);
  ASSERT_NE(lateral, 0);

  // Closing the longitudinal gap keeps the lateral one.
  EXPECT_EQ(s->SetValue("Longitudinal gap", 0), 1);
  EXPECT_EQ(s->LongitudinalGap(), 0);
  EXPECT_NEAR(s->LateralGap(), lateral, 1);
  EXPECT_EQ(s->SetValue("Lateral gap", 0), 1);
  EXPECT_EQ(s->LateralGap(), 0);
  EXPECT_NEAR(s->StartX(), prev->EndX(), 1.0);
  EXPECT_NEAR(s->StartY(), prev->EndY(), 1.0);

  // The same for an arc after a straight, to within half a unit per coordinate.
  TCurvedSection* c = ConvertToCurve(*track, 1);
  ASSERT_TRUE(c->SetGaps(0, 0));
  EXPECT_NEAR(c->StartX(), prev->EndX(), 0.5 + 1e-6);
  EXPECT_NEAR(c->StartY(), prev->EndY(), 0.5 + 1e-6);
  EXPECT_EQ(c->LongitudinalGap(), 0);
  EXPECT_EQ(c->LateralGap(), 0);
}

TEST(CurvedLength, IsRefusedFromAFullTurnOn) {
  auto track = DefaultTrack();
  TCurvedSection* c = ConvertToCurve(*track, 0);
  ASSERT_EQ(c->Radius, 2819674);
  const double fullTurn = 2 * Pi * 2819674;  // 17716534.2
  const int32_t before = c->Curvature();
  EXPECT_FALSE(c->SetLength(static_cast<int32_t>(std::ceil(fullTurn))));
  EXPECT_FALSE(c->SetLength(0));
  EXPECT_EQ(c->Curvature(), before);
  EXPECT_EQ(c->Length, 984252);

  EXPECT_TRUE(c->SetLength(17716000));  // just below a full turn
  EXPECT_NEAR(c->Curvature() * 360.0 / 4294967296.0 * 2, 359.99, 0.01);
  EXPECT_GT(c->Curvature(), 0);
  EXPECT_EQ(track->Length, 17716000);
  EXPECT_TRUE(c->SetLength(1));
  EXPECT_EQ(c->Curvature(), 121);  // (1 / R) * 2^30 / pi, rounded
  // Start, centre and radius stay while the end moves along the circle.
  EXPECT_EQ(c->CurveCenterX(), 0);
  EXPECT_EQ(c->CurveCenterY(), 2819674);
}

TEST(CurvedLength, ThatWouldRoundTheCurvatureToZeroIsRefused) {
  auto track = DefaultTrack();
  TCurvedSection* c = ConvertToCurve(*track, 0);
  // Widen the walls and traces so that a huge radius is allowed.
  ASSERT_TRUE(c->SetRadius(2000000000));
  EXPECT_FALSE(c->SetLength(1));  // 1 / 2e9 of a turn rounds to curvature 0
  EXPECT_NE(c->Curvature(), 0);
}

TEST(Mirroring, CurvatureOfTheOtherSignMirrorsTheArcAboutItsStartTangent) {
  auto track = DefaultTrack();
  TCurvedSection* c = ConvertToCurve(*track, 0);
  const double sx = c->StartX(), sy = c->StartY();
  ASSERT_TRUE(c->SetCurvature(-119304647));
  EXPECT_EQ(c->Radius, -2819674);
  EXPECT_EQ(c->Length, 984252);
  EXPECT_NEAR(c->StartX(), sx, 0.5);
  EXPECT_NEAR(c->StartY(), sy, 0.5);
  EXPECT_EQ(c->CurveCenterY(), -2819674);  // centre on the right
  EXPECT_LT(c->EndY(), 0);                  // turns right
  // Trace radii follow the signed radius.
  EXPECT_EQ(c->Altitude(0)->X, -2819674 + 98425);
  EXPECT_EQ(c->Altitude(1)->Y, kCurveFiller);

  // Doubling the angle keeps the radius and doubles the length.
  ASSERT_TRUE(c->SetCurvature(-2 * 119304647));
  EXPECT_EQ(c->Radius, -2819674);
  EXPECT_NEAR(c->Length, 2 * 984252, 1);

  // A radius of the other sign negates the curvature instead.
  ASSERT_TRUE(c->SetRadius(1000000));
  EXPECT_EQ(c->Curvature(), 2 * 119304647);
  EXPECT_EQ(c->CurveCenterY(), 1000000);
  EXPECT_EQ(c->Length, nearest(2 * 119304647 * Pi / 1073741824.0 * 1000000));
  EXPECT_EQ(track->Length, c->Length);
  EXPECT_FALSE(c->SetCurvature(0));
}

TEST(SetRadius, KeepsTheCentreOutsideTheWalls) {
  auto track = DefaultTrack();
  TCurvedSection* c = ConvertToCurve(*track, 0);
  TCurvedSection before(track.get(), *c);
  // Walls run at -98425 (rightmost) and 98425 (leftmost).
  EXPECT_FALSE(c->SetRadius(0));
  EXPECT_FALSE(c->SetRadius(98424));   // left-hand centre inside the leftmost wall
  EXPECT_FALSE(c->SetRadius(-98424));  // right-hand centre inside the rightmost wall
  EXPECT_EQ(c->Radius, before.Radius);
  EXPECT_EQ(c->CurveCenterY(), before.CurveCenterY());
  EXPECT_EQ(c->Length, before.Length);
  EXPECT_TRUE(c->SetRadius(98425));
  EXPECT_TRUE(c->SetRadius(-98425));
  // Straights have neither curvature nor radius.
  TStraightSection straight(track.get());
  straight.SetDefaults();
  EXPECT_EQ(straight.SetValue("Radius", 5000000), 0);
  EXPECT_EQ(straight.SetValue("Curvature", 5), 0);
  EXPECT_EQ(straight.GetValue("Curvature"), 0);
  EXPECT_EQ(straight.GetValue("No such value"), 0);
  EXPECT_EQ(straight.SetValue("length", 5), 0);
}

TEST(SectionValues, StartSticksOnlyUntilTheNextLengthChange) {
  auto track = DefaultTrack();
  AppendCopy<TStraightSection>(*track);
  TSection* s = track->Section(1);
  EXPECT_EQ(s->SetValue("Start", 77), 1);
  EXPECT_EQ(s->Start, 77);
  EXPECT_EQ(s->SetValue("Length", 0), 0);  // refused: below 1
  EXPECT_EQ(s->Start, 77);
  EXPECT_EQ(track->Section(0)->SetValue("Length", 1000), 1);
  EXPECT_EQ(s->Start, 1000);
}

TEST(Picking, HitTestUsesTheInclusiveBoxThenTheWalls) {
  auto track = DefaultTrack();
  TSection* s = track->Section(0);
  // On the outline itself: the far end and the leftmost wall are inside.
  EXPECT_TRUE(s->HitTest(984252, 98425));
  EXPECT_TRUE(s->HitTest(0, -98425));
  EXPECT_FALSE(s->HitTest(984252.01, 0));
  EXPECT_FALSE(s->HitTest(10, 98425.01));
  // The box decides first, inclusive on all four sides.
  s->Extent = TRect{0, 100, 500, -100};
  EXPECT_TRUE(s->HitTest(500, 100));
  EXPECT_TRUE(s->HitTest(0, -100));
  EXPECT_FALSE(s->HitTest(500.5, 0));
  EXPECT_FALSE(s->HitTest(10, -100.5));
  // The track picks the first section, in order, that contains the point.
  s->RecomputeExtent();
  AppendCopy<TStraightSection>(*track);
  EXPECT_EQ(track->SectionAt(984252, 0), 0);
  EXPECT_EQ(track->SectionAt(984253, 0), 1);
  EXPECT_EQ(track->SectionAt(-1, 0), -1);
}

TEST(Picking, APointOnASharedWallLineLiesInTheLowerStrip) {
  auto track = DefaultTrack();
  TSection* s = track->Section(0);
  auto middle = std::make_unique<TWall>(s);
  middle->From = middle->To = 0;
  s->Walls.insert(s->Walls.begin() + 1, std::move(middle));
  for (int k = 0; k < 3; ++k) s->Wall(k)->Number = k;
  s->RecomputeAllWallPoints();
  EXPECT_EQ(s->FindWallStrip(1000, 0), 0);
  EXPECT_EQ(s->FindWallStrip(1000, 1), 1);
  EXPECT_EQ(s->FindWallStrip(1000, -1), 0);
  EXPECT_EQ(s->FindWallStrip(1000, 98426), -1);
  EXPECT_EQ(s->FindWallStrip(-1, 0), -1);

  // On an arc the strips follow the radii: wall 0 is the outer line of a left curve.
  TCurvedSection* c = ConvertToCurve(*track, 0);
  const double a = c->StartAngle + c->SweptAngle() / 2;
  auto at = [&](double lateral) {
    return std::pair{c->LocalToX(a, c->Radius - lateral), c->LocalToY(a, c->Radius - lateral)};
  };
  auto [x0, y0] = at(-50000);
  auto [x1, y1] = at(50000);
  EXPECT_EQ(c->FindWallStrip(x0, y0), 0);
  EXPECT_EQ(c->FindWallStrip(x1, y1), 1);
  EXPECT_TRUE(c->HitTest(x1, y1));
  auto [x2, y2] = at(120000);
  EXPECT_FALSE(c->HitTest(x2, y2));
}

TEST(CurvedGeometry, LocalCoordinatesRoundTrip) {
  auto track = DefaultTrack();
  TCurvedSection* c = ConvertToCurve(*track, 0);
  ASSERT_TRUE(c->SetOrientation(1234567890));
  for (int32_t curvature : {119304647, -119304647}) {
    ASSERT_TRUE(c->SetCurvature(curvature));
    const double r = c->Radius - 1000;  // a line 1000 units left of the zero line
    for (double f : {0.0, 0.25, 0.99}) {
      const double u = c->SweptAngle() * f;
      const double x = c->LocalToX(c->StartAngle + u, r), y = c->LocalToY(c->StartAngle + u, r);
      EXPECT_NEAR(c->LocalU(x, y), u, 1e-9) << curvature << " " << f;
      EXPECT_NEAR(c->LocalV(x, y), r, 1e-6);
    }
  }
  // The centre itself has no angle.
  EXPECT_EQ(c->LocalU(c->CurveCenterX(), c->CurveCenterY()), 0);
}

TEST(CurvedGeometry, BoxTakesInTheArcWhereItPassesACompassPoint) {
  auto track = DefaultTrack();
  TCurvedSection* c = ConvertToCurve(*track, 0);
  ASSERT_TRUE(c->SetCurvature(1 << 30));  // a half circle to the left, heading east
  ASSERT_EQ(c->CurveCenterX(), 0);
  ASSERT_EQ(c->CurveCenterY(), 2819674);
  // Outer radius 2918099, inner 2721249. The ends lie on the y axis; the arc passes
  // east (x up to 2918099), south (y down to -98425) and north (y up to 5737773) of
  // its centre, not west. Then the margins: a tenth of the height sideways, a tenth
  // of the width up and down.
  EXPECT_EQ(c->Extent, (TRect{-583619, 6029582, 3501718, -390234}));
}

TEST(CurvedGeometry, RightHandArcsMirrorTheBox) {
  auto track = DefaultTrack();
  TCurvedSection* c = ConvertToCurve(*track, 0);
  ASSERT_TRUE(c->SetCurvature(-(1 << 30)));
  EXPECT_EQ(c->CurveCenterY(), -2819674);
  EXPECT_EQ(c->Extent, (TRect{-583619, 390234, 3501718, -6029582}));
}

}  // namespace
}  // namespace meridal
