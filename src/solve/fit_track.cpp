// From fitted segments to a track: sections with stored values, traces across
// the road, the two outer walls from the widths, heights as cubics, and the loop
// closed and joined as Close Loop does it.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/curved_section.h"
#include "model/length_limit.h"
#include "model/numbers.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "model/units.h"
#include "present/format.h"
#include "solve/bend_narrowing.h"
#include "solve/centreline_fit.h"
#include "solve/close_loop.h"
#include "solve/fit_heights.h"
#include "solve/loop_join.h"

namespace meridal {

namespace {

constexpr double kUnits = kUnitsPerMeter;
constexpr double kPi = std::numbers::pi;

// Where along the fitted loop each point lies, metres from its start.
std::vector<double> Stations(const std::vector<TSegment>& segments, const std::vector<TFitPoint>& points) {
  std::vector<double> first(segments.size() + 1, 0);
  for (size_t k = 0; k < segments.size(); ++k) first[k + 1] = first[k] + segments[k].length;
  std::vector<double> s;
  for (const TFitPoint& p : points) s.push_back(first[size_t(p.segment)] + p.along);
  return s;
}

// Each point's segment and place on it from its station, once segments were split.
void Relocate(std::vector<TFitPoint>& points, const std::vector<double>& stations,
              const std::vector<TSegment>& segments) {
  std::vector<double> first;
  double total = 0;
  for (const TSegment& s : segments) {
    first.push_back(total);
    total += s.length;
  }
  for (size_t i = 0; i < points.size(); ++i) {
    size_t k = size_t(std::upper_bound(first.begin(), first.end(), stations[i]) - first.begin());
    k = k == 0 ? 0 : k - 1;
    points[i].segment = int(k);
    points[i].along = std::clamp(stations[i] - first[k], 0.0, segments[k].length);
  }
}

// A value of the points at a station: linear between the nearest points on each
// side, round the loop.
double At(const std::vector<std::pair<double, double>>& sorted, double total, double s) {
  const auto it = std::lower_bound(sorted.begin(), sorted.end(), std::make_pair(s, -1e300));
  const auto& b = it == sorted.end() ? sorted.front() : *it;
  const auto& a = it == sorted.begin() ? sorted.back() : *(it - 1);
  double sa = a.first, sb = b.first;
  if (it == sorted.end()) sb += total;
  if (it == sorted.begin()) sa -= total;
  if (sb - sa <= 1e-9) return a.second;
  return a.second + (b.second - a.second) * (s - sa) / (sb - sa);
}

std::vector<std::pair<double, double>> Sorted(const std::vector<double>& s, const std::vector<double>& v) {
  std::vector<std::pair<double, double>> out;
  for (size_t i = 0; i < s.size(); ++i) out.emplace_back(s[i], v[i]);
  std::sort(out.begin(), out.end());
  return out;
}

double Median(std::vector<double> v) {
  std::nth_element(v.begin(), v.begin() + long(v.size() / 2), v.end());
  return v[v.size() / 2];
}

std::unique_ptr<TSection> MakeSection(TTrack& track, const TSegment& segment, int32_t rightFrom, int32_t rightTo,
                                      int32_t leftFrom, int32_t leftTo) {
  auto straight = std::make_unique<TStraightSection>(&track);
  straight->SetDefaults();  // an altitude a trace, a right and a left wall
  straight->Wall(0)->From = rightFrom;
  straight->Wall(0)->To = rightTo;
  straight->Wall(1)->From = leftFrom;
  straight->Wall(1)->To = leftTo;
  straight->RecomputeAllWallPoints();
  const int64_t curvature = nearest64(segment.curvature * segment.length * kTwoPow30 / kPi);
  if (segment.straight || curvature == 0) {
    straight->SetLength(static_cast<int32_t>(std::max<int64_t>(1, nearest64(segment.length * kUnits))));
    return straight;
  }
  // An arc so gentle that its centre might not fit the plan: a straight.
  const double radius = kUnits / segment.curvature;
  if (std::fabs(radius) > 1e9) {
    straight->SetLength(static_cast<int32_t>(std::max<int64_t>(1, nearest64(segment.length * kUnits))));
    return straight;
  }
  // The angle first: the radius then keeps it, and the length follows.
  auto curve = std::make_unique<TCurvedSection>(&track, *straight);
  curve->SetCurvature(static_cast<int32_t>(curvature));
  curve->SetRadius(nearest(radius));
  return curve;
}

// The stored track measured against the points: the loop rebuilt in metres
// from its stored values.
void Measure(const TTrack& track, std::vector<TFitPoint> points, TFitSummary& summary) {
  std::vector<TSegment> segments;
  for (const auto& section : track.Sections) {
    TSegment s;
    if (section->IsCurved()) {
      const auto& arc = static_cast<const TCurvedSection&>(*section);
      s.curvature = kUnits / arc.Radius;
      s.length = arc.SweptAngle() * arc.Radius / kUnits;
    } else {
      s.straight = true;
      s.length = section->Length / kUnits;
    }
    segments.push_back(s);
  }
  const TSection& first = *track.Section(0);
  const TFitPose start{first.StartX() / kUnits, first.StartY() / kUnits, OrientationToRadians(first.Orientation)};
  TChainFit chain(start, segments, std::move(points), true, 0);
  chain.Reproject();
  chain.Reproject();
  summary.largest = chain.Largest();
  summary.rms = std::sqrt(chain.SumOfSquares() / double(chain.Points().size()));
  summary.sections = track.NumberOfSections();
  summary.length = 0;
  summary.shortest = segments.empty() ? 0 : segments[0].length;
  std::vector<double> starts;
  for (const TSegment& s : segments) {
    starts.push_back(summary.length);
    summary.length += s.length;
    summary.shortest = std::min(summary.shortest, s.length);
  }
  const std::vector<TFitPoint>& placed = chain.Points();
  for (size_t i = 0; i < placed.size(); ++i) {
    if (placed[i].distance < placed[summary.worst].distance) continue;
    summary.worst = i;
    summary.worstAlong = starts[size_t(placed[i].segment)] + placed[i].along;
  }
}

// Why the line cannot be followed about point i: how far it turns within a few
// metres either way.
std::string MissReason(const TCentreline& line, size_t i) {
  const size_t n = line.Size();
  const double reach = 5.0;
  double turn = 0, length = 0;
  for (int way : {-1, 1}) {
    size_t j = i;
    for (size_t step = 0; step + 2 < n; ++step) {
      const size_t k = (j + n + size_t(way)) % n, l = (k + n + size_t(way)) % n;
      const double ax = line.x[k] - line.x[j], ay = line.y[k] - line.y[j];
      const double bx = line.x[l] - line.x[k], by = line.y[l] - line.y[k];
      turn += std::fabs(std::atan2(ax * by - ay * bx, ax * bx + ay * by));
      length += std::hypot(ax, ay);
      j = k;
      if (length >= reach) break;
    }
  }
  if (turn > 0.8 * kPi) return "the line folds back on itself there";
  if (turn * (kNarrowest + kInnerRadius) > std::max(length, 1e-9))
    return FormatPrintf("the line bends there more tightly than a radius of %g m", kNarrowest + kInnerRadius);
  return "no line of straights and arcs within the tolerance was found there";
}

}  // namespace

TFitResult FitCentreline(const TCentreline& line, const TFitOptions& options) {
  TFitResult result;
  if (line.Size() < kMinCentrelinePoints) {
    result.error = "a centreline needs at least " + std::to_string(kMinCentrelinePoints) + " points";
    return result;
  }
  if (!(options.tolerance > 0) || options.traces < 2 || options.traces > 16 || !(options.minLength > 0)) {
    result.error = "the tolerance and the shortest section must be more than 0 m and the traces 2 to 16";
    return result;
  }
  // A lap longer than a track can hold is refused before it is fitted.
  double lap = 0;
  for (size_t i = 0; i < line.Size(); ++i) {
    const size_t j = (i + 1) % line.Size();
    lap += std::hypot(line.x[j] - line.x[i], line.y[j] - line.y[i]);
  }
  const double longest = double(kMaxTrackLength) / kUnits;
  if (!(lap <= longest)) {
    result.error = std::isfinite(lap) ? FormatPrintf("the lap is %.2f km long, more than the %.2f km a track can hold",
                                                     lap / 1000, longest / 1000)
                                      : FormatPrintf("the lap is longer than the %.2f km a track can hold", longest / 1000);
    return result;
  }
  // The plan keeps 32-bit units, about 109 km each way: a line far from the
  // origin is moved so that it starts there.
  double ox = 0, oy = 0;
  double reach = 0;
  for (size_t i = 0; i < line.Size(); ++i) reach = std::max({reach, std::fabs(line.x[i]), std::fabs(line.y[i])});
  if (reach > 50000.0) {
    ox = line.x[0];
    oy = line.y[0];
    result.warnings.push_back("the line lies far from the origin: it is moved to start there");
  }
  std::vector<TFitPoint> points(line.Size());
  for (size_t i = 0; i < line.Size(); ++i) {
    points[i].x = line.x[i] - ox;
    points[i].y = line.y[i] - oy;
  }
  // The traces run from the usual right edge to the usual left edge: an arc's
  // centre stays beyond them as well as beyond the walls.
  const double r = Median(line.right), l = Median(line.left);
  std::vector<double> reachRight(line.right), reachLeft(line.left);
  for (double& w : reachRight) w = std::max(w, r);
  for (double& w : reachLeft) w = std::max(w, l);
  // The search can lose its way where a looser one finds a line within the
  // tolerance: when a search misses, it is tried again at twice the tolerance
  // and at four times, and the first within the tolerance kept, else the nearest.
  TSegmentsFit fitted;
  double nearestLargest = 0;
  const double loosens[] = {1.0, 2.0, 4.0}, from[] = {0.0, 0.9, 0.95}, span[] = {0.9, 0.05, 0.04};
  double spent = 0;  // the searches share one bound on their work
  for (int attempt = 0; attempt < 3; ++attempt) {
    TFitOptions looser = options;
    looser.tolerance = options.tolerance * loosens[attempt];
    if (options.progress)
      looser.progress = [&, attempt](double done) { return options.progress(from[attempt] + span[attempt] * done); };
    TSegmentsFit trial = FitSegments(points, reachRight, reachLeft, looser, &spent);
    if (trial.stopped) {
      result.error = kFitStopped;
      return result;
    }
    double largest = 0;
    for (const TFitPoint& p : trial.points) largest = std::max(largest, p.distance);
    if (fitted.segments.empty() || largest < nearestLargest) {
      fitted = std::move(trial);
      nearestLargest = largest;
    }
    if (nearestLargest <= options.tolerance - 0.002) break;
  }
  std::vector<TSegment> segments = fitted.segments;
  const TFitPose& start = fitted.start;
  std::vector<TFitPoint> placed = fitted.points;
  const std::vector<double> stations = Stations(segments, placed);

  // Widths at the joints, from the points about them; where a bend is tighter
  // than the road is wide, its inside is narrowed.
  std::vector<int32_t> right, left;
  TBendNarrowing narrowing;
  auto widths = [&] {
    const size_t m = segments.size();
    std::vector<double> joints(m, 0);
    double total = 0;
    for (size_t k = 0; k < m; ++k) {
      joints[k] = total;
      total += segments[k].length;
    }
    const auto rightAt = Sorted(stations, line.right), leftAt = Sorted(stations, line.left);
    right.assign(m + 1, 0);
    left.assign(m + 1, 0);
    for (size_t k = 0; k < m; ++k) {
      right[k] = -nearest(At(rightAt, total, joints[k]) * kUnits);
      left[k] = nearest(At(leftAt, total, joints[k]) * kUnits);
    }
    right[m] = right[0];
    left[m] = left[0];
    narrowing = NarrowBends(segments, right, left, r, l);
  };
  widths();
  // Traces evenly from the usual right edge to the usual left edge.
  auto traces = [&] {
    std::vector<int32_t> t;
    const double tr = narrowing.traceRight, tl = narrowing.traceLeft;
    for (int i = 0; i < options.traces; ++i) t.push_back(nearest((-tr + (tr + tl) * i / (options.traces - 1)) * kUnits));
    return t;
  };

  // Heights: smoothed, then a cubic a section and trace, the sections split
  // where one cubic cannot follow a hill.
  TFitHeights heights;
  {
    std::vector<double> lateral;
    for (int32_t t : traces()) lateral.push_back(t / kUnits);
    if (!heights.Prepare(line, options, segments, start, stations, lateral, ox, oy, result.warnings, result.error))
      return result;
    result.summary.heights.splits = heights.Fit(segments, options.minLength);
    if (result.summary.heights.splits > 0) {
      Relocate(placed, stations, segments);
      widths();
    }
  }
  const int m = int(segments.size());
  result.summary.narrowed = narrowing.sections;
  result.warnings.insert(result.warnings.end(), narrowing.warnings.begin(), narrowing.warnings.end());

  auto track = std::make_unique<TTrack>();
  track->Traces = traces();
  for (int k = 0; k < m; ++k) {
    auto section = MakeSection(*track, segments[size_t(k)], right[size_t(k)], right[size_t(k) + 1], left[size_t(k)],
                               left[size_t(k) + 1]);
    section->Number = k;
    track->Sections.push_back(std::move(section));
  }
  track->RecomputeRecordIndices();
  track->RecomputeStarts();
  double theta = std::remainder(start.theta, 2 * kPi);
  track->Section(0)->SetOrientation(nearest(theta * kTwoPow31 / kPi));
  track->Section(0)->SetStart(start.x * kUnits, start.y * kUnits);

  // Closed as Close Loop closes a track: the values rounded, the joints steered.
  const TLoopPlan plan = PlanCloseLoop(*track);
  if (!plan.closes) {
    result.error = "the fitted loop does not close: " + plan.refusal;
    return result;
  }
  ApplyLoopPlan(*track, plan);
  result.summary.closureBefore = plan.residualSolved / kUnits;
  const TSeam seam = LoopSeam(*track);
  result.summary.closureAfter = std::max(std::fabs(seam.along), std::fabs(seam.across));

  heights.Store(*track, options.heights, result.summary.heights);
  result.terrain = heights.Terrain();
  track->UpdateExtent();
  Measure(*track, placed, result.summary);
  // Sections shorter than the shortest asked for: the line's bends need them.
  double along = 0;
  for (int k = 0; k < m; ++k) {
    const double length = segments[size_t(k)].length;
    if (length < options.minLength)
      result.warnings.push_back(FormatPrintf("section %d is %.2f m long, shorter than %g m: the line bends too much "
                                             "there for fewer sections, %.1f m along the lap",
                                             k, length, options.minLength, along));
    along += length;
  }
  for (const TFitPoint& p : points) {
    result.sourceX.push_back(p.x * kUnits);
    result.sourceY.push_back(p.y * kUnits);
  }
  result.track = std::move(track);
  const TFitSummary& summary = result.summary;
  if (summary.largest > options.tolerance) {
    // The best found is kept for a caller that takes it all the same.
    const size_t worst = summary.worst;
    result.error = FormatPrintf("the track is %.3f m from the line at %.1f m along the lap (x %.2f, y %.2f), more "
                                "than the tolerance of %g m: ",
                                summary.largest, summary.worstAlong, line.x[worst], line.y[worst], options.tolerance) +
                   MissReason(line, worst);
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace meridal
