#pragma once
// How fast a point mass drives a line round the closed lap, quasi-steady: at
// every point the speed the tyres allow in the turn, then a forward pass
// (accelerating, limited by the tyres, the machine and drag) and a backward pass
// (braking, limited by the tyres, helped by drag), round the lap until they hold
// all the way round. The lap time takes the acceleration constant over each step,
// and no step is longer than kStationStep (longer ones are cut).
//
// The ground counts: the grade takes or gives g sin(grade) along the line; the
// cross-fall adds g sin(bank) to the lateral grip in a turn banked inward and takes
// it away in one banked outward; the ground's curvature along the line scales the
// tyres' grip by the load, 1 + v^2 k_v / g (a crest lightens the car, a dip loads
// it). On flat ground every one of these is exactly nothing.
#include <optional>
#include <vector>

namespace meridal {

struct TLinePath;
struct TLinePoint;
struct TVehicle;
class TCancelFlag;

constexpr double kGravity = 9.81;
// No point of a lap is driven slower: a corner the car cannot hold at all is
// crawled round rather than never left.
constexpr double kLeastSpeed = 1.0;

struct TSpeedTrace {
  std::vector<double> v;     // m/s at each point of the line
  std::vector<double> ax;    // m/s^2 from each point to the next
  std::vector<double> time;  // s from the first point to each point
  double lapTime = 0;
};

// The greatest speed the tyres allow at a point of the line (at most v_max).
double CorneringSpeed(const TLinePoint& point, const TVehicle& vehicle);

// Nothing when cancelled.
std::optional<TSpeedTrace> SpeedTrace(const TLinePath& path, const TVehicle& vehicle,
                                      const TCancelFlag* cancel = nullptr);

}  // namespace meridal
