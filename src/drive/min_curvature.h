#pragma once
// The line of least curvature: within each station's drivable run (less half
// the vehicle's line width at each edge), the offsets across the track whose
// line has the least sum of squared curvature over its length, each turn also
// kept within the vehicle's greatest curvature where the road allows it.
//
// The curvature at a station is that of the circle through the line's points at
// it and its two neighbours. IPOPT minimises the sum of their squares directly:
// at every iteration it linearises the curvatures afresh about the line in hand
// (their gradients give a banded, cyclic pentadiagonal Hessian), and it stops
// when the line is optimal to its tolerance and the curvature changed by less
// than kCurvatureSettled anywhere between the last two linearisations.
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

struct TLineSolve {
  bool ok = false;
  bool cancelled = false;
  std::string error;
  std::vector<std::string> warnings;
  std::vector<double> offsets;  // metres across at each station
  int linearisations = 0;
  double change = 0;  // rad/m: the greatest change of curvature between the last two
};

// The bounds of the line at every station: the drivable run less half the line
// width from each edge, both the run's middle where it is narrower than that.
void LineBounds(const TTrackStations& stations, const TVehicle& vehicle, std::vector<double>& lo,
                std::vector<double>& hi);

TLineSolve MinCurvatureLine(const TTrackStations& stations, const TVehicle& vehicle,
                            const TCancelFlag* cancel = nullptr);

}  // namespace meridal
