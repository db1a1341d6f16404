#include "drive/lap_csv.h"

#include <cmath>
#include <cstdio>

#include "drive/lap.h"
#include "model/units.h"

namespace meridal {

std::string LapCsv(const TLap& lap) {
  std::string out = "# s_m; x_m; y_m; psi_rad; kappa_radpm; vx_mps; ax_mps2\n";
  const auto& p = lap.line.points;
  const size_t n = p.size();
  char row[256];
  for (size_t i = 0; i < n && i < lap.speed.v.size(); ++i) {
    // The heading of the chord from the point before to the point after.
    const TLinePoint &a = p[i == 0 ? n - 1 : i - 1], &b = p[i + 1 == n ? 0 : i + 1];
    const double psi = std::remainder(std::atan2(b.y - a.y, b.x - a.x) - 0.5 * Pi, 2 * Pi);
    std::snprintf(row, sizeof row, "%.4f; %.4f; %.4f; %.6f; %.6f; %.4f; %.4f\n", p[i].s, p[i].x, p[i].y,
                  psi >= Pi ? psi - 2 * Pi : psi, p[i].kappa, lap.speed.v[i], lap.speed.ax[i]);
    out += row;
  }
  return out;
}

}  // namespace meridal
