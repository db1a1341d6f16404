// Heights of a fitted circuit: a GPX lap of a real circuit's shape at several
// datums, with one hill and GPS noise, comes back smooth, near the hill's true
// shape and slope, in the datum asked for; flat input stays exactly flat; an ele
// beyond the Earth's range is refused with its line.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <random>
#include <sstream>

#include "check/track_check.h"
#include "model/track.h"
#include "model/units.h"
#include "solve/centreline.h"
#include "solve/centreline_fit.h"
#include "solve/geo_projection.h"
#include "mesh/section_mesh.h"
#include "support/norisring_lap.h"

namespace meridal {
namespace {

constexpr double kUnits = kUnitsPerMeter;

using testing::kLapLatitude;
using testing::kLapLongitude;
using testing::kMetresEast;
using testing::kMetresNorth;

// A 20 m hill of 330 m radius about the lap's 100th point, 20 (1 - (r/R)^2)^3,
// smooth where it meets the plain: its steepest slope, at r = R / sqrt(5), is
// 10.39 %.
struct THill {
  double x = 0, y = 0;
  double operator()(double px, double py) const {
    const double q = 1 - (std::pow(px - x, 2) + std::pow(py - y, 2)) / (330.0 * 330.0);
    return q <= 0 ? 0 : 20 * q * q * q;
  }
};
const double kHillSlope = 120 / std::sqrt(5.0) * 0.64 / 330;

// The lap as GPX at `datum` metres, with the hill and uniform noise of up to
// `noise` metres, a point every 1.25 m (a lap driven at 45 km/h with a logger
// of 10 points a second), four to each step of the centreline.
std::string NorisringGpx(double datum, double noise, bool hill = true, int perStep = 4) {
  const auto points = testing::NorisringPoints(perStep);
  const THill shape{points[size_t(100 * perStep)].first, points[size_t(100 * perStep)].second};
  std::mt19937 random(7);
  std::uniform_real_distribution<double> wobble(-noise, noise);
  return testing::LapGpx(points, [&](double x, double y) { return datum + (hill ? shape(x, y) : 0) + wobble(random); });
}

TFitResult Fit(const std::string& gpx, HeightDatum datum) {
  const TCentrelineRead read = ReadCentreline(gpx, CentrelineFormat::Gpx, 12);
  EXPECT_TRUE(read.ok) << read.error;
  TFitOptions options;
  options.tolerance = 1.0;
  options.heights = datum;
  return FitCentreline(read.line, options);
}

// The centre trace about every metre: the stored height and the hill's under
// it, and the hill's steepest slope along the trace.
struct TAlong {
  double worst = 0, hillSlope = 0, slope = 0;
};
TAlong CompareWithTheHill(const TTrack& track, double base) {
  const auto points = testing::NorisringPoints();
  const THill hill{points[100].first, points[100].second};
  const TLocalProjection projection(testing::LapLatitude(points[0].second), testing::LapLongitude(points[0].first));
  TAlong along;
  double lastX = 0, lastY = 0, lastHill = 0;
  bool first = true;
  for (int k = 0; k < track.NumberOfSections(); ++k) {
    const TAltitude& centre = *track.Section(k)->Altitude(1);
    along.slope = std::max(along.slope, centre.GreatestGradient());
    const int steps = std::max(4, int(centre.TraceLength() / kUnits));
    for (int i = 0; i < steps; ++i) {
      const auto p = SurfacePointAt(track, k, double(i) / steps, track.Traces[1]);
      EXPECT_TRUE(p.has_value());
      double latitude = 0, longitude = 0;
      projection.Reverse(p->x / kUnits, p->y / kUnits, latitude, longitude);
      const double x = (longitude - kLapLongitude) * kMetresEast, y = (latitude - kLapLatitude) * kMetresNorth;
      const double h = hill(x, y);
      along.worst = std::max(along.worst, std::fabs(p->height / kUnits - base - h));
      if (!first) along.hillSlope = std::max(along.hillSlope, std::fabs(h - lastHill) / std::hypot(x - lastX, y - lastY));
      first = false;
      lastX = x, lastY = y, lastHill = h;
    }
  }
  return along;
}

TEST(Heights, AGpxLapWithAHillAndNoiseComesBackSmoothAtEveryDatum) {
  for (const double datum : {400.0, 1800.0}) {
    const std::string gpx = NorisringGpx(datum, 1.5);
    for (const HeightDatum mode : {HeightDatum::Relative, HeightDatum::Absolute}) {
      const TFitResult fit = Fit(gpx, mode);
      ASSERT_TRUE(fit.ok) << fit.error;
      const TAlong along = CompareWithTheHill(*fit.track, mode == HeightDatum::Relative ? 0.0 : datum);
      EXPECT_LE(along.worst, 0.5) << datum;
      EXPECT_NEAR(along.hillSlope, kHillSlope, 0.002);  // the lap runs over the top
      EXPECT_NEAR(along.slope, along.hillSlope, 0.01) << datum;
      const THeightSummary& h = fit.summary.heights;
      EXPECT_TRUE(h.fitted);
      EXPECT_LE(h.greatestSlope, h.smoothedGreatestSlope + 0.01);
      // Measured against the input, noise and all: about the noise's RMS, 0.87 m.
      EXPECT_GT(h.largest, 1.0);
      EXPECT_NEAR(h.rms, 1.5 / std::sqrt(3.0), 0.15);
      for (const TTrackProblem& p : CheckTrack(*fit.track)) ADD_FAILURE() << datum << ": " << ProblemText(p);
      std::printf("datum %g %s: %d sections, %d split; heights within %.3f m of the hill; slope %.2f %% (hill %.2f %%); "
                  "against the input: largest %.3f m, RMS %.3f m\n",
                  datum, mode == HeightDatum::Relative ? "relative" : "absolute", fit.track->NumberOfSections(),
                  h.splits, along.worst, along.slope * 100, along.hillSlope * 100, h.largest, h.rms);
    }
  }
}

TEST(Heights, FlatInputIsFlatAndNoneAndTheEarthsExtremesAreKept) {
  const std::string flat = NorisringGpx(400, 0, false, 1);
  for (const HeightDatum mode : {HeightDatum::Relative, HeightDatum::None}) {
    const TFitResult fit = Fit(flat, mode);
    ASSERT_TRUE(fit.ok);
    EXPECT_EQ(fit.summary.heights.fitted, mode != HeightDatum::None);
    for (const auto& section : fit.track->Sections)
      for (const auto& a : section->Altitudes) {
        EXPECT_EQ(a->ThirdOrder, 0);
        EXPECT_EQ(a->SecondOrder, 0);
        EXPECT_EQ(a->FirstOrder, 0);
        EXPECT_EQ(a->HeightAtStart, 0);
      }
  }
  // The lowest and the highest a lap can reach, kept as they are.
  for (const double datum : {-500.0, 8980.0}) {
    const TFitResult fit = Fit(NorisringGpx(datum, 0, true, 1), HeightDatum::Absolute);
    ASSERT_TRUE(fit.ok);
    EXPECT_LE(CompareWithTheHill(*fit.track, datum).worst, 0.5);
  }
  // Beyond them: refused with the element's line.
  const TCentrelineRead high = ReadCentreline(NorisringGpx(9100, 0, false, 1), CentrelineFormat::Gpx, 12);
  EXPECT_FALSE(high.ok);
  EXPECT_EQ(high.error, "line 3: ele 9100 is out of range (-500 m to 9000 m)");
  std::string deep = "{\"type\": \"LineString\", \"coordinates\": [[11.1,49.4,-501]";
  for (int i = 1; i < 10; ++i) deep += ",[" + std::to_string(11.1 + 0.001 * std::sin(i)) + "," +
                                      std::to_string(49.4 + 0.001 * std::cos(i)) + ",0]";
  const TCentrelineRead low = ReadCentreline(deep + "]}", CentrelineFormat::GeoJson, 12);
  EXPECT_FALSE(low.ok);
  EXPECT_EQ(low.error, "coordinates[0]: height -501 is out of range (-500 m to 9000 m)");
}

}  // namespace
}  // namespace meridal
