#pragma once
// The loop as a chain of straights and arcs in continuous values, and the
// minimum-norm Gauss-Newton solve that closes it: three equations (the end's x, y
// and heading against the start's) in as many unknowns as there are free values.
// Each value's change is weighed relative to the value, so the solve works in
// values divided by their starting size.
#include <string>
#include <vector>

namespace meridal {

struct TPose {
  double x = 0, y = 0;  // track units
  double theta = 0;     // radians
};

struct TLink {
  bool arc = false;
  bool free = false;
  double length = 0;  // a straight's
  double phi = 0;     // an arc's sweep, radians, the sign of its turn
  double radius = 0;  // an arc's signed radius, track units
  // The smallest radius (of the arc's sign) that keeps the centre outside the
  // walls.
  double radiusLimit = 1;
};

// Where the chain ends, starting at `start`.
TPose ChainEnd(const TPose& start, const std::vector<TLink>& links);

struct TSolveResult {
  bool closes = false;
  bool needsTurn = false;  // the heading is off and no free arc can turn it
  std::string why;         // why it does not close otherwise
  double residual = 0;     // how far the solution misses, track units
  std::vector<TLink> links;
};

// The smallest weighted change of the free links' values that brings the chain's
// end onto its start with the heading of the start plus whole turns, within each
// value's limits (lengths at least 1 unit and within 32 bits, arcs keeping their
// direction, radii outside the walls, sweeps under a full turn).
TSolveResult SolveClosure(const TPose& start, const std::vector<TLink>& links);

// A change of a straight's length or an arc's radius (the heading stays).
struct TStep {
  int link = 0;
  bool radius = false;
  double amount = 0;
};
// The smallest weighted change, among the few free lengths and radii that are
// largest for their lever, that moves the end by (dx, dy).
std::vector<TStep> PositionSteps(const TPose& start, const std::vector<TLink>& links, double dx, double dy);

}  // namespace meridal
