// Measuring on the plan: the straight line's length and bearing, and the
// distance along the track between two points placed on the stadium.
#include "measure/track_distance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "model/units.h"
#include "support/track_builders.h"

namespace meridal {
namespace {

constexpr double kMetre = kUnitsPerMeter;

// A point of a section's zero line a fraction of the way along it, pushed
// sideways by `aside` track units (on an arc: away from its centre).
std::pair<double, double> PointOn(const TSection& section, double t, double aside = 0) {
  if (const auto* arc = dynamic_cast<const TCurvedSection*>(&section)) {
    const double a = arc->StartAngle + t * arc->SweptAngle();
    const double r = arc->Radius + (arc->Radius < 0 ? -aside : aside);
    return {arc->LocalToX(a, r), arc->LocalToY(a, r)};
  }
  return {section.LocalToX(t * section.Length, aside), section.LocalToY(t * section.Length, aside)};
}

TEST(TrackDistance, AlongTheStadiumTheShorterWayRound) {
  const auto track = testing::Stadium();
  const TTrackDistance along(*track);
  ASSERT_TRUE(along.Closed());
  const double straight = track->Section(0)->Length, bend = track->Section(1)->Length;
  EXPECT_NEAR(along.TotalLength(), 2 * straight + 2 * bend, 1e-6);

  // Half-way along the first straight, to half-way round the first bend, 3 m
  // outside it: the point off the line is placed where it is nearest.
  const auto [x0, y0] = PointOn(*track->Section(0), 0.5);
  const auto [x1, y1] = PointOn(*track->Section(1), 0.5, 3 * kMetre);
  const auto place = along.Place(x1, y1);
  ASSERT_TRUE(place);
  EXPECT_EQ(place->section, 1);
  EXPECT_NEAR(place->offset, 3 * kMetre, 1.0);
  EXPECT_NEAR(*along.Between(x0, y0, x1, y1), straight / 2 + bend / 2, 2.0);
  EXPECT_NEAR(*along.Between(x1, y1, x0, y0), straight / 2 + bend / 2, 2.0);

  // From 5 m into the first straight back across the start line to 10 % before
  // the end of the last bend: the short way, not the lap less it.
  const auto [x2, y2] = PointOn(*track->Section(0), 5 * kMetre / straight);
  const auto [x3, y3] = PointOn(*track->Section(3), 0.9);
  EXPECT_NEAR(*along.Between(x2, y2, x3, y3), 5 * kMetre + 0.1 * bend, 2.0);
}

TEST(TrackDistance, AnOpenTrackAndAnEmptyOne) {
  auto track = testing::DefaultTrack();  // one 50 m straight
  const TTrackDistance along(*track);
  EXPECT_FALSE(along.Closed());
  // Beyond the ends, the ends count.
  const auto [x0, y0] = PointOn(*track->Section(0), -0.5);
  const auto [x1, y1] = PointOn(*track->Section(0), 0.25, 20 * kMetre);
  EXPECT_NEAR(*along.Between(x0, y0, x1, y1), 12.5 * kMetre, 1.0);

  track->Sections.clear();
  EXPECT_FALSE(TTrackDistance(*track).Between(0, 0, 1, 1));
}

TEST(TrackDistance, StraightLengthBearingAndTexts) {
  const std::pair<double, double> directions[] = {{0, 1}, {1, 0}, {0, -1}, {-1, 0}};
  const double bearings[] = {0, 90, 180, 270};
  for (int i = 0; i < 4; ++i) {
    const auto [dx, dy] = directions[i];
    const TStraightMeasure m = MeasureStraight(7, 7, 7 + dx * kMetre, 7 + dy * kMetre);
    EXPECT_NEAR(m.length, kMetre, 1e-6);
    EXPECT_NEAR(m.bearing, bearings[i], 1e-9) << i;
  }
  const TStraightMeasure m = MeasureStraight(0, 0, 3 * kMetre, 4 * kMetre);
  EXPECT_EQ(StraightMeasureText(m), "Distance 5.00 m, bearing 36.9\u00b0");
  EXPECT_EQ(AlongMeasureText(1234.5 * kMetre, m), "Along the track 1234.50 m (straight 5.00 m)");
  // A hair west of north reads as north, never 360.0.
  EXPECT_EQ(StraightMeasureText({kMetre, 359.97}), "Distance 1.00 m, bearing 0.0\u00b0");
  EXPECT_EQ(StraightMeasureText(MeasureStraight(1, 1, 1, 1)), "Distance 0.00 m, bearing 0.0\u00b0");
}

}  // namespace
}  // namespace meridal
