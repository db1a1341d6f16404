#pragma once
// The line of least curvature: within each station's drivable run (less half
// the vehicle's line width at each edge), the offsets across the track whose
// line has the least sum of squared curvature over its length, each turn also
// kept within the vehicle's greatest curvature where the road allows it.
//
// The curvature of the line through three neighbouring points is linearised
// about the line in hand; the sum of its squares is then a quadratic of the
// offsets with a banded (cyclic pentadiagonal) Hessian, which IPOPT solves with
// the bounds. The line found is linearised about again, until the curvature
// changes by less than kCurvatureSettled anywhere between two solves and the sum
// by less than kSumSettled of itself: on a gentle track every curvature changes
// by less than the first from the very first solve, long before the line is
// found. Each solve moves the line no further than the linearisation held
// before (a trust region), so that the sum falls at every solve kept.
//
//   TLineSolve solve = MinCurvatureLine(stations, vehicle, &cancel);
//   if (solve.ok) LinePath(stations, solve.offsets);
#include <string>
#include <vector>

namespace meridal {

class TTrackStations;
struct TVehicle;
class TCancelFlag;

constexpr double kCurvatureSettled = 0.01;  // rad/m
constexpr double kSumSettled = 0.001;
constexpr int kMostSolves = 30;

struct TLineSolve {
  bool ok = false;
  bool cancelled = false;
  std::string error;
  std::vector<std::string> warnings;
  std::vector<double> offsets;  // metres across at each station
  int solves = 0;
  double change = 0;  // rad/m: the last solve's greatest change of curvature
};

// The bounds of the line at every station: the drivable run less half the line
// width from each edge, both the run's middle where it is narrower than that.
void LineBounds(const TTrackStations& stations, const TVehicle& vehicle, std::vector<double>& lo,
                std::vector<double>& hi);

TLineSolve MinCurvatureLine(const TTrackStations& stations, const TVehicle& vehicle,
                            const TCancelFlag* cancel = nullptr);

}  // namespace meridal
