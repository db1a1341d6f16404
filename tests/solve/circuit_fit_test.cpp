// The fit on circuits of every kind and on input no circuit has: each either
// fits within the tolerance with a clean check, or is refused with the place
// and the reason, in bounded time. Tight hairpins are followed and the track
// narrowed there; no section is shorter than asked but where the bends need
// it; a loop of arcs alone fits; and a fit can be stopped.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "check/track_check.h"
#include "model/curved_section.h"
#include "model/numbers.h"
#include "model/track.h"
#include "model/units.h"
#include "solve/centreline.h"
#include "solve/centreline_export.h"
#include "solve/centreline_fit.h"
#include "support/circuit_builders.h"

namespace meridal {
namespace {

using testing::Sampled;

// Monza's centreline as the racetrack database gives it, changed by `change`
// and read back as a file would be.
TCentrelineRead Monza(const std::function<void(TCentreline&)>& change, double width = 12) {
  const TCentrelineRead read = ReadCentrelineFile(std::string(MERIDAL_EXAMPLES_DIR) + "/Monza.csv", width);
  EXPECT_TRUE(read.ok) << read.error;
  TCentreline line = read.line;
  change(line);
  return ReadCentreline(testing::CircuitCsv(line), CentrelineFormat::Csv, width);
}

// Whatever the check finds at the joints: gaps, turns, wall jumps, walls out of
// order, the loop's own joint among them.
std::vector<std::string> JointProblems(const TTrack& track) {
  std::vector<std::string> found;
  for (const TTrackProblem& p : CheckTrack(track)) {
    if (p.IsPosition() || p.kind == ProblemKind::WallJump || p.kind == ProblemKind::WallOrder)
      found.push_back(ProblemText(p));
  }
  return found;
}

// Every arc's inner wall keeps `radius` metres from its centre, and so does every trace.
void ExpectInnerEdgesClearOfCentres(const TTrack& track, double radius, const std::string& name) {
  for (const auto& section : track.Sections) {
    if (!section->IsCurved()) continue;
    const double r = static_cast<const TCurvedSection&>(*section).Radius;
    const TWall& inner = *section->Wall(r > 0 ? 1 : 0);
    for (double w : {double(inner.From), double(inner.To), double(track.Traces.front()), double(track.Traces.back())}) {
      if ((r > 0) != (w > 0)) continue;  // on the outside of the bend
      EXPECT_GE(std::fabs(r) - std::fabs(w), radius * kUnitsPerMeter - 1)
          << name << ": section " << section->Number << " radius " << r / kUnitsPerMeter;
    }
  }
}

TEST(CircuitFit, CircuitsOfEveryKindFitWithinTheToleranceWithACleanCheck) {
  const testing::TCircuit circuits[] = {testing::HairpinCircuit(), testing::ChicaneCircuit(),
                                        testing::VaryingWidthCircuit(), testing::LongStraightCircuit(),
                                        testing::OvalCircuit(), testing::KartCircuit()};
  for (const testing::TCircuit& circuit : circuits) {
    // Each at both tolerances, driven each way, sampled every 5 m and every 2 m.
    for (const auto& [tolerance, sampling] : {std::pair{1.0, testing::TSampling{5, 0, false}},
                                              std::pair{0.5, testing::TSampling{2, 0, true}}}) {
      const std::string name = circuit.name + (sampling.clockwise ? " clockwise" : "");
      const TFitResult fit = FitCentreline(Sampled(circuit, sampling), {tolerance, 3});
      ASSERT_TRUE(fit.ok) << name << ": " << fit.error;
      EXPECT_LE(fit.summary.largest, tolerance) << name;
      EXPECT_LE(fit.summary.rms, 0.35 * tolerance) << name;
      EXPECT_LE(fit.summary.sections / (fit.summary.length / 1000), 35) << name;
      EXPECT_EQ(JointProblems(*fit.track), std::vector<std::string>{}) << name;
      int shortWarnings = 0;
      for (const std::string& w : fit.warnings) shortWarnings += w.find("shorter than 5 m") != std::string::npos;
      if (fit.summary.shortest < 5.0) {
        EXPECT_GT(shortWarnings, 0) << name;
      }
      ExpectInnerEdgesClearOfCentres(*fit.track, kInnerRadius, name);
    }
  }
}

TEST(CircuitFit, HairpinsTighterThanTheRoadAreFollowedAndTheirInsideNarrowed) {
  // Hairpins of 7 m and 6 m on the line, 9 m to each wall.
  const TFitResult fit = FitCentreline(Sampled(testing::HairpinCircuit(), {}), {1.0, 3});
  ASSERT_TRUE(fit.ok) << fit.error;
  EXPECT_GT(fit.summary.narrowed, 1);
  std::vector<std::string> narrowed;
  for (const std::string& w : fit.warnings)
    if (w.find(": narrowed by ") != std::string::npos) narrowed.push_back(w);
  ASSERT_EQ(int(narrowed.size()), fit.summary.narrowed);
  EXPECT_EQ(narrowed[0].substr(0, 8), "section ");
  EXPECT_NE(narrowed[0].find(" m on the left, so that the inside of a bend keeps a radius of 1 m"), std::string::npos)
      << narrowed[0];
  // The traces on the left come in for the whole lap, and say so.
  EXPECT_LT(fit.track->Traces.back(), 9 * kUnitsPerMeter);
  EXPECT_EQ(fit.track->Traces.front(), -nearest(9 * kUnitsPerMeter));
  ExpectInnerEdgesClearOfCentres(*fit.track, kInnerRadius, "hairpins");
  EXPECT_EQ(JointProblems(*fit.track), std::vector<std::string>{});
}

TEST(CircuitFit, InputNoCircuitHasEndsInAFitOrARefusalNamingThePlace) {
  // Half-widths of 12 m and of 500 m: followed, and narrowed where they must be.
  for (double half : {12.0, 500.0}) {
    const TCentrelineRead read = Monza([&](TCentreline& l) { l.right.assign(l.Size(), half), l.left.assign(l.Size(), half); });
    ASSERT_TRUE(read.ok) << read.error;
    const TFitResult fit = FitCentreline(read.line, {1.0, 3});
    ASSERT_TRUE(fit.ok) << half << ": " << fit.error;
    EXPECT_LE(fit.summary.largest, 1.0);
    EXPECT_EQ(JointProblems(*fit.track), std::vector<std::string>{});
    if (half == 500.0) {
      EXPECT_GT(fit.summary.narrowed, 10);
    }
  }
  // A width, an x or a size no track can take, refused before the fit.
  EXPECT_EQ(Monza([](TCentreline& l) { l.right[300] = 1e6; }).error,
            "line 302: a width of 1e+06 m is more than the 1000 m a side may have");
  EXPECT_EQ(Monza([](TCentreline& l) { l.left[300] = 1e308; }).error,
            "line 302: a width of 1e+308 m is more than the 1000 m a side may have");
  const TCentrelineRead far = Monza([](TCentreline& l) { l.x[300] = 1e308; });
  ASSERT_TRUE(far.ok) << far.error;
  EXPECT_EQ(FitCentreline(far.line, {1.0, 3}).error, "the lap is longer than the 109.09 km a track can hold");
  const TCentrelineRead huge = Monza([](TCentreline& l) {
    for (size_t i = 0; i < l.Size(); ++i) l.x[i] *= 30, l.y[i] *= 30;
  });
  ASSERT_TRUE(huge.ok) << huge.error;
  const TFitResult hugeFit = FitCentreline(huge.line, {1.0, 3});
  EXPECT_EQ(hugeFit.error, "the lap is 173.71 km long, more than the 109.09 km a track can hold");
  EXPECT_FALSE(hugeFit.track);
  // The first 600 points: an open line, said to be one.
  EXPECT_EQ(Monza([](TCentreline& l) {
              for (auto* v : {&l.x, &l.y, &l.right, &l.left}) v->resize(600);
            }).error.substr(0, 66),
            "line 601: the points do not form a loop: this last point is 1743.6");
  // A denormal coordinate is a coordinate: the lap fits.
  const TCentrelineRead tiny = Monza([](TCentreline& l) { l.x[1] = 4.9e-324; });
  ASSERT_TRUE(tiny.ok) << tiny.error;
  EXPECT_TRUE(FitCentreline(tiny.line, {1.0, 3}).ok);

  // A star of 100 points: no circuit's line. Refused with the place, the best
  // fit kept for a caller that wants it all the same.
  std::ostringstream star;
  for (int i = 0; i < 100; ++i) {
    const double a = 2 * std::numbers::pi * i / 100, r = i % 2 ? 200 : 300;
    star << r * std::cos(a) << "," << r * std::sin(a) << "\n";
  }
  const TCentrelineRead read = ReadCentreline(star.str(), CentrelineFormat::Csv, 12);
  ASSERT_TRUE(read.ok) << read.error;
  const TFitResult fit = FitCentreline(read.line, {1.0, 3});
  EXPECT_FALSE(fit.ok);
  EXPECT_TRUE(fit.track);
  EXPECT_EQ(fit.error.substr(0, 13), "the track is ");
  EXPECT_NE(fit.error.find(" m along the lap (x "), std::string::npos) << fit.error;
  EXPECT_NE(fit.error.find("), more than the tolerance of 1 m: "), std::string::npos) << fit.error;
}

TEST(CircuitFit, ALoopOfArcsAloneFitsAndItsExportFitsBack) {
  for (int points : {12, 120}) {
    std::ostringstream circle;
    for (int i = 0; i < points; ++i)
      circle << 80 * std::cos(2 * std::numbers::pi * i / points) << "," << 80 * std::sin(2 * std::numbers::pi * i / points) << "\n";
    const TCentrelineRead read = ReadCentreline(circle.str(), CentrelineFormat::Csv, 12);
    ASSERT_TRUE(read.ok) << read.error;
    const TFitResult fit = FitCentreline(read.line, {0.1, 3});
    ASSERT_TRUE(fit.ok) << points << ": " << fit.error;
    EXPECT_GE(fit.summary.sections, 2);
    for (const auto& section : fit.track->Sections) EXPECT_TRUE(section->IsCurved());
    EXPECT_EQ(JointProblems(*fit.track), std::vector<std::string>{});
    // Its centreline back out, fitted again: the same loop of arcs.
    const TCentrelineRead back = ReadCentreline(CentrelineCsv(*fit.track, 5), CentrelineFormat::Csv, 12);
    ASSERT_TRUE(back.ok) << back.error;
    const TFitResult again = FitCentreline(back.line, {0.1, 3});
    ASSERT_TRUE(again.ok) << again.error;
    EXPECT_NEAR(again.summary.length, 2 * std::numbers::pi * 80, 1.0);
  }
}

TEST(CircuitFit, ADenseLapIsMeasuredOnEveryPointItsSearchSkipped) {
  // A point every 5 cm, with a bump of 0.55 m on the first straight whose top
  // lies between the points the search takes (about one a metre).
  TCentreline line = Sampled(testing::ChicaneCircuit(), {0.05});
  for (size_t i = 0; i < line.Size(); ++i)
    line.y[i] += 0.55 * std::exp(-(line.x[i] - 400.5) * (line.x[i] - 400.5) / (2 * 0.3 * 0.3));
  const TFitResult fit = FitCentreline(line, {0.5, 3});
  ASSERT_TRUE(fit.ok) << fit.error;
  EXPECT_LE(fit.summary.largest, 0.5);
  EXPECT_EQ(fit.sourceX.size(), line.Size());
  EXPECT_EQ(JointProblems(*fit.track), std::vector<std::string>{});
}

TEST(CircuitFit, NoSectionIsShorterThanAskedAndAFitCanBeStopped) {
  const TCentreline line = Sampled(testing::KartCircuit(), {});
  TFitOptions options{0.5, 3};
  options.minLength = 12;
  const TFitResult fit = FitCentreline(line, options);
  ASSERT_TRUE(fit.ok) << fit.error;
  std::vector<std::string> named;
  for (const std::string& w : fit.warnings)
    if (w.find("shorter than 12 m") != std::string::npos) named.push_back(w);
  int shorter = 0;
  for (const auto& section : fit.track->Sections) {
    const double length = section->IsCurved() ? static_cast<const TCurvedSection&>(*section).SweptAngle() *
                                                    static_cast<const TCurvedSection&>(*section).Radius
                                              : double(section->Length);
    shorter += length < 12 * kUnitsPerMeter - 1;
  }
  EXPECT_EQ(shorter, int(named.size()));

  // A progress that says stop: the fit ends at once, nothing made.
  std::vector<double> seen;
  options.progress = [&](double done) {
    seen.push_back(done);
    return seen.size() < 5;
  };
  const TFitResult stopped = FitCentreline(line, options);
  EXPECT_FALSE(stopped.ok);
  EXPECT_EQ(stopped.error, "the fit was stopped");
  EXPECT_FALSE(stopped.track);
  ASSERT_EQ(seen.size(), 5u);
  for (size_t i = 1; i < seen.size(); ++i) EXPECT_GE(seen[i], seen[i - 1]);
}

}  // namespace
}  // namespace meridal
