// The mesh of any track the readers accept keeps within a budget of vertices in
// proportion to the track's length: made coarser with a warning, or refused.
#include "mesh/mesh_budget.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdio>
#include <random>

#include "files/project/project_io.h"
#include "mesh/gltf_export.h"
#include "mesh/track_mesh.h"
#include "model/synthetic_track.h"
#include "model/track.h"
#include "support/gltf_accessor_check.h"
#include "support/recording_messages.h"

namespace meridal::testing {
namespace {

// A project of 750 sections (16 traces, 12 walls a section: about 1 MB) with a
// byte changed in one place in 64 or so of its altitude and wall tables: read for
// rescue, its noise coefficients would have the heights' cubics cut into
// thousands of steps, and its noise walls reach kilometres across.
std::unique_ptr<TTrack> DamagedProject() {
  TFiller filler(3);
  RecordingMessages messages;
  std::vector<uint8_t> image = WriteProjectImage(*SyntheticTrack(750), filler, messages).value();
  EXPECT_GT(image.size(), 1000000u);
  std::mt19937 rng(5);
  const size_t sectionTable = image.size() - 64 * 750;
  for (size_t at = 168 + rng() % 64; at < sectionTable; at += 1 + rng() % 128) image[at] ^= uint8_t(1 + rng() % 255);
  auto track = std::make_unique<TTrack>();
  std::vector<std::string> damage;
  EXPECT_TRUE(ReadProjectImage(std::move(image), *track, messages, "damaged.mrd", &damage));
  EXPECT_GT(damage.size(), 10000u);
  return track;
}

// 10,000 sections whose heights' coefficients lie near the ends of their range.
std::unique_ptr<TTrack> HugeHeights() {
  auto track = SyntheticTrack(10000);
  for (int s = 0; s < track->NumberOfSections(); ++s)
    for (auto& a : track->Section(s)->Altitudes) {
      a->ThirdOrder = s % 2 ? INT32_MAX - s : INT32_MIN + s;
      a->SecondOrder = s % 2 ? INT32_MIN : INT32_MAX;
      a->FirstOrder = INT32_MAX - 7;
      a->HeightAtStart = INT32_MIN + s;
    }
  return track;
}

// Meshes the track (and writes its .glb when `write`) in a process that may take
// 2 GB of address space at most (a build with AddressSanitizer maps far more for
// itself and runs without the limit): the mesh is made coarser to keep within
// its budget, and its accessors' bounds are the data's. Exits 0 when all is
// well, else says what on stderr.
void MeshWithinTwoGigabytes(std::unique_ptr<TTrack> track, bool write) {
#ifndef MERIDAL_SANITIZE_BUILD
  const rlimit limit{rlim_t{2} << 30, rlim_t{2} << 30};
  setrlimit(RLIMIT_AS, &limit);
#endif
  const TMeshBudget budget = PlanMeshBudget(*track, TMeshOptions{});
  const TTrackMesh mesh = BuildTrackMesh(*track);
  std::string problem;
  if (!mesh.refusal.empty() || mesh.coarser != budget.warning || budget.warning.empty())
    problem = "not made coarser: " + mesh.refusal;
  else if (mesh.VertexCount() > budget.limit || mesh.TriangleCount() == 0)
    problem = std::to_string(mesh.VertexCount()) + " vertices, beyond " + std::to_string(budget.limit);
  else if (write)
    problem = GltfAccessorProblem(GltfBinaryImage(mesh));
  std::fputs(problem.c_str(), stderr);
  std::_Exit(problem.empty() ? 0 : 1);
}

TEST(MeshBudgetDeathTest, HostileTracksAreMeshedCoarserWithinTheirBudget) {
  EXPECT_EXIT(MeshWithinTwoGigabytes(DamagedProject(), true), ::testing::ExitedWithCode(0), "^$");
  EXPECT_EXIT(MeshWithinTwoGigabytes(HugeHeights(), false), ::testing::ExitedWithCode(0), "^$");
  const TMeshBudget budget = PlanMeshBudget(*HugeHeights(), TMeshOptions{});
  EXPECT_EQ(budget.warning.rfind("The mesh is made coarser than 2 cm: at its finest it would take ", 0), 0u);
  EXPECT_NE(budget.warning.find(" vertices, more than the 4000000 vertices a track of 103.6 km may take"),
            std::string::npos)
      << budget.warning;
}

// The limit grows with the length between its floor and its ceiling; the share of
// the steps is the largest that keeps within it; a track too large even at one
// step a section is refused.
TEST(MeshBudget, LargestShareWithinTheLimitOrARefusal) {
  EXPECT_EQ(TMeshBudget::LimitFor(0), 500000u);
  EXPECT_EQ(TMeshBudget::LimitFor(12345.6), 1234560u);
  EXPECT_EQ(TMeshBudget::LimitFor(1e9), 4000000u);

  // Two sections, of 200 and 10 vertices a row, at 15,000 and 10 steps at their finest.
  std::vector<TSectionMeshCost> costs(3);
  costs[0] = {15000, 200, 0};
  costs[2] = {10, 10, 4};
  const TMeshBudget fine = PlanMeshBudget(costs, 20000, TMeshOptions{});  // a limit of 2,000,000
  EXPECT_EQ(fine.finest, 3000200u + 114u);
  EXPECT_EQ(fine.planned, 9999u * 200 + 8 * 10 + 4);  // one step more would pass the limit
  EXPECT_NEAR(fine.stepScale, 9998.0 / 15000, 1e-9);
  EXPECT_TRUE(fine.refusal.empty());

  costs[1] = {1, 300000, 0};  // 600,000 vertices at one step
  const TMeshBudget refused = PlanMeshBudget(costs, 1000, TMeshOptions{});
  EXPECT_EQ(refused.refusal,
            "The track is not meshed: even at one step a section its mesh would take 600424 vertices, more than the "
            "500000 vertices a track of 1.0 km may take");
  TTrack track;
  track.SetDefaults();
  EXPECT_EQ(PlanMeshBudget(track, TMeshOptions{}).stepScale, 1.0);
}

}  // namespace
}  // namespace meridal::testing
