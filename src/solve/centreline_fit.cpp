// Finding the segments: a fine chain that follows the heading of the points,
// fitted as a whole; segments split where a point lies too far; then neighbours
// merged, arcs of nearly equal curvature first, and arcs that barely turn made
// straight, each trial refitting only a few segments about the change with the
// rest of the loop held, so that only changes the points allow are kept.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "solve/centreline_fit.h"

namespace meridal {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr int kWindow = 3;            // segments refitted on each side of a trial change
constexpr double kShortSection = 5.0;  // metres: shorter sections are merged first
constexpr double kFlattest = 1.0 / 40000.0;  // 1/metres: a gentler arc's centre may not fit the plan

struct TLoop {
  TFitPose start;
  int turns = 0;
  std::vector<TSegment> segments;
  std::vector<TFitPoint> points;
  double tolerance = 0, rmsCap = 0;
  std::vector<double> right, left;  // the widths at each point

  TChainFit Whole() {
    Limit(true);
    return TChainFit(start, segments, points, true, turns);
  }
  // Each segment's sharpest turns: its points' walls, and a little room. The
  // first chain is brought within them; later ones widen them instead.
  void Limit(bool widen) {
    std::vector<double> r(segments.size(), 0), l(segments.size(), 0);
    for (size_t i = 0; i < points.size(); ++i) {
      const size_t k = size_t(points[i].segment);
      r[k] = std::max(r[k], right[i]);
      l[k] = std::max(l[k], left[i]);
    }
    for (size_t k = 0; k < segments.size(); ++k) {
      const size_t a = (k + segments.size() - 1) % segments.size(), b = (k + 1) % segments.size();
      segments[k].leftmost = 1.0 / (std::max({l[a], l[k], l[b]}) + 0.5);
      segments[k].rightmost = -1.0 / (std::max({r[a], r[k], r[b]}) + 0.5);
      // A curvature already past a limit (its points moved to another segment)
      // widens it rather than jump back.
      TSegment& s = segments[k];
      if (!widen) s.curvature = std::clamp(s.curvature, s.rightmost, s.leftmost);
      s.leftmost = std::max(s.leftmost, s.curvature);
      s.rightmost = std::min(s.rightmost, s.curvature);
    }
  }
  void Take(const TChainFit& fit) {
    start = fit.Start();
    segments = fit.Segments();
    points = fit.Points();
  }
  double SumOfSquares() const {
    double sum = 0;
    for (const TFitPoint& p : points) sum += p.distance * p.distance;
    return sum;
  }
  double Largest() const {
    double largest = 0;
    for (const TFitPoint& p : points) largest = std::max(largest, p.distance);
    return largest;
  }
};

// The heading of the line at each point, from its neighbours `reach` points away,
// unwrapped, with one more at the end: the first again, whole turns on.
std::vector<double> Headings(const std::vector<TFitPoint>& p, int reach) {
  const int n = int(p.size());
  std::vector<double> h(size_t(n) + 1);
  for (int i = 0; i <= n; ++i) {
    const TFitPoint& a = p[size_t((i - reach + 2 * n) % n)];
    const TFitPoint& b = p[size_t((i + reach) % n)];
    double angle = std::atan2(b.y - a.y, b.x - a.x);
    if (i > 0) angle += kTwoPi * std::round((h[size_t(i) - 1] - angle) / kTwoPi);
    h[size_t(i)] = angle;
  }
  return h;
}

TLoop FirstChain(const std::vector<TFitPoint>& input, double spacing, const std::vector<double>& right,
                 const std::vector<double>& left) {
  TLoop loop;
  loop.points = input;
  const int n = int(input.size());
  std::vector<double> s(size_t(n) + 1, 0);
  for (int i = 1; i <= n; ++i) {
    const TFitPoint& a = input[size_t(i - 1)];
    const TFitPoint& b = input[size_t(i % n)];
    s[size_t(i)] = s[size_t(i) - 1] + std::hypot(b.x - a.x, b.y - a.y);
  }
  const int reach = std::max(1, int(std::lround(4.0 / spacing)));
  const std::vector<double> h = Headings(input, reach);
  loop.turns = int(std::lround((h[size_t(n)] - h[0]) / kTwoPi));
  loop.start = {input[0].x, input[0].y, h[0]};
  // Knots about 20 m apart, closer where the line turns: every 0.15 rad of heading;
  // the first curvatures kept within the walls.
  std::vector<int> knots{0};
  for (int i = 1; i < n; ++i) {
    const int last = knots.back();
    if (s[size_t(i)] - s[size_t(last)] >= 20.0 || std::fabs(h[size_t(i)] - h[size_t(last)]) >= 0.15) knots.push_back(i);
  }
  if (knots.size() > 1 && s[size_t(n)] - s[size_t(knots.back())] < 5.0) knots.pop_back();
  knots.push_back(n);
  for (size_t k = 0; k + 1 < knots.size(); ++k) {
    const int a = knots[k], b = knots[k + 1];
    TSegment segment;
    segment.length = std::max(0.5, s[size_t(b)] - s[size_t(a)]);
    segment.curvature = (h[size_t(b)] - h[size_t(a)]) / segment.length;
    loop.segments.push_back(segment);
    for (int i = a; i < b; ++i) {
      loop.points[size_t(i)].segment = int(k);
      loop.points[size_t(i)].along = s[size_t(i)] - s[size_t(a)];
    }
  }
  loop.right = right;
  loop.left = left;
  loop.Limit(false);
  return loop;
}

// Splits each segment that has a point too far, at its furthest point; `at`
// gets the first of each pair.
bool SplitFar(TLoop& loop, std::vector<int>* pairs = nullptr) {
  const size_t m = loop.segments.size();
  std::vector<double> worst(m, 0), at(m, 0);
  for (const TFitPoint& p : loop.points) {
    size_t k = size_t(p.segment);
    double along = p.along;
    // A point too far on a segment too short to split: its longer neighbour is
    // split instead, at its end next to the point.
    if (p.distance > loop.tolerance && loop.segments[k].length <= 2.0) {
      const size_t before = (k + m - 1) % m, after = (k + 1) % m;
      const bool next = loop.segments[after].length > loop.segments[before].length;
      k = next ? after : before;
      along = next ? 0.0 : loop.segments[k].length;
    }
    if (p.distance > worst[k]) {
      worst[k] = p.distance;
      at[k] = along;
    }
  }
  std::vector<TSegment> segments;
  std::vector<int> first(m), parts(m, 1);
  std::vector<double> cut(m, 0);
  bool split = false;
  for (size_t k = 0; k < m; ++k) {
    first[k] = int(segments.size());
    const TSegment& s = loop.segments[k];
    if (worst[k] > loop.tolerance && s.length > 2.0) {
      double c = std::clamp(at[k], 0.25 * s.length, 0.75 * s.length);
      TSegment a = s, b = s;
      a.length = c;
      b.length = s.length - c;
      a.straight = b.straight = false;
      segments.push_back(a);
      segments.push_back(b);
      parts[k] = 2;
      cut[k] = c;
      split = true;
      if (pairs) pairs->push_back(first[k]);
    } else {
      segments.push_back(s);
    }
  }
  if (!split) return false;
  for (TFitPoint& p : loop.points) {
    const size_t k = size_t(p.segment);
    p.segment = first[k];
    if (parts[k] == 2 && p.along > cut[k]) {
      p.segment += 1;
      p.along -= cut[k];
    }
  }
  loop.segments = std::move(segments);
  return true;
}

// Refits segments `from` to `to` after replacing `a`..`b` by `replacement`, with
// the rest of the loop held; keeps it when every point there stays within the
// tolerance and the whole stays within its RMS, or when `settle`, when the
// window fits no worse than before.
bool TryChange(TLoop& loop, int a, int b, std::vector<TSegment> replacement, bool settle = false) {
  const int m = int(loop.segments.size());
  for (TSegment& s : replacement) {  // the tighter limits of the two
    s.leftmost = std::min(loop.segments[size_t(a)].leftmost, loop.segments[size_t(b)].leftmost);
    s.rightmost = std::max(loop.segments[size_t(a)].rightmost, loop.segments[size_t(b)].rightmost);
  }
  const int from = std::max(0, a - kWindow), to = std::min(m - 1, b + kWindow);
  const std::vector<TFitPose> poses = loop.Whole().Poses();
  std::vector<TSegment> segments(loop.segments.begin() + from, loop.segments.begin() + a);
  segments.insert(segments.end(), replacement.begin(), replacement.end());
  segments.insert(segments.end(), loop.segments.begin() + b + 1, loop.segments.begin() + to + 1);
  const int removed = b - a + 1, added = int(replacement.size());
  // The window's points, renumbered onto its segments.
  std::vector<TFitPoint> points;
  std::vector<size_t> which;
  double before = 0;
  for (size_t i = 0; i < loop.points.size(); ++i) {
    TFitPoint p = loop.points[i];
    if (p.segment < from || p.segment > to) continue;
    before += p.distance * p.distance;
    if (p.segment < a) {
      p.segment -= from;
    } else if (p.segment <= b) {
      double along = p.along;
      for (int k = a; k < p.segment; ++k) along += loop.segments[size_t(k)].length;
      int j = 0;
      while (j + 1 < added && along > replacement[size_t(j)].length) along -= replacement[size_t(j++)].length;
      p.segment = a - from + j;
      p.along = std::max(0.0, along);
    } else {
      p.segment = p.segment - from - removed + added;
    }
    points.push_back(p);
    which.push_back(i);
  }
  TChainFit fit(poses[size_t(from)], segments, points, false, 0, poses[size_t(to) + 1]);
  // The window's end must meet the held rest closely; the whole loop's refit takes
  // up what is left.
  fit.Solve(12);
  if (fit.EndGap() > 2e-4 || fit.EndTurn() > 2e-6) return false;
  if (settle) {
    if (fit.SumOfSquares() > before) return false;  // a refit that only settles must not be worse
  } else {
    if (fit.Largest() > loop.tolerance) return false;
    const double total = loop.SumOfSquares() - before + fit.SumOfSquares();
    if (total > loop.rmsCap * loop.rmsCap * double(loop.points.size())) return false;
  }
  // Keep it: the window's segments and points in place, the later ones renumbered.
  std::vector<TSegment> next(loop.segments.begin(), loop.segments.begin() + from);
  next.insert(next.end(), fit.Segments().begin(), fit.Segments().end());
  next.insert(next.end(), loop.segments.begin() + to + 1, loop.segments.end());
  for (TFitPoint& p : loop.points)
    if (p.segment > to) p.segment += added - removed;
  for (size_t i = 0; i < which.size(); ++i) {
    loop.points[which[i]] = fit.Points()[i];
    loop.points[which[i]].segment += from;
  }
  loop.segments = std::move(next);
  return true;
}

// The two segments as one, with the same turn.
TSegment Merged(const TSegment& a, const TSegment& b) {
  TSegment m;
  m.length = a.length + b.length;
  m.straight = a.straight && b.straight;
  m.curvature = m.straight ? 0.0 : (a.curvature * a.length + b.curvature * b.length) / m.length;
  return m;
}

// How much the heading would have to bend to merge segments k and k + 1; short
// segments come first.
double MergeCost(const TLoop& loop, int k) {
  const TSegment& a = loop.segments[size_t(k)];
  const TSegment& b = loop.segments[size_t(k) + 1];
  const double bend = std::fabs(a.curvature - b.curvature) * std::min(a.length, b.length);
  return std::min(a.length, b.length) < kShortSection ? bend - 1e3 : bend;
}

// One pass of merges, cheapest first; true when any was kept.
bool MergePass(TLoop& loop) {
  bool merged = false;
  std::vector<char> failed(loop.segments.size(), 0);  // merging k with k + 1 was refused
  for (;;) {
    int best = -1;
    double cost = 0;
    for (int k = 0; k + 1 < int(loop.segments.size()); ++k) {
      if (failed[size_t(k)]) continue;
      const double c = MergeCost(loop, k);
      if (best < 0 || c < cost) {
        best = k;
        cost = c;
      }
    }
    if (best < 0) return merged;
    const TSegment joined = Merged(loop.segments[size_t(best)], loop.segments[size_t(best) + 1]);
    if (!TryChange(loop, best, best + 1, {joined})) {
      failed[size_t(best)] = 1;
      continue;
    }
    merged = true;
    // The window changed: its merges may be tried again.
    failed.erase(failed.begin() + best);
    for (int k = std::max(0, best - kWindow - 1); k <= std::min(int(failed.size()) - 1, best + kWindow); ++k)
      failed[size_t(k)] = 0;
  }
}

// Arcs that barely turn become straights where the points allow.
bool Straighten(TLoop& loop) {
  bool changed = false;
  for (int k = 0; k < int(loop.segments.size()); ++k) {
    TSegment& s = loop.segments[size_t(k)];
    if (s.straight) continue;
    if (std::fabs(s.curvature) >= kFlattest && std::fabs(s.curvature * s.length) > 0.05) continue;
    TSegment straight = s;
    straight.straight = true;
    straight.curvature = 0;
    changed = TryChange(loop, k, k, {straight}) || changed;
  }
  return changed;
}

// Splits where points lie too far, each pair refitted in its window, later ones
// first so that the earlier indices hold.
void SplitLocally(TLoop& loop, int rounds) {
  for (int round = 0; round < rounds && loop.Largest() > loop.tolerance; ++round) {
    std::vector<int> pairs;
    if (!SplitFar(loop, &pairs)) return;
    for (auto it = pairs.rbegin(); it != pairs.rend(); ++it)
      TryChange(loop, *it, *it + 1, {loop.segments[size_t(*it)], loop.segments[size_t(*it) + 1]}, true);
  }
}

bool Refit(TLoop& loop, int iterations) {
  TChainFit fit = loop.Whole();
  const bool closed = fit.Solve(iterations);
  loop.Take(fit);
  return closed;
}

}  // namespace

std::vector<TSegment> FitSegments(std::vector<TFitPoint>& points, double tolerance, const std::vector<double>& right,
                                  const std::vector<double>& left, TFitPose& start) {
  double path = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    const TFitPoint& a = points[i];
    const TFitPoint& b = points[(i + 1) % points.size()];
    path += std::hypot(b.x - a.x, b.y - a.y);
  }
  TLoop loop = FirstChain(points, path / double(points.size()), right, left);
  // A little room below the tolerance for the rounding to stored units.
  loop.tolerance = std::max(0.0, tolerance - 0.002);
  loop.rmsCap = tolerance / 3.0;
  loop.right = right;
  loop.left = left;
  Refit(loop, 8);
  SplitLocally(loop, 8);
  // Merges keep every point within the tolerance as they go: no refit of the
  // whole loop between passes, which could undo a window's balance.
  for (int pass = 0; pass < 8; ++pass) {
    const bool merged = MergePass(loop);
    const bool straightened = Straighten(loop);
    if (!merged && !straightened) break;
  }
  // Arcs too gentle to store become straights: where their windows take up the
  // turn, else in any case, the whole loop refitted and split where it must.
  for (int k = 0; k < int(loop.segments.size()); ++k) {
    const TSegment& s = loop.segments[size_t(k)];
    if (s.straight || std::fabs(s.curvature) >= kFlattest) continue;
    TSegment straight = s;
    straight.straight = true;
    straight.curvature = 0;
    TryChange(loop, k, k, {straight});
  }
  for (int round = 0; round < 4; ++round) {
    bool flat = false;
    for (TSegment& s : loop.segments) {
      if (!s.straight && std::fabs(s.curvature) < kFlattest) {
        s.straight = true;
        s.curvature = 0;
        flat = true;
      }
    }
    if (!flat) break;
    Refit(loop, 10);
    SplitLocally(loop, 8);
  }
  // A last refit of the whole loop closes what the windows left open, kept only
  // when it keeps every point within the tolerance (Close Loop takes up a few
  // millimetres as well).
  TLoop refit = loop;
  Refit(refit, 10);
  if (refit.Largest() <= loop.tolerance) loop = std::move(refit);
  // Whatever a window could not mend: splits refitted as a whole.
  SplitLocally(loop, 8);
  for (int round = 0; round < 12 && loop.Largest() > loop.tolerance && SplitFar(loop); ++round) Refit(loop, 6);
  start = loop.start;
  points = loop.points;
  return loop.segments;
}

}  // namespace meridal
