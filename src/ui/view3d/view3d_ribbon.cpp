#include "ui/view3d/view3d_ribbon.h"

#include <algorithm>

namespace meridal {

void AppendRibbon(const std::vector<QVector3D>& line, float width, std::vector<float>& positions) {
  if (line.size() < 2) return;
  // Across at each point: square to the line's direction there, horizontally.
  std::vector<QVector3D> across(line.size());
  for (size_t i = 0; i < line.size(); ++i) {
    const QVector3D ahead = line[std::min(i + 1, line.size() - 1)] - line[i == 0 ? 0 : i - 1];
    QVector3D side(-ahead.z(), 0, ahead.x());
    across[i] = side.lengthSquared() > 0 ? side.normalized() * (width / 2) : QVector3D();
  }
  const auto put = [&positions](const QVector3D& p) { positions.insert(positions.end(), {p.x(), p.y(), p.z()}); };
  for (size_t i = 0; i + 1 < line.size(); ++i) {
    const QVector3D a0 = line[i] - across[i], a1 = line[i] + across[i];
    const QVector3D b0 = line[i + 1] - across[i + 1], b1 = line[i + 1] + across[i + 1];
    put(a0), put(b0), put(b1);
    put(a0), put(b1), put(a1);
  }
}

}  // namespace meridal
