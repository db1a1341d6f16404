#include "mesh/ground_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace meridal {

namespace {

constexpr float kNone = std::numeric_limits<float>::infinity();

// Fills the unknown points of a square grid of `n` points a side from the known
// ones: each coarser grid holds the means of the known points it gathers (two by
// two), and an unknown point takes its value from the next coarser grid, which
// has been filled first. Smooth enough for ground nobody drives on.
void PushPull(std::vector<float>& values, std::vector<char>& known, int n) {
  if (n <= 1 || std::all_of(known.begin(), known.end(), [](char k) { return k != 0; })) {
    for (size_t i = 0; i < values.size(); ++i)
      if (!known[i]) values[i] = 0;
    return;
  }
  const int m = (n + 1) / 2;
  std::vector<double> sum(size_t(m) * m, 0), weight(size_t(m) * m, 0);
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      const size_t at = size_t(j) * n + i;
      if (!known[at]) continue;
      const size_t parent = size_t(j / 2) * m + size_t(i / 2);
      sum[parent] += values[at];
      weight[parent] += 1;
    }
  std::vector<float> coarse(size_t(m) * m, 0);
  std::vector<char> coarseKnown(size_t(m) * m, 0);
  for (size_t p = 0; p < coarse.size(); ++p)
    if (weight[p] > 0) coarse[p] = float(sum[p] / weight[p]), coarseKnown[p] = 1;
  PushPull(coarse, coarseKnown, m);
  const auto at = [&](int i, int j) { return double(coarse[size_t(std::min(j, m - 1)) * m + size_t(std::min(i, m - 1))]); };
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      const size_t here = size_t(j) * n + i;
      if (known[here]) continue;
      const int ci = i / 2, cj = j / 2;
      const double fx = (i % 2) * 0.5, fz = (j % 2) * 0.5;
      values[here] = float((at(ci, cj) * (1 - fx) + at(ci + 1, cj) * fx) * (1 - fz) +
                           (at(ci, cj + 1) * (1 - fx) + at(ci + 1, cj + 1) * fx) * fz);
    }
}

// Whether a triangle's plan (x and z of its corners) meets the square cell with
// its least corner at (x0, z0): no axis of the square's or of the triangle's
// edges separates them.
bool CrossesCell(const float* const p[3], double x0, double z0, double size) {
  for (int e = 0; e < 3; ++e) {
    const float *a = p[e], *b = p[(e + 1) % 3], *c = p[(e + 2) % 3];
    const double nx = -(double(b[2]) - a[2]), nz = double(b[0]) - a[0];  // across the edge
    const double side = nx * (c[0] - a[0]) + nz * (c[2] - a[2]);         // where the triangle lies
    // The cell's corner farthest towards the triangle.
    const double cx = (nx * side > 0) ? x0 + size : x0, cz = (nz * side > 0) ? z0 + size : z0;
    if ((nx * (cx - a[0]) + nz * (cz - a[2])) * side < 0) return false;
  }
  return true;
}

}  // namespace

TGroundGrid TGroundGrid::Under(const std::vector<TSectionMesh>& sections, const TLand& land) {
  TGroundGrid ground;
  double lo[2] = {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
  double hi[2] = {-lo[0], -lo[1]};
  for (const TSectionMesh& mesh : sections) {
    if (mesh.Empty()) continue;
    lo[0] = std::min(lo[0], double(mesh.lo[0])), hi[0] = std::max(hi[0], double(mesh.hi[0]));
    lo[1] = std::min(lo[1], double(mesh.lo[2])), hi[1] = std::max(hi[1], double(mesh.hi[2]));
  }
  if (!(lo[0] <= hi[0])) return ground;
  const double margin = land ? kLandReach : std::max(30.0, 0.15 * std::max(hi[0] - lo[0], hi[1] - lo[1]));
  const double span = std::max(hi[0] - lo[0], hi[1] - lo[1]) + 2 * margin;
  ground.cell_ = std::max(1.0, span / kMostCells);
  ground.cells_ = int(std::ceil(span / ground.cell_));
  ground.x0_ = (lo[0] + hi[0]) / 2 - ground.cells_ * ground.cell_ / 2;
  ground.z0_ = (lo[1] + hi[1]) / 2 - ground.cells_ * ground.cell_ / 2;
  const int n = ground.cells_;
  // The lowest point of the track over each cell, from every triangle that
  // crosses it: its plane's lowest over the cell, but no lower than its lowest
  // corner. Faces that stand upright (the sides of raised strips) stand on the
  // surfaces beside them, which count.
  std::vector<float> lowest(size_t(n) * n, kNone);
  const auto cellOf = [&](double v, double origin) {
    return std::clamp(int(std::floor((v - origin) / ground.cell_)), 0, n - 1);
  };
  for (const TSectionMesh& mesh : sections)
    for (const TMeshPart& part : mesh.parts)
      for (size_t t = 0; t + 2 < part.indices.size(); t += 3) {
        const float* p[3] = {mesh.vertices[part.indices[t]].position, mesh.vertices[part.indices[t + 1]].position,
                             mesh.vertices[part.indices[t + 2]].position};
        // The plane: y = y0 + gx (x - x0) + gz (z - z0).
        const double ax = p[1][0] - p[0][0], az = p[1][2] - p[0][2], ay = p[1][1] - p[0][1];
        const double bx = p[2][0] - p[0][0], bz = p[2][2] - p[0][2], by = p[2][1] - p[0][1];
        const double area = ax * bz - az * bx;
        const double ny = std::fabs(area), slope = std::hypot(ay * bz - az * by, ax * by - ay * bx);
        if (ny < 0.2 * std::hypot(ny, slope)) continue;  // upright
        const double gx = (ay * bz - az * by) / area, gz = (ax * by - ay * bx) / area;
        const float low = std::min({p[0][1], p[1][1], p[2][1]});
        const int i0 = cellOf(std::min({p[0][0], p[1][0], p[2][0]}), ground.x0_);
        const int i1 = cellOf(std::max({p[0][0], p[1][0], p[2][0]}), ground.x0_);
        const int j0 = cellOf(std::min({p[0][2], p[1][2], p[2][2]}), ground.z0_);
        const int j1 = cellOf(std::max({p[0][2], p[1][2], p[2][2]}), ground.z0_);
        for (int j = j0; j <= j1; ++j)
          for (int i = i0; i <= i1; ++i) {
            const double cx0 = ground.x0_ + i * ground.cell_, cz0 = ground.z0_ + j * ground.cell_;
            if (!CrossesCell(p, cx0, cz0, ground.cell_)) continue;
            const double atCorner = p[0][1] + gx * ((gx < 0 ? cx0 + ground.cell_ : cx0) - p[0][0]) +
                                    gz * ((gz < 0 ? cz0 + ground.cell_ : cz0) - p[0][2]);
            float& cell = lowest[size_t(j) * n + size_t(i)];
            cell = std::min(cell, std::max(low, float(atCorner)));
          }
      }
  // A point lies below the lowest point of the cells that meet there.
  ground.heights_.assign(size_t(n + 1) * size_t(n + 1), 0);
  std::vector<char> known(ground.heights_.size(), 0);
  for (int j = 0; j <= n; ++j)
    for (int i = 0; i <= n; ++i) {
      float low = kNone;
      for (int dj = -1; dj <= 0; ++dj)
        for (int di = -1; di <= 0; ++di) {
          const int ci = i + di, cj = j + dj;
          if (ci >= 0 && cj >= 0 && ci < n && cj < n) low = std::min(low, lowest[size_t(cj) * n + size_t(ci)]);
        }
      low -= float(kBelow);  // none stays none
      // The land, where it lies lower than the track or no track is above it.
      double height = 0;
      if (land && land(ground.x0_ + i * ground.cell_, ground.z0_ + j * ground.cell_, height) && std::isfinite(height))
        low = std::min(low, float(height));
      if (low == kNone) continue;
      ground.Node(i, j) = low;
      known[size_t(j) * size_t(n + 1) + size_t(i)] = 1;
    }
  PushPull(ground.heights_, known, n + 1);
  return ground;
}

double TGroundGrid::HeightAt(double x, double z) const {
  if (Empty()) return 0;
  const double fx = std::clamp((x - x0_) / cell_, 0.0, double(cells_)), fz = std::clamp((z - z0_) / cell_, 0.0, double(cells_));
  const int i = std::min(int(fx), cells_ - 1), j = std::min(int(fz), cells_ - 1);
  const double u = fx - i, v = fz - j;
  return (Node(i, j) * (1 - u) + Node(i + 1, j) * u) * (1 - v) + (Node(i, j + 1) * (1 - u) + Node(i + 1, j + 1) * u) * v;
}

void TGroundGrid::Triangles(std::vector<TGroundVertex>& vertices, std::vector<uint32_t>& indices, double reach) const {
  vertices.clear();
  indices.clear();
  if (Empty()) return;
  const int n = cells_;
  const auto vertex = [&](double x, double y, double z, double nx, double ny, double nz) {
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    vertices.push_back({{float(x), float(y), float(z)},
                        {float(nx / length), float(ny / length), float(nz / length)},
                        {float(x), float(z)}});
  };
  for (int j = 0; j <= n; ++j)
    for (int i = 0; i <= n; ++i) {
      const double dx = Node(std::min(i + 1, n), j) - Node(std::max(i - 1, 0), j);
      const double dz = Node(i, std::min(j + 1, n)) - Node(i, std::max(j - 1, 0));
      const double wx = (std::min(i + 1, n) - std::max(i - 1, 0)) * cell_, wz = (std::min(j + 1, n) - std::max(j - 1, 0)) * cell_;
      vertex(x0_ + i * cell_, Node(i, j), z0_ + j * cell_, -dx / wx, 1, -dz / wz);
    }
  const auto id = [n](int i, int j) { return uint32_t(j * (n + 1) + i); };
  const auto quad = [&](int i, int j, int size) {
    const uint32_t a = id(i, j), b = id(i + size, j), c = id(i, j + size), d = id(i + size, j + size);
    indices.insert(indices.end(), {a, c, b, b, c, d});
  };
  // Blocks of 8 x 8 cells whose points all lie at one height are one quad (a flat
  // track's ground is a few dozen); the others a quad a cell.
  constexpr int kBlock = 8;
  for (int j0 = 0; j0 < n; j0 += kBlock)
    for (int i0 = 0; i0 < n; i0 += kBlock) {
      const int i1 = std::min(n, i0 + kBlock), j1 = std::min(n, j0 + kBlock);
      bool flat = i1 - i0 == kBlock && j1 - j0 == kBlock;
      for (int j = j0; j <= j1 && flat; ++j)
        for (int i = i0; i <= i1 && flat; ++i) flat = Node(i, j) == Node(i0, j0);
      if (flat) {
        quad(i0, j0, kBlock);
        continue;
      }
      for (int j = j0; j < j1; ++j)
        for (int i = i0; i < i1; ++i) quad(i, j, 1);
    }
  // The skirt: the field's edge, walked round it, and each of its points moved
  // out (the corners diagonally), at the same height, in rings ever farther out
  // up to `reach` (so that nothing laid over it across a ring, the fog, strays
  // far from what it should be).
  std::vector<std::pair<int, int>> edge;
  for (int i = 0; i < n; ++i) edge.push_back({i, 0});
  for (int j = 0; j < n; ++j) edge.push_back({n, j});
  for (int i = n; i > 0; --i) edge.push_back({i, n});
  for (int j = n; j > 0; --j) edge.push_back({0, j});
  const uint32_t count = uint32_t(edge.size());
  uint32_t inner = uint32_t(vertices.size());
  for (int ring = 0; ring < kSkirtRings; ++ring) {
    const double out = reach / std::pow(4.0, kSkirtRings - 1 - ring);
    const uint32_t outer = uint32_t(vertices.size());
    for (const auto& [i, j] : edge) {
      const double ox = i == 0 ? -1 : i == n ? 1 : 0, oz = j == 0 ? -1 : j == n ? 1 : 0;
      vertex(x0_ + i * cell_ + ox * out, Node(i, j), z0_ + j * cell_ + oz * out, 0, 1, 0);
    }
    for (uint32_t k = 0; k < count; ++k) {
      const uint32_t next = (k + 1) % count;
      const uint32_t a = ring == 0 ? id(edge[k].first, edge[k].second) : inner + k;
      const uint32_t b = ring == 0 ? id(edge[next].first, edge[next].second) : inner + next;
      // Walking round with the field on the left seen from above (x east, z
      // south): the outer points lie to the right.
      indices.insert(indices.end(), {a, b, outer + k, b, outer + next, outer + k});
    }
    inner = outer;
  }
}

}  // namespace meridal
