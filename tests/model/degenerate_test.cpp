// Degenerate sections that only a file can bring must neither crash nor corrupt:
// a trace at lateral 0, first and last traces equal, radius 0, curvature 0.
#include <gtest/gtest.h>

#include <cmath>

#include "present/property_rows.h"
#include "model/curved_section.h"
#include "model/numbers.h"
#include "model/units.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "present/rows.h"
#include "support/track_builders.h"

namespace meridal {
namespace {

using testing::ConvertToCurve;
using testing::DefaultTrack;

void ExpectFiniteGeometry(const TSection& s) {
  for (const auto& w : s.Walls) {
    EXPECT_TRUE(std::isfinite(w->FromPoint.x) && std::isfinite(w->FromPoint.y)) << w->Number;
    EXPECT_TRUE(std::isfinite(w->ToPoint.x) && std::isfinite(w->ToPoint.y)) << w->Number;
  }
  EXPECT_TRUE(std::isfinite(s.StartX()) && std::isfinite(s.StartY()));
  EXPECT_TRUE(std::isfinite(s.EndX()) && std::isfinite(s.EndY()));
  EXPECT_LE(s.Extent.left, s.Extent.right);
  EXPECT_GE(s.Extent.top, s.Extent.bottom);
}

// Everything a user can do to a section: read its rows, pick, read its gaps.
void Exercise(TSection& s) {
  RowList rows;
  FillProperties(s, rows);
  for (auto& a : s.Altitudes) FillProperties(*a, rows);
  for (auto& w : s.Walls) FillProperties(*w, rows);
  for (double x : {-1e6, 0.0, 5.0, 1e6})
    for (double y : {-1e6, 0.0, 5.0, 1e6}) {
      s.HitTest(x, y);
      s.FindWallStrip(x, y);
    }
  s.LongitudinalGap();
  s.LateralGap();
  s.EndOrientation();
}

TEST(Degenerate, StraightWithTraceZeroAtLateralZeroTakesItsDirectionFromTheLastTrace) {
  auto track = DefaultTrack();
  TSection* s = track->Section(0);
  const TPointD before = s->Wall(0)->FromPoint;
  track->Traces = {0, 98425};
  s->Altitude(0)->Y = 0;  // the stored point of a trace at lateral 0
  s->RecomputeDerived();
  ExpectFiniteGeometry(*s);
  EXPECT_EQ(s->Wall(0)->FromPoint, before);
  EXPECT_EQ(s->BaseX, 0);
  EXPECT_EQ(s->BaseY, 0);
  Exercise(*s);
  EXPECT_TRUE(s->SetOrientation(1 << 30));
  ExpectFiniteGeometry(*s);
  EXPECT_NEAR(s->Wall(0)->FromPoint.x, 98425, 1e-6);  // heading north: right is east
}

TEST(Degenerate, StraightWithAllTracesAtOnePositionUsesItsHeading) {
  auto track = DefaultTrack();
  TSection* s = track->Section(0);
  track->Traces = {98425, 98425};
  s->Altitude(0)->Y = 98425;
  s->RecomputeDerived();
  ExpectFiniteGeometry(*s);
  EXPECT_EQ(s->BaseY, 0);
  EXPECT_EQ(s->Wall(0)->FromPoint.y, -98425);
  Exercise(*s);

  // Trace 0 at lateral 0 and the only trace: the heading alone gives the direction.
  track->Traces = {0};
  s->Altitudes.pop_back();
  s->Altitude(0)->X = 10;
  s->Altitude(0)->Y = 20;
  s->RecomputeDerived();
  ExpectFiniteGeometry(*s);
  EXPECT_EQ(s->BaseX, 10);
  EXPECT_EQ(s->Wall(1)->FromPoint.y, 20 + 98425);
  Exercise(*s);
}

TEST(Degenerate, CurveWithRadiusZero) {
  auto track = DefaultTrack();
  TCurvedSection* c = ConvertToCurve(*track, 0);
  c->Altitude(0)->X = 98425;  // radius = X + lateral = 0
  c->RecomputeDerived();
  EXPECT_EQ(c->Radius, 0);
  ExpectFiniteGeometry(*c);
  Exercise(*c);
  EXPECT_EQ(c->LocalU(c->CurveCenterX(), c->CurveCenterY()), 0);
  // Nothing can give it a length: refused, unchanged.
  EXPECT_FALSE(c->SetLength(1000));
  EXPECT_FALSE(c->SetCurvature(-5000));
  EXPECT_EQ(c->Length, 984252);
  EXPECT_EQ(c->Curvature(), 119304647);
  // A radius mends it.
  EXPECT_TRUE(c->SetRadius(1000000));
  EXPECT_EQ(c->Length, 349066);
  ExpectFiniteGeometry(*c);
}

TEST(Degenerate, CurveWithCurvatureZero) {
  auto track = DefaultTrack();
  TCurvedSection* c = ConvertToCurve(*track, 0);
  c->Curvature() = 0;
  c->RecomputeDerived();
  ExpectFiniteGeometry(*c);
  Exercise(*c);
  EXPECT_EQ(c->EndOrientation(), c->Orientation);
  EXPECT_GT(c->LocalV(0, 0), 0);  // counts as a left-hand curve
  EXPECT_EQ(c->FindWallStrip(c->StartX(), c->StartY() + 1000), 0);  // only its start line
  EXPECT_FALSE(c->SetRadius(500000));  // the arc would have no length
  EXPECT_EQ(c->Radius, 2819674);
  EXPECT_TRUE(c->SetLength(984252));  // a length gives it a curvature again
  EXPECT_EQ(c->Curvature(), nearest(984252.0 / 2819674 * 1073741824.0 / Pi));
}

TEST(Degenerate, SectionsWithoutTracesOrWalls) {
  auto track = DefaultTrack();
  TSection* s = track->Section(0);
  s->Walls.clear();
  s->RecomputeDerived();
  ExpectFiniteGeometry(*s);
  Exercise(*s);
  EXPECT_FALSE(s->HitTest(1000, 0));

  TCurvedSection* c = ConvertToCurve(*track, 0);
  track->Traces.clear();
  c->Altitudes.clear();
  c->RecomputeDerived();
  ExpectFiniteGeometry(*c);
  Exercise(*c);
  EXPECT_TRUE(c->SetRadius(-1000));
}

TEST(Degenerate, GeometryFarBeyondThePlanGivesASaturatedBox) {
  // Traces one unit apart whose stored points lie at opposite ends of the int32
  // range: the lateral unit is some 4e9 units long, so the extreme walls land near
  // the int64 ends.
  auto track = DefaultTrack();
  TSection* s = track->Section(0);
  track->Traces = {1, 2};
  s->Altitude(0)->X = 2147483647;
  s->Altitude(1)->X = -2147483647 - 1;
  s->Wall(0)->From = s->Wall(0)->To = -2147483647 - 1;
  s->Wall(1)->From = s->Wall(1)->To = 2147483647;
  s->RecomputeDerived();
  EXPECT_EQ(s->Extent.left, -2147483647 - 1);
  EXPECT_EQ(s->Extent.right, 2147483647);
  Exercise(*s);
}

TEST(Degenerate, EditsThatWouldOverflowTheLengthAreRefused) {
  auto track = DefaultTrack();
  TCurvedSection* c = ConvertToCurve(*track, 0);
  ASSERT_TRUE(c->SetCurvature(2000000000));  // nearly a full turn
  // 2e9 * pi / 2^30 * 2e9 is far beyond a 32-bit length.
  EXPECT_FALSE(c->SetRadius(2000000000));
  EXPECT_GT(c->Length, 0);
  EXPECT_EQ(c->Radius, 2819674);
  // Trace radii are stored: a radius whose trace radii leave 32 bits is refused.
  EXPECT_FALSE(c->SetRadius(2147483647));
  EXPECT_FALSE(c->SetRadius(-2147483647));
  EXPECT_EQ(c->Radius, 2819674);
  // The most negative curvature cannot be negated: the sign would not change.
  ASSERT_TRUE(c->SetCurvature(-2147483647 - 1));
  EXPECT_FALSE(c->SetRadius(3000000));
  EXPECT_EQ(c->Curvature(), -2147483647 - 1);
}

}  // namespace
}  // namespace meridal
