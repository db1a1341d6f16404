#pragma once
// A lap as the common race-line layout writes it, for comparing with any tool
// that reads that layout: a header line
//   # s_m; x_m; y_m; psi_rad; kappa_radpm; vx_mps; ax_mps2
// then one row per point of the line: the distance along it, the plan position
// (x east, y north), the heading (north 0, anticlockwise positive, within
// [-pi, pi)), the curvature (positive turning left), the speed and the
// acceleration over the step to the next point.
#include <string>

namespace meridal {

struct TLap;

std::string LapCsv(const TLap& lap);

}  // namespace meridal
