// Centrelines: every kind of bad input refused with its place in the file; a
// known loop sampled with noise fitted back within the tolerance; two real
// circuits meeting the fit's goals; GPX and GeoJSON of one loop giving one track;
// heights from a GPX lap; and the exported centreline fitted back to its shape.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>

#include "check/track_check.h"
#include "model/track.h"
#include "solve/centreline.h"
#include "solve/centreline_export.h"
#include "solve/centreline_fit.h"
#include "support/track_builders.h"

namespace meridal {
namespace {

std::string Error(std::string_view text, CentrelineFormat format) {
  const TCentrelineRead read = ReadCentreline(text, format, 12);
  EXPECT_FALSE(read.ok);
  return read.error;
}

// x,y lines of a stadium: two 200 m straights and two half circles of 60 m, a
// point every `step` metres, with a deterministic wobble of up to `noise` metres.
std::vector<std::pair<double, double>> Stadium(double step, double noise) {
  std::vector<std::pair<double, double>> points;
  const double straight = 200, radius = 60, pi = std::numbers::pi;
  const double total = 2 * straight + 2 * pi * radius;
  for (int i = 0; i * step < total; ++i) {
    double s = i * step, x = 0, y = 0;
    if (s < straight) {
      x = s, y = 0;
    } else if ((s -= straight) < pi * radius) {
      x = straight + radius * std::sin(s / radius), y = radius - radius * std::cos(s / radius);
    } else if ((s -= pi * radius) < straight) {
      x = straight - s, y = 2 * radius;
    } else {
      s -= straight;
      x = -radius * std::sin(s / radius), y = radius + radius * std::cos(s / radius);
    }
    const double wobble = noise * std::sin(i * 12.9898) * std::cos(i * 78.233);
    points.emplace_back(x + wobble, y - wobble);
  }
  return points;
}

std::string Csv(const std::vector<std::pair<double, double>>& points) {
  std::ostringstream csv;
  csv.precision(10);
  for (const auto& [x, y] : points) csv << x << "," << y << "\n";
  return csv.str();
}

// The stadium in latitude and longitude about a point in Bavaria: at 49.4 degrees
// north a degree of latitude is 111216.0 m and one of longitude 72583.5 m.
void Geographic(const std::vector<std::pair<double, double>>& points, std::string& gpx, std::string& geojson,
                bool heights) {
  std::ostringstream g, j;
  g.precision(12);
  j.precision(12);
  g << "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\"><trk><name>lap</name><trkseg>\n";
  j << "{\"type\": \"Feature\", \"geometry\": {\"type\": \"LineString\", \"coordinates\": [";
  for (size_t i = 0; i <= points.size(); ++i) {  // the lap ends on its first point
    const auto& [x, y] = points[i % points.size()];
    const double lat = 49.4 + y / 111216.0, lon = 11.1 + x / 72583.5;
    const double ele = 300 + 4 * std::sin(2 * std::numbers::pi * double(i % points.size()) / double(points.size()));
    g << "<trkpt lat=\"" << lat << "\" lon=\"" << lon << "\">";
    if (heights) g << "<ele>" << ele << "</ele>";
    g << "</trkpt>\n";
    j << (i ? "," : "") << "[" << lon << "," << lat << "]";
  }
  g << "</trkseg></trk></gpx>\n";
  j << "]}, \"properties\": {}}";
  gpx = g.str();
  geojson = j.str();
}

int JoinProblems(const TTrack& track) {
  int count = 0;
  for (const TTrackProblem& p : CheckTrack(track)) {
    const bool problem = p.IsPosition() || p.kind == ProblemKind::WallJump || p.kind == ProblemKind::HeightStep;
    EXPECT_FALSE(problem) << ProblemText(p);
    count += problem;
  }
  return count;
}

TEST(Centreline, EveryKindOfBadInputIsRefusedWithItsPlace) {
  const std::string eight = "0,0\n5,0\n10,1\n15,3\n20,6\n25,10\n20,14\n10,14\n";
  EXPECT_EQ(Error("0,0\n1,0\n2,1\n", CentrelineFormat::Csv), "3 points: a centreline needs at least 8");
  EXPECT_EQ(Error("# x_m,y_m\n0,0\n1,abc\n", CentrelineFormat::Csv), "line 3: 'abc' is not a number");
  EXPECT_EQ(Error("0,0\nnan,1\n", CentrelineFormat::Csv), "line 2: 'nan' is not a number");
  EXPECT_EQ(Error("0,0\n1,2,3\n", CentrelineFormat::Csv), "line 2: 3 fields; a point has x,y or x,y,right width,left width");
  EXPECT_EQ(Error("0,0,5,5\n1,1\n", CentrelineFormat::Csv), "line 2: 2 fields where line 1 has 4");
  EXPECT_EQ(Error("0,0,5,-1\n", CentrelineFormat::Csv), "line 1: the widths must be more than 0 m");
  EXPECT_EQ(Error(eight + "5,14\n10,14.01\n", CentrelineFormat::Csv), "line 9: the line doubles back on itself");
  std::string huge;
  for (int i = 0; i <= 100000; ++i) huge += std::to_string(i) + ",0\n";
  EXPECT_EQ(Error(huge, CentrelineFormat::Csv), "line 100001: more than 100000 points");

  EXPECT_EQ(Error("<gpx><trk><trkseg><trkpt lat=\"1\"></trkseg></trk></gpx>", CentrelineFormat::Gpx).substr(0, 31),
            "line 1: not well-formed XML (Er");
  EXPECT_EQ(Error("<gpx>\n<trk><trkseg>\n<trkpt lat=\"1\"/></trkseg></trk></gpx>", CentrelineFormat::Gpx),
            "line 3: trkpt without lon");
  EXPECT_EQ(Error("<gpx><trk><trkseg><trkpt lat=\"95\" lon=\"1\"/></trkseg></trk></gpx>", CentrelineFormat::Gpx),
            "line 1: trkpt lat 95 is out of range");
  EXPECT_EQ(Error("<kml/>", CentrelineFormat::Gpx), "line 1: no gpx element");
  EXPECT_EQ(Error("{\"type\": \"Point\", \"coordinates\": [1, 2]}", CentrelineFormat::GeoJson),
            "the top level is not a LineString, Feature or FeatureCollection");
  EXPECT_EQ(Error("{\"type\": \"FeatureCollection\", \"features\": [{\"type\": \"Feature\", \"geometry\": "
                  "{\"type\": \"LineString\", \"coordinates\": [[1, 2], [1, \"x\"]]}}]}",
                  CentrelineFormat::GeoJson),
            "features[0].geometry.coordinates[1]: \"x\" is not a number");
  EXPECT_EQ(Error("{\"type\": \n[", CentrelineFormat::GeoJson), "line 2: not valid JSON");
  EXPECT_EQ(Error("{\"type\": \"LineString\",\n\"coordinates\": [[1e999, 2]]}", CentrelineFormat::GeoJson),
            "line 2: a number too large to hold");

  // Repeated points are dropped with a word; a lap may end on its first point.
  const TCentrelineRead read = ReadCentreline(eight + "10,14\n", CentrelineFormat::Csv, 10);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.warnings, std::vector<std::string>{"line 9: repeated point dropped"});
  EXPECT_EQ(read.line.Size(), 8u);
  EXPECT_EQ(read.line.right[0], 5.0);
  // Many repeats are one word, where the first was.
  std::string repeats = eight;
  for (int i = 0; i < 1159; ++i) repeats += "10,14\n";
  EXPECT_EQ(ReadCentreline(repeats, CentrelineFormat::Csv, 10).warnings,
            std::vector<std::string>{"line 9: repeated point dropped, and 1158 more after it"});
  EXPECT_EQ(SniffCentrelineFormat("  <?xml"), CentrelineFormat::Gpx);
  EXPECT_EQ(SniffCentrelineFormat("{}"), CentrelineFormat::GeoJson);
  EXPECT_EQ(CentrelineFormatOfPath("a/lap.GPX"), CentrelineFormat::Gpx);
}

TEST(Centreline, AKnownLoopSampledWithNoiseComesBackWithinTheTolerance) {
  for (double tolerance : {0.5, 0.2}) {
    const TCentrelineRead read = ReadCentreline(Csv(Stadium(5, 0.05)), CentrelineFormat::Csv, 12);
    ASSERT_TRUE(read.ok) << read.error;
    const TFitResult fit = FitCentreline(read.line, {tolerance, 3});
    ASSERT_TRUE(fit.ok) << fit.error;
    EXPECT_LE(fit.summary.largest, tolerance);
    EXPECT_LE(fit.summary.sections, 8);  // two straights, two half circles, and a little more
    EXPECT_EQ(JoinProblems(*fit.track), 0);
    // Section 0 starts at the first point, heading along the line.
    const TSection& first = *fit.track->Section(0);
    EXPECT_NEAR(first.StartX(), 0, 1);
    EXPECT_NEAR(first.StartY(), 0, 1);
    EXPECT_LT(std::abs(first.Orientation), 11930465);  // within a degree of east
    EXPECT_EQ(fit.track->Traces, (std::vector<int32_t>{-118110, 0, 118110}));
  }
}

TEST(Centreline, RealCircuitsMeetTheFitsGoals) {
#ifdef MERIDAL_SANITIZE_BUILD
  const char* const names[] = {"Norisring"};  // unoptimised and checked, a fit takes minutes
#else
  // Catalunya and Zandvoort: a straight whose traces lie unevenly about its zero
  // line, and the loop's own joint, each once left a stored unit open.
  const char* const names[] = {"Norisring", "Hockenheim", "Catalunya", "Zandvoort"};
#endif
  for (const char* name : names) {
    const TCentrelineRead read = ReadCentrelineFile(std::string(MERIDAL_TEST_DATA) + "/centrelines/" + name + ".csv", 12);
    ASSERT_TRUE(read.ok) << read.error;
    const TFitResult fit = FitCentreline(read.line, {1.0, 3});
    ASSERT_TRUE(fit.ok) << fit.error;
    EXPECT_LE(fit.summary.largest, 1.0) << name;
    EXPECT_LE(fit.summary.rms, 0.35) << name;
    EXPECT_LE(fit.summary.sections / (fit.summary.length / 1000), 35) << name;
    for (const TTrackProblem& p : CheckTrack(*fit.track))
      EXPECT_FALSE(p.IsPosition() || p.kind == ProblemKind::WallJump) << name << ": " << ProblemText(p);
  }
}

TEST(Centreline, GpxAndGeoJsonOfOneLoopGiveOneTrackAndGpxHeightsGetThrough) {
  std::string gpx, geojson, flat;
  Geographic(Stadium(5, 0), gpx, geojson, true);
  const TCentrelineRead a = ReadCentreline(gpx, CentrelineFormat::Gpx, 10);
  const TCentrelineRead b = ReadCentreline(geojson, CentrelineFormat::GeoJson, 10);
  ASSERT_TRUE(a.ok && b.ok) << a.error << b.error;
  EXPECT_TRUE(a.warnings.empty());
  TFitOptions absolute{0.5, 3};
  absolute.heights = HeightDatum::Absolute;
  const TFitResult fa = FitCentreline(a.line, absolute), fb = FitCentreline(b.line, {0.5, 3});
  ASSERT_TRUE(fa.ok && fb.ok);
  ASSERT_EQ(fa.track->NumberOfSections(), fb.track->NumberOfSections());
  for (int s = 0; s < fa.track->NumberOfSections(); ++s) {
    EXPECT_NEAR(fa.track->Section(s)->StartX(), fb.track->Section(s)->StartX(), 1968.5);  // 0.1 m
    EXPECT_NEAR(fa.track->Section(s)->StartY(), fb.track->Section(s)->StartY(), 1968.5);
  }
  // The projection keeps the loop's size: 400 m of straights, 2 pi 60 m of turns.
  EXPECT_NEAR(fa.summary.length, 400 + 2 * std::numbers::pi * 60, 0.5);

  // The GPX lap's heights: continuous cubics near the smoothed input; the
  // GeoJSON without heights stays level.
  ASSERT_TRUE(a.line.HasHeights());
  EXPECT_LE(fa.summary.heights.largest, 0.1);
  EXPECT_EQ(JoinProblems(*fa.track), 0);
  double highest = -1e9, lowest = 1e9;
  for (const auto& section : fa.track->Sections) {
    highest = std::max<double>(highest, section->Altitude(1)->HeightAtStart);
    lowest = std::min<double>(lowest, section->Altitude(1)->HeightAtStart);
  }
  EXPECT_GT(highest - lowest, 6 * 19685.0);  // +-4 m about 300 m
  EXPECT_NEAR(lowest, 296 * 19685.04, 0.2 * 19685.04);
  for (const auto& section : fb.track->Sections) EXPECT_EQ(section->Altitude(0)->HeightAtStart, 0);
}

TEST(Centreline, TheExportedCentrelineFitsBackToItsShape) {
  auto track = testing::Stadium();  // 50 m straights, half turns of 50 m radius, walls 5 m out
  const std::string csv = CentrelineCsv(*track, 5);
  EXPECT_EQ(csv.substr(0, csv.find('\n', csv.find('\n') + 1) + 1),
            "# x_m,y_m,w_tr_right_m,w_tr_left_m\n0.000000,0.000000,5.000,5.000\n");
  EXPECT_EQ(CentrelineCsv(*track, 0), "");
  const TCentrelineRead read = ReadCentreline(csv, CentrelineFormat::Csv, 12);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.line.Size(), 83u);  // 100 m + 100 pi m, every 5 m
  const TFitResult fit = FitCentreline(read.line, {0.1, 2});
  ASSERT_TRUE(fit.ok) << fit.error;
  EXPECT_LE(fit.summary.largest, 0.1);
  EXPECT_LE(fit.summary.sections, 6);
  EXPECT_EQ(fit.track->Section(0)->Wall(0)->From, -98425);
  EXPECT_EQ(fit.track->Section(0)->Wall(1)->From, 98425);
}

}  // namespace
}  // namespace meridal
