// The ground stands a hilly track on it: below every point of the track, a few
// centimetres to a metre below its edges, following its hills between them.
#include "mesh/ground_grid.h"

#include <gtest/gtest.h>

#include "mesh/track_mesh.h"
#include "mesh_test_support.h"

namespace meridal::testing {
namespace {

TEST(GroundGrid, AHillyTrackStandsOnTheGround) {
  auto track = ExampleCircuit();
  GiveHills(*track);
  RaiseStrips(*track);  // kerbs and a barrier, whose feet stand on the ground too
  const TTrackMesh mesh = BuildTrackMesh(*track);
  const TGroundGrid ground = TGroundGrid::Under(mesh.sections);
  ASSERT_FALSE(ground.Empty());
  EXPECT_LE(ground.Cells(), TGroundGrid::kMostCells);
  double lowest = 1e9, highest = -1e9;
  for (int s = 0; s < track->NumberOfSections(); ++s) {
    const TSection& section = *track->Section(s);
    const double outer[2] = {double(section.Wall(0)->From), double(section.Wall(section.NumberOfWalls() - 1)->From)};
    for (const TMeshVertex& v : mesh.sections[size_t(s)].vertices) {
      const double under = v.position[1] - ground.HeightAt(v.position[0], v.position[2]);
      ASSERT_GE(under, TGroundGrid::kBelow - 1e-4) << "section " << s;
      lowest = std::min(lowest, double(v.position[1]));
      highest = std::max(highest, double(v.position[1]));
      // The track's edges stand just above the ground: within the rise of the
      // hills over a cell or two.
      const TPlanPoint p = PlanOf(v.position);
      const double lateral = Locate(section, p.x, p.y).lateral;
      if (std::fabs(lateral - outer[0]) < 1 || std::fabs(lateral - outer[1]) < 1) {
        const double surface = ExpectedHeight(*track, section, Locate(section, p.x, p.y).t, lateral) / kUnitsPerMetre;
        EXPECT_LE(surface - ground.HeightAt(v.position[0], v.position[2]), 1.0) << "section " << s;
      }
    }
  }
  ASSERT_GT(highest - lowest, 10.0);
  // Inside the loop, away from the track, the ground keeps between the track's
  // lowest and highest points; it is no flat plane under the lowest.
  std::vector<double> infield;
  for (double x : {-40.0, 0.0, 40.0})
    for (double z : {-20.0, 0.0, 20.0}) infield.push_back(ground.HeightAt(x + 150, z - 100));
  for (double h : infield) {
    EXPECT_GE(h, lowest - 1);
    EXPECT_LE(h, highest);
  }
  std::vector<TGroundVertex> vertices;
  std::vector<uint32_t> indices;
  ground.Triangles(vertices, indices, 5000);
  const int n = ground.Cells();
  EXPECT_EQ(vertices.size(), size_t((n + 1) * (n + 1) + TGroundGrid::kSkirtRings * 4 * n));
  const auto facesUp = [](const std::vector<TGroundVertex>& v, const std::vector<uint32_t>& i) {
    for (size_t t = 0; t < i.size(); t += 3) {
      const float *a = v[i[t]].position, *b = v[i[t + 1]].position, *c = v[i[t + 2]].position;
      if (double(b[2] - a[2]) * (c[0] - a[0]) - double(b[0] - a[0]) * (c[2] - a[2]) <= 0) return false;
    }
    return true;
  };
  EXPECT_TRUE(facesUp(vertices, indices));
  // Under a level track the ground is level, 5 cm down, and a few big quads.
  Flatten(*track);
  LevelStrips(*track);
  const TGroundGrid level = TGroundGrid::Under(BuildTrackMesh(*track).sections);
  std::vector<TGroundVertex> flat;
  std::vector<uint32_t> few;
  level.Triangles(flat, few, 5000);
  for (const TGroundVertex& v : flat) ASSERT_FLOAT_EQ(v.position[1], -0.05f);
  EXPECT_TRUE(facesUp(flat, few));
  EXPECT_LT(few.size() - TGroundGrid::kSkirtRings * 6 * 4 * size_t(level.Cells()), indices.size() / 20);
}

// Given the land it was fitted to, a level track stands in it: the field reaches
// 200 m beyond the track, lies on the land away from the track and below the
// track under it, and where the land has no data it is filled from around.
TEST(GroundGrid, ATrackStandsInTheLandGiven) {
  auto track = ExampleCircuit();
  Flatten(*track);
  const TTrackMesh mesh = BuildTrackMesh(*track);
  float lo[2] = {1e9f, 1e9f}, hi[2] = {-1e9f, -1e9f};
  for (const TSectionMesh& section : mesh.sections)
    for (int a : {0, 1}) lo[a] = std::min(lo[a], section.lo[2 * a]), hi[a] = std::max(hi[a], section.hi[2 * a]);
  // A slope from -20 m to 60 m across the plan, with no data east of the track.
  const auto slope = [&](double x, double z) { return 20 + 0.1 * x + 0.05 * z; };
  const double east = hi[0] + 50;
  const TGroundGrid ground = TGroundGrid::Under(mesh.sections, [&](double x, double z, double& h) {
    h = slope(x, z);
    return x < east;
  });
  ASSERT_FALSE(ground.Empty());
  const double edge = ground.Cells() * ground.Cell();
  EXPECT_NEAR(std::min(lo[0] - ground.X0(), lo[1] - ground.Z0()), TGroundGrid::kLandReach, ground.Cell());
  EXPECT_NEAR(std::min(ground.X0() + edge - hi[0], ground.Z0() + edge - hi[1]), TGroundGrid::kLandReach, ground.Cell());
  for (const TSectionMesh& section : mesh.sections)
    for (const TMeshVertex& v : section.vertices)
      ASSERT_GE(v.position[1] - ground.HeightAt(v.position[0], v.position[2]), TGroundGrid::kBelow - 1e-4);
  int onLand = 0, filled = 0;
  for (int j = 0; j <= ground.Cells(); j += 8)
    for (int i = 0; i <= ground.Cells(); i += 8) {
      const double x = ground.X0() + i * ground.Cell(), z = ground.Z0() + j * ground.Cell();
      const double h = ground.HeightAt(x, z);
      if (x < east && (x < lo[0] - 20 || z < lo[1] - 20)) {  // away from the track, on the land
        EXPECT_NEAR(h, slope(x, z), 1e-3) << x << ", " << z;
        ++onLand;
      } else if (x > east + ground.Cell()) {
        EXPECT_TRUE(std::isfinite(h) && h > -40 && h < 80) << h;  // between the land's heights
        ++filled;
      }
    }
  EXPECT_GT(onLand, 10);
  EXPECT_GT(filled, 3);
}

}  // namespace
}  // namespace meridal::testing
