#pragma once
// How fine the mesh of a whole track may be. A track may take vertices in
// proportion to its length (kVerticesPerMetre, within a floor and a ceiling), so
// that no file, however damaged, makes the mesh take more memory than that. A
// track whose finest mesh (2 cm chords) would take more is meshed coarser: every
// section keeps the same share of its steps. One that would take more even at a
// single step a section (walls and traces by the thousand) is refused.
//
//   TMeshBudget budget = PlanMeshBudget(track, options);
//   if (!budget.refusal.empty()) return Fail(budget.refusal);
//   options.stepScale = budget.stepScale;   // and warn with budget.warning
#include <cstddef>
#include <string>
#include <vector>

#include "mesh/section_mesh.h"

namespace meridal {

struct TMeshBudget {
  static constexpr double kVerticesPerMetre = 100;
  static constexpr size_t kFewestVertices = 500000, kMostVertices = 4000000;

  size_t limit = 0;    // the vertices the track may take
  size_t finest = 0;   // what its finest mesh takes at most
  size_t planned = 0;  // what the mesh at stepScale takes at most (within limit unless refused)
  double stepScale = 1;
  std::string warning;  // set when the mesh is coarser than the tolerance
  std::string refusal;  // set when there is to be no mesh at all

  // The limit for a track of this many metres.
  static size_t LimitFor(double metres);
};

// The track's length for its budget: its sections' lengths in metres, without
// 32-bit wrap-around.
double MeshBudgetLength(const TTrack& track);

// The budget from the sections' costs (an empty cost for a section without mesh).
TMeshBudget PlanMeshBudget(const std::vector<TSectionMeshCost>& costs, double metres, const TMeshOptions& options);
TMeshBudget PlanMeshBudget(const TTrack& track, const TMeshOptions& options);

}  // namespace meridal
