#pragma once
// Fitting a track to a centreline: a closed loop of straights and arcs, tangent
// at every joint and closed exactly as Close Loop closes a track, with every
// input point within the tolerance of its line and as few sections as that
// allows; then the traces, the walls from the widths, and the heights.
//
//   TFitResult fit = FitCentreline(read.line, {.tolerance = 0.5});
//   if (!fit.ok) report(fit.error); else save(*fit.track);
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "files/terrain/terrain_origin.h"
#include "solve/centreline.h"
#include "solve/chain_fit.h"
#include "solve/height_fit.h"

namespace meridal {

class TTrack;

struct TFitOptions {
  double tolerance = 0.5;  // metres: the furthest an input point may lie from the line
  int traces = 3;          // 2 to 16: the right edge, evenly across, the left edge
  double minLength = 5.0;  // metres: the shortest section, unless the line's own bends need one shorter
  // Called now and then with the share of the fit done, 0 to 1; false stops it.
  std::function<bool(double)> progress{};
  HeightDatum heights = HeightDatum::Relative;  // what the stored heights are measured from
  // A terrain model to take the heights from instead of the input's own (a
  // GeoTIFF, an SRTM tile ...), and for a centreline in metres where its (0, 0)
  // lies in the model's coordinates (none: the centreline is in them).
  std::string terrain{};
  std::optional<std::pair<double, double>> terrainOrigin{};
};

// The error of a fit that its progress callback stopped.
constexpr const char* kFitStopped = "the fit was stopped";

// The inside of a bend keeps this radius at least (metres): where the line bends
// tighter than the walls allow, the inner side is narrowed to keep it.
constexpr double kInnerRadius = 1.0;
// The least room an arc keeps on the inside of its bend, metres: the line
// bends no tighter than a radius of this plus kInnerRadius.
constexpr double kNarrowest = 1.0;

struct TFitSummary {
  int sections = 0;
  double length = 0;         // metres along the fitted line
  double largest = 0;        // metres: the furthest input point, measured on the stored track
  double rms = 0;            // metres
  double closureBefore = 0;  // metres the continuous loop misses itself by, before rounding
  double closureAfter = 0;   // track units the stored loop misses itself by
  double shortest = 0;       // metres: the shortest section
  int narrowed = 0;          // sections narrowed where the line bends tighter than the road is wide
  size_t worst = 0;          // the input point furthest from the track
  double worstAlong = 0;     // metres along the lap to its place
  THeightSummary heights;    // how the heights were fitted, when the track has any
};

// Not ok with a track: the best found, further from the line than the
// tolerance; `error` says where and why.
struct TFitResult {
  bool ok = false;
  std::string error;
  std::vector<std::string> warnings;
  std::unique_ptr<TTrack> track;
  TFitSummary summary;
  // The terrain model the heights came from, for the track's side file.
  std::optional<TTerrainLink> terrain;
  // The input points in plan units, as the track lies, for drawing over the plan.
  std::vector<double> sourceX, sourceY;
};

TFitResult FitCentreline(const TCentreline& line, const TFitOptions& options);

// The loop of straights and arcs alone, in metres: the segments from the first
// point with the start heading in `start`, as near every point as the tolerance
// asks, and each point's place on them. `right` and `left` are the widths at
// each point: an arc's centre stays beyond them where the line allows it.
// `spent` carries the work done from one search to the next, so that the
// searches of one fit share a bound: past it, a search ends with what it has.
struct TSegmentsFit {
  std::vector<TSegment> segments;
  TFitPose start;
  std::vector<TFitPoint> points;
  bool stopped = false;  // the progress callback stopped it
};
TSegmentsFit FitSegments(const std::vector<TFitPoint>& points, const std::vector<double>& right,
                         const std::vector<double>& left, const TFitOptions& options, double* spent = nullptr);

}  // namespace meridal
