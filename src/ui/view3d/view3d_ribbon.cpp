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

void LineRibbon(const std::vector<TView3DLinePoint>& line, double originX, double originY, float width, float lift,
                bool dimmed, std::vector<TViewVertex>& vertices, std::vector<uint32_t>& indices) {
  vertices.clear();
  indices.clear();
  if (line.size() < 2) return;
  std::vector<QVector3D> points;
  points.reserve(line.size() + 1);
  for (const TView3DLinePoint& p : line)
    points.emplace_back(float(p.x - originX), float(p.height) + lift, float(-(p.y - originY)));
  points.push_back(points.front());  // round the lap
  std::vector<float> corners;
  AppendRibbon(points, width, corners);
  // Layer 127 is drawn in the vertex's colour; +128: no offset along.
  const uint8_t layer = 127 + 128;
  const auto grey = [dimmed](uint8_t c) { return dimmed ? uint8_t((c + 160) / 2) : c; };
  vertices.reserve(corners.size() / 3);
  for (size_t k = 0; k * 3 < corners.size(); ++k) {
    const TColor c = line[k / 6].colour;  // six corners a step
    vertices.push_back({{corners[3 * k], corners[3 * k + 1], corners[3 * k + 2]},
                        {0, 1, 0},
                        {0, 0},
                        -1,
                        {grey(c.r), grey(c.g), grey(c.b)},
                        layer});
    indices.push_back(uint32_t(k));
  }
}

}  // namespace meridal
