#include "drive/lap.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "drive/cancel_flag.h"
#include "drive/min_curvature.h"
#include "drive/track_stations.h"
#include "drive/vehicle.h"

namespace meridal {

namespace {

struct TLineName {
  TLineKind kind;
  const char* name;
};
constexpr TLineName kLineNames[] = {{TLineKind::Centre, "centre"}, {TLineKind::MinCurvature, "min-curvature"}};

// The time from the start to the point s metres along the line, the
// acceleration constant over each step.
double TimeAt(const TLinePath& line, const TSpeedTrace& speed, double s) {
  const auto& p = line.points;
  size_t i = size_t(std::upper_bound(p.begin(), p.end(), s, [](double x, const TLinePoint& q) { return x < q.s; }) -
                    p.begin());
  i = i == 0 ? 0 : i - 1;
  const double x = std::clamp(s - p[i].s, 0.0, p[i].step);
  const double v0 = speed.v[i];
  const double v1 = std::sqrt(std::max(0.0, v0 * v0 + 2 * speed.ax[i] * x));
  return speed.time[i] + (v0 + v1 > 0 ? 2 * x / (v0 + v1) : 0);
}

void Summarise(const TTrackStations& stations, TLap& lap) {
  const TSpeedTrace& sp = lap.speed;
  lap.lapTime = sp.lapTime;
  lap.topSpeed = *std::max_element(sp.v.begin(), sp.v.end());
  lap.lowestSpeed = *std::min_element(sp.v.begin(), sp.v.end());
  for (const TLinePoint& p : lap.line.points) lap.greatestCurvature = std::max(lap.greatestCurvature, std::fabs(p.kappa));
  const double a = TimeAt(lap.line, sp, lap.line.length / 3), b = TimeAt(lap.line, sp, 2 * lap.line.length / 3);
  lap.thirds[0] = a;
  lap.thirds[1] = b - a;
  lap.thirds[2] = sp.lapTime - b;
  lap.corners = FindCorners(stations, lap.line, sp);
}

}  // namespace

std::optional<TLineKind> LineKindOfName(std::string_view name) {
  for (const TLineName& n : kLineNames)
    if (name == n.name) return n.kind;
  return std::nullopt;
}

const char* LineKindName(TLineKind kind) {
  for (const TLineName& n : kLineNames)
    if (kind == n.kind) return n.name;
  return "";
}

std::vector<TCorner> FindCorners(const TTrackStations& stations, const TLinePath& line, const TSpeedTrace& speed) {
  std::vector<TCorner> corners;
  const size_t n = speed.v.size();
  if (n < 3) return corners;
  // From the fastest point round the lap: a corner is a low between two highs,
  // each at least kCornerDrop above it.
  const size_t top = size_t(std::max_element(speed.v.begin(), speed.v.end()) - speed.v.begin());
  double high = speed.v[top];
  size_t low = top;
  bool falling = true;  // looking for the next low
  for (size_t m = 1; m <= n; ++m) {
    const size_t i = (top + m) % n;
    const double v = speed.v[i];
    if (falling) {
      if (v > high && speed.v[low] > high - kCornerDrop) {  // still climbing to the high
        high = v;
        low = i;
      } else if (v < speed.v[low]) {
        low = i;
      } else if (high - speed.v[low] >= kCornerDrop && v >= speed.v[low] + kCornerDrop) {
        const TLinePoint& p = line.points[low];
        corners.push_back({low, stations.stations[p.station].section, speed.v[low]});
        falling = false;
        high = v;
      }
    } else {
      high = std::max(high, v);
      if (v <= high - kCornerDrop) {
        falling = true;
        low = i;
      }
    }
  }
  std::sort(corners.begin(), corners.end(), [](const TCorner& a, const TCorner& b) { return a.point < b.point; });
  return corners;
}

TLap DriveLap(const TTrackStations& stations, const TVehicle& vehicle, TLineKind kind, const TCancelFlag* cancel) {
  const auto began = std::chrono::steady_clock::now();
  TLap lap;
  lap.kind = kind;
  lap.warnings = stations.warnings;
  if (stations.Size() < 3) {
    lap.error = "the track has too few points to drive";
    return lap;
  }
  std::vector<double> offsets(stations.Size(), 0.0);
  if (kind == TLineKind::MinCurvature) {
    TLineSolve solve = MinCurvatureLine(stations, vehicle, cancel);
    lap.cancelled = solve.cancelled;
    lap.linearisations = solve.linearisations;
    lap.warnings.insert(lap.warnings.end(), solve.warnings.begin(), solve.warnings.end());
    if (!solve.ok) {
      lap.error = solve.error;
      return lap;
    }
    offsets = std::move(solve.offsets);
  }
  lap.line = LinePath(stations, offsets);
  auto speed = SpeedTrace(lap.line, vehicle, cancel);
  if (!speed) {
    lap.cancelled = true;
    return lap;
  }
  lap.speed = std::move(*speed);
  Summarise(stations, lap);
  lap.solveSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  lap.ok = true;
  return lap;
}

}  // namespace meridal
