#pragma once
// The ground under a track, in the mesh's frame (metres, x east, y up, z south):
// a field of heights on a square grid over the track's plan and a margin around
// it, at every grid point just below the lowest point of the track's surface in
// the cells that meet there, so that a hilly track stands on the ground instead
// of floating over it; smooth between the parts of the track. Beyond the field a
// flat skirt runs out to the horizon.
//
//   TGroundGrid ground = TGroundGrid::Under(sectionMeshes);
//   std::vector<TGroundVertex> vertices; std::vector<uint32_t> indices;
//   ground.Triangles(vertices, indices, 20000);
//
// Every triangle of the field lies below every point of the track above it: a
// point of a triangle is a mean of its corners, and each corner lies below the
// track in every cell around it.
//
// A track fitted to a terrain model stands in its landscape: given the land's
// heights, the field reaches kLandReach beyond the track and each grid point
// lies at the land's height there, or lower where the track above it is lower.
#include <cstdint>
#include <functional>
#include <vector>

#include "mesh/section_mesh.h"

namespace meridal {

struct TGroundVertex {
  float position[3];
  float normal[3];
  float uv[2];  // metres: x and z
};

class TGroundGrid {
 public:
  static constexpr double kBelow = 0.05;  // metres under the track's lowest point
  static constexpr int kMostCells = 128;  // a side
  static constexpr int kSkirtRings = 4;
  static constexpr double kLandReach = 200;  // metres of land shown about the track

  // The land's height in metres at (x, z) of the mesh's frame; false where it
  // has none (outside its model, or no data).
  using TLand = std::function<bool(double x, double z, double& height)>;

  // The ground under these meshes, on the land when one is given; empty when
  // there is no track.
  static TGroundGrid Under(const std::vector<TSectionMesh>& sections, const TLand& land = {});

  bool Empty() const { return cells_ == 0; }
  // The ground's height at (x, z), within the field; outside it, at the nearest
  // point of its edge.
  double HeightAt(double x, double z) const;
  // The field and its skirt, `reach` metres beyond the field's edge.
  void Triangles(std::vector<TGroundVertex>& vertices, std::vector<uint32_t>& indices, double reach) const;

  double Cell() const { return cell_; }
  double X0() const { return x0_; }
  double Z0() const { return z0_; }
  int Cells() const { return cells_; }

 private:
  float& Node(int i, int j) { return heights_[size_t(j) * size_t(cells_ + 1) + size_t(i)]; }
  float Node(int i, int j) const { return heights_[size_t(j) * size_t(cells_ + 1) + size_t(i)]; }
  void Fill(std::vector<char>& known);

  double x0_ = 0, z0_ = 0, cell_ = 1;
  int cells_ = 0;               // cells a side
  std::vector<float> heights_;  // (cells + 1)^2 grid points, row by row along x
};

}  // namespace meridal
