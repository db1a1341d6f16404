#include "drive/line_path.h"

#include <cmath>

#include "drive/track_stations.h"

namespace meridal {

double CircleCurvature(double ax, double ay, double bx, double by, double cx, double cy) {
  const double ux = bx - ax, uy = by - ay, wx = cx - bx, wy = cy - by;
  const double a = std::hypot(ux, uy), b = std::hypot(wx, wy), c = std::hypot(cx - ax, cy - ay);
  const double d = a * b * c;
  if (!(d > 0)) return 0;
  return 2.0 * (ux * wy - uy * wx) / d;
}

void LineCurvatures(const TTrackStations& stations, const std::vector<double>& offsets, std::vector<double>& kappa) {
  const size_t n = stations.Size();
  kappa.assign(n, 0.0);
  if (n < 3) return;
  for (size_t i = 0; i < n; ++i) {
    const size_t prev = i == 0 ? n - 1 : i - 1, next = i + 1 == n ? 0 : i + 1;
    const TPointD a = stations.PointAt(prev, offsets[prev]), b = stations.PointAt(i, offsets[i]),
                  c = stations.PointAt(next, offsets[next]);
    kappa[i] = CircleCurvature(a.x, a.y, b.x, b.y, c.x, c.y);
  }
}

TLinePath LinePath(const TTrackStations& stations, const std::vector<double>& offsets) {
  TLinePath path;
  const size_t n = stations.Size();
  path.points.resize(n);
  std::vector<double> kappa;
  LineCurvatures(stations, offsets, kappa);
  for (size_t i = 0; i < n; ++i) {
    TLinePoint& p = path.points[i];
    p.station = i;
    p.n = offsets[i];
    const TPointD at = stations.PointAt(i, p.n);
    p.x = at.x;
    p.y = at.y;
    p.kappa = kappa[i];
    p.grip = stations.GripAt(i, p.n);
    const TGroundAt ground = stations.GroundAt(i, p.n);
    p.height = ground.height;
    // Along the section, per metre of the line: a point across the track moves
    // |dP/dt| metres per unit of t, the same all along a straight or an arc.
    const double speed = stations.SpeedAlong(i, p.n);
    if (speed > 0) {
      const double grade = ground.rise / speed;
      p.sinGrade = grade / std::sqrt(1.0 + grade * grade);
      p.vertical = ground.bend / (speed * speed);
    }
    p.sinCross = ground.cross / std::sqrt(1.0 + ground.cross * ground.cross);
  }
  double s = 0;
  for (size_t i = 0; i < n; ++i) {
    TLinePoint& p = path.points[i];
    const TLinePoint& q = path.points[i + 1 == n ? 0 : i + 1];
    p.s = s;
    // The way along the ground, up and down hills too.
    p.step = std::hypot(std::hypot(q.x - p.x, q.y - p.y), q.height - p.height);
    s += p.step;
  }
  path.length = s;
  return path;
}

}  // namespace meridal
