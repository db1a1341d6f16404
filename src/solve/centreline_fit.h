#pragma once
// Fitting a track to a centreline: a closed loop of straights and arcs, tangent
// at every joint and closed exactly as Close Loop closes a track, with every
// input point within the tolerance of its line and as few sections as that
// allows; then the traces, the walls from the widths, and the heights.
//
//   TFitResult fit = FitCentreline(read.line, {.tolerance = 0.5});
//   if (!fit.ok) report(fit.error); else save(*fit.track);
#include <memory>
#include <string>
#include <vector>

#include "solve/centreline.h"
#include "solve/chain_fit.h"

namespace meridal {

class TTrack;

struct TFitOptions {
  double tolerance = 0.5;  // metres: the furthest an input point may lie from the line
  int traces = 3;          // 2 to 16: the right edge, evenly across, the left edge
};

struct TFitSummary {
  int sections = 0;
  double length = 0;         // metres along the fitted line
  double largest = 0;        // metres: the furthest input point, measured on the stored track
  double rms = 0;            // metres
  double closureBefore = 0;  // metres the continuous loop misses itself by, before rounding
  double closureAfter = 0;   // track units the stored loop misses itself by
  double heightLargest = 0;  // metres: the largest height difference to the smoothed input
};

struct TFitResult {
  bool ok = false;
  std::string error;
  std::vector<std::string> warnings;
  std::unique_ptr<TTrack> track;
  TFitSummary summary;
  // The input points in plan units, as the track lies, for drawing over the plan.
  std::vector<double> sourceX, sourceY;
};

TFitResult FitCentreline(const TCentreline& line, const TFitOptions& options);

// The loop of straights and arcs alone, in metres: the segments from the first
// point with the start heading in `start`, every point within `tolerance`, and
// each point's place on them.// take. `right` and `left` are the widths at each point: an arc's centre stays
// beyond them.
std::vector<TSegment> FitSegments(std::vector<TFitPoint>& points, double tolerance, const std::vector<double>& right,
                                  const std::vector<double>& left, TFitPose& start);

}  // namespace meridal
