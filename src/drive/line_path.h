#pragma once
// A line round the lap, given by how far it runs across the track at every
// station, as the speed trace needs it: its points, the steps between them, its
// curvature and what the ground does under it.
//
//   std::vector<double> offsets(stations.Size(), 0.0);   // the zero line
//   TLinePath line = LinePath(stations, offsets);
#include <cstddef>
#include <vector>

namespace meridal {

class TTrackStations;

struct TLinePoint {
  size_t station = 0;
  double n = 0;         // metres across, from the zero line
  double x = 0, y = 0;  // plan metres
  double s = 0;         // metres along the line from its first point
  double step = 0;      // metres to the next point (the last: to the first)
  double kappa = 0;     // 1/m, positive turning left
  double grip = 1;      // of the surface under it
  double height = 0;    // metres
  double sinGrade = 0;  // rising ahead
  double sinCross = 0;  // the ground rising to the left
  double vertical = 0;  // 1/m: the ground's curvature along the line, positive in a dip
};

struct TLinePath {
  std::vector<TLinePoint> points;
  double length = 0;
};

// The signed curvature of the circle through three points; 0 for two that coincide.
double CircleCurvature(double ax, double ay, double bx, double by, double cx, double cy);

TLinePath LinePath(const TTrackStations& stations, const std::vector<double>& offsets);

// The plan curvature at every point of the closed polyline through the stations'
// points at these offsets.
void LineCurvatures(const TTrackStations& stations, const std::vector<double>& offsets, std::vector<double>& kappa);

}  // namespace meridal
