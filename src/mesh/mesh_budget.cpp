#include "mesh/mesh_budget.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/track.h"
#include "model/units.h"

namespace meridal {

namespace {

size_t Total(const std::vector<TSectionMeshCost>& costs, double scale, int maxSteps) {
  size_t total = 0;
  for (const TSectionMeshCost& cost : costs)
    if (cost.verticesPerRow || cost.fixedVertices)
      total += cost.Vertices(TSectionMeshCost::Steps(cost.finestSteps, scale, maxSteps));
  return total;
}

std::string Kilometres(double metres) {
  char text[64];
  std::snprintf(text, sizeof text, "%.1f km", metres / 1000);
  return text;
}

}  // namespace

size_t TMeshBudget::LimitFor(double metres) {
  const double limit = std::ceil(kVerticesPerMetre * std::max(0.0, metres));
  return limit >= double(kMostVertices) ? kMostVertices : std::max(kFewestVertices, size_t(limit));
}

double MeshBudgetLength(const TTrack& track) {
  double units = 0;
  for (const auto& section : track.Sections) units += std::fabs(double(section->Length));
  return units * double(kMetersPerUnit);
}

TMeshBudget PlanMeshBudget(const std::vector<TSectionMeshCost>& costs, double metres, const TMeshOptions& options) {
  TMeshBudget budget;
  budget.limit = TMeshBudget::LimitFor(metres);
  budget.finest = Total(costs, options.stepScale, options.maxSteps);
  budget.stepScale = options.stepScale;
  budget.planned = budget.finest;
  if (budget.finest <= budget.limit) return budget;
  const std::string most = std::to_string(budget.limit) + " vertices a track of " + Kilometres(metres) + " may take";
  const size_t coarsest = Total(costs, 0, options.maxSteps);
  if (coarsest > budget.limit) {
    budget.refusal = "The track is not meshed: even at one step a section its mesh would take " +
                     std::to_string(coarsest) + " vertices, more than the " + most;
    budget.planned = coarsest;
    return budget;
  }
  // The largest share of the steps that keeps within the limit.
  double fits = 0, passes = options.stepScale;
  for (int i = 0; i < 48; ++i) {
    const double middle = (fits + passes) / 2;
    (Total(costs, middle, options.maxSteps) <= budget.limit ? fits : passes) = middle;
  }
  budget.stepScale = fits;
  budget.planned = Total(costs, fits, options.maxSteps);
  char tolerance[32];
  std::snprintf(tolerance, sizeof tolerance, "%g cm", options.tolerance * 100);
  budget.warning = "The mesh is made coarser than " + std::string(tolerance) + ": at its finest it would take " +
                   std::to_string(budget.finest) + " vertices, more than the " + most;
  return budget;
}

TMeshBudget PlanMeshBudget(const TTrack& track, const TMeshOptions& options) {
  std::vector<TSectionMeshCost> costs(size_t(track.NumberOfSections()));
  for (int s = 0; s < track.NumberOfSections(); ++s)
    if (auto cost = SectionMeshCost(track, s, options)) costs[size_t(s)] = *cost;
  return PlanMeshBudget(costs, MeshBudgetLength(track), options);
}

}  // namespace meridal
