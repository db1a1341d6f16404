// Finding the segments: a fine chain that follows the heading of the points,
// fitted as a whole; segments split where a point lies too far; then neighbours
// merged, arcs of nearly equal curvature first, and arcs that barely turn made
// straight, each trial refitting only a few segments about the change with the
// rest of the loop held, so that only changes the points allow are kept; last,
// the sections shorter than the shortest allowed merged away where the points
// allow it.
//
// An arc keeps its centre beyond the walls, with a metre to spare, except where
// the line itself bends tighter than that (a hairpin narrower than the road is
// wide): there the line is followed, down to a radius of two metres, and the
// track is narrowed afterwards. Every stage is bounded: a split that does not
// bring the points nearer is not repeated, the segments never outnumber what
// the shortest length allows nor the points, and the work of all the solves
// together has a bound. A line sampled far more densely than the sections
// need is searched on about a point a metre, and measured on every point.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>
#include <type_traits>

#include "solve/centreline_fit.h"

namespace meridal {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr int kWindow = 3;                   // segments refitted on each side of a trial change
constexpr double kFlattest = 1.0 / 40000.0;  // 1/metres: a gentler arc's centre may not fit the plan
constexpr double kLargestTurn = 1.5 * std::numbers::pi;  // radians: no segment turns further
// Metres an arc's centre keeps beyond the room on the inside of its bend: a
// little more than the inner edge's radius, so that an arc that drifts a little
// past its limit is not narrowed for it.
constexpr double kSpare = kInnerRadius + 0.1;
// A loop still further from its points than this many tolerances, and metres,
// once split is given up.
constexpr double kHopeless = 20.0;
// The most work the searches of one fit may do (TChainFit::SetWork), about
// five seconds: nine times what a circuit of 5 km takes, three times what one
// sampled every 6 cm does. A line that needs more is one the search is losing
// its way on (sections split again and again, and refitted as a whole): what
// it has found by then is all there is.
constexpr double kWorkBudget = 5e7;
// Metres between the points the search needs at most (see FitSegments).
constexpr double kSearchSpacing = 1.0;

// The search keeps its points a little inside the tolerance, for the rounding
// to stored units.
double SearchTolerance(const TFitOptions& options) { return std::max(0.0, options.tolerance - 0.002); }

struct TLoop {
  TFitPose start;
  int turns = 0;
  std::vector<TSegment> segments;
  std::vector<TFitPoint> points;
  double tolerance = 0, rmsCap = 0, shortest = 0;
  // The room each side of each point that an arc's centre stays beyond: the
  // walls, or less where the line bends tighter than the walls allow.
  std::vector<double> right, left;
  size_t most = 0;  // the most segments the loop may have
  const std::function<bool()>* stop = nullptr;
  double* work = nullptr;  // what the solves have done so far (TChainFit::SetWork)

  bool Stopped() const { return stop && *stop && (*stop)(); }
  TChainFit Chain(TFitPose from, std::vector<TSegment> s, std::vector<TFitPoint> p, bool closed,
                  TFitPose to = {}) const {
    TChainFit fit(from, std::move(s), std::move(p), closed, closed ? turns : 0, to);
    fit.SetShortest(shortest);
    fit.SetStop(stop);
    fit.SetWork(work);
    return fit;
  }
  TChainFit Whole() {
    Limit(true);
    return Chain(start, segments, points, true);
  }
  std::vector<TFitPose> Poses() const {
    std::vector<TFitPose> poses(segments.size() + 1);
    poses[0] = start;
    for (size_t k = 0; k < segments.size(); ++k) poses[k + 1] = TChainFit::Along(poses[k], segments[k], segments[k].length);
    return poses;
  }
  // Each segment's sharpest turns: the room of its points and its neighbours',
  // and a metre more. The first chain is brought within them; later ones widen
  // them instead.
  void Limit(bool widen) {
    std::vector<double> r(segments.size(), 0), l(segments.size(), 0);
    for (size_t i = 0; i < points.size(); ++i) {
      const size_t k = size_t(points[i].segment);
      r[k] = std::max(r[k], right[i]);
      l[k] = std::max(l[k], left[i]);
    }
    for (size_t k = 0; k < segments.size(); ++k) {
      const size_t a = (k + segments.size() - 1) % segments.size(), b = (k + 1) % segments.size();
      segments[k].leftmost = 1.0 / (std::max({l[a], l[k], l[b]}) + kSpare);
      segments[k].rightmost = -1.0 / (std::max({r[a], r[k], r[b]}) + kSpare);
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
    const TFitPoint& a = p[size_t((i - reach % n + 2 * n) % n)];
    const TFitPoint& b = p[size_t((i + reach) % n)];
    double angle = std::atan2(b.y - a.y, b.x - a.x);
    if (i > 0) angle += kTwoPi * std::round((h[size_t(i) - 1] - angle) / kTwoPi);
    h[size_t(i)] = angle;
  }
  return h;
}

// Metres along the line at each point, with one more at the end: the whole lap.
std::vector<double> Stations(const std::vector<TFitPoint>& p) {
  const size_t n = p.size();
  std::vector<double> s(n + 1, 0);
  for (size_t i = 1; i <= n; ++i) s[i] = s[i - 1] + std::hypot(p[i % n].x - p[i - 1].x, p[i % n].y - p[i - 1].y);
  return s;
}

// Frees the room on one side about each segment that `tight` names, down to the
// narrowest, for the points of the segment and of its neighbours (a segment's
// limit is its neighbours' too); true when any was freed.
template <class Tight>
bool FreeTightSegments(TLoop& loop, Tight tight) {
  const size_t m = loop.segments.size();
  std::vector<char> left(m, 0), right(m, 0);
  bool any = false;
  const double sharpest = 1.0 / (kNarrowest + kSpare);
  for (size_t k = 0; k < m; ++k) {
    const TSegment& s = loop.segments[k];
    if (s.straight) continue;
    if (s.leftmost < 0.999 * sharpest && tight(k, true)) left[k] = 1, any = true;
    if (s.rightmost > -0.999 * sharpest && tight(k, false)) right[k] = 1, any = true;
  }
  if (!any) return false;
  for (size_t i = 0; i < loop.points.size(); ++i) {
    const size_t k = size_t(loop.points[i].segment);
    for (size_t j : {(k + m - 1) % m, k, (k + 1) % m}) {
      if (left[j]) loop.left[i] = std::min(loop.left[i], kNarrowest);
      if (right[j]) loop.right[i] = std::min(loop.right[i], kNarrowest);
    }
  }
  return true;
}

TLoop FirstChain(const std::vector<TFitPoint>& input, const std::vector<double>& right, const std::vector<double>& left) {
  TLoop loop;
  loop.points = input;
  loop.right = right;
  loop.left = left;
  const int n = int(input.size());
  const std::vector<double> s = Stations(input);
  const double spacing = s[size_t(n)] / n;
  const int reach = std::clamp(int(std::lround(4.0 / spacing)), 1, std::max(1, n / 8));
  const std::vector<double> h = Headings(input, reach);
  loop.turns = int(std::lround((h[size_t(n)] - h[0]) / kTwoPi));
  loop.start = {input[0].x, input[0].y, h[0]};
  // Knots about 20 m apart, closer where the line turns: every 0.15 rad of heading,
  // but 2 m apart at least (a noisy line turns to and fro at every point); the
  // first curvatures kept within the walls.
  const double closest = std::min(2.0, s[size_t(n)] / 16);
  std::vector<int> knots{0};
  for (int i = 1; i < n; ++i) {
    const int last = knots.back();
    const double gap = s[size_t(i)] - s[size_t(last)];
    if (gap >= 20.0 || (gap >= closest && std::fabs(h[size_t(i)] - h[size_t(last)]) >= 0.15)) knots.push_back(i);
  }
  if (knots.size() > 1 && s[size_t(n)] - s[size_t(knots.back())] < 5.0) knots.pop_back();
  // A loop needs two segments at least.
  if (knots.size() < 2) knots.push_back(n / 2);
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
  // Where the line bends tighter than its walls allow, the room on the inside
  // is freed about the bend, so that the arcs may follow it.
  loop.Limit(true);
  FreeTightSegments(loop, [&](size_t k, bool left) {
    const TSegment& s = loop.segments[k];
    return left ? s.curvature > s.leftmost * 0.999 : s.curvature < s.rightmost * 0.999;
  });
  loop.Limit(false);
  return loop;
}

// Splits each segment that has a point too far, at its furthest point, while the
// loop has room for more; `pairs` gets the first of each pair.
bool SplitFar(TLoop& loop, std::vector<int>* pairs = nullptr) {
  const size_t m = loop.segments.size();
  std::vector<double> worst(m, 0), at(m, 0);
  for (const TFitPoint& p : loop.points) {
    size_t k = size_t(p.segment);
    double along = p.along;
    // A point too far on a segment too short to split in two of the shortest
    // length: its longer neighbour is split instead, at its end next to the
    // point, unless that is short too and the segment itself can be split.
    if (p.distance > loop.tolerance && loop.segments[k].length < 2 * loop.shortest) {
      const size_t before = (k + m - 1) % m, after = (k + 1) % m;
      const bool next = loop.segments[after].length > loop.segments[before].length;
      const size_t j = next ? after : before;
      if (loop.segments[j].length >= 2 * loop.shortest || loop.segments[k].length <= 2.0) {
        k = j;
        along = next ? 0.0 : loop.segments[k].length;
      }
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
    if (worst[k] > loop.tolerance && s.length > 2.0 && segments.size() + (m - k) < loop.most) {
      // Both parts as long as the shortest section where the segment allows it.
      const double edge = s.length >= 2 * loop.shortest ? loop.shortest : 0.25 * s.length;
      const double c = std::clamp(at[k], edge, s.length - edge);
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
  if (loop.Stopped()) return false;
  const int m = int(loop.segments.size());
  for (TSegment& s : replacement) {  // the tighter limits of the two
    s.leftmost = std::min(loop.segments[size_t(a)].leftmost, loop.segments[size_t(b)].leftmost);
    s.rightmost = std::max(loop.segments[size_t(a)].rightmost, loop.segments[size_t(b)].rightmost);
    s.curvature = std::clamp(s.curvature, s.rightmost, s.leftmost);
  }
  const int from = std::max(0, a - kWindow), to = std::min(m - 1, b + kWindow);
  const std::vector<TFitPose> poses = loop.Poses();
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
  TChainFit fit = loop.Chain(poses[size_t(from)], segments, points, false, poses[size_t(to) + 1]);
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
  return std::min(a.length, b.length) < loop.shortest ? bend - 1e3 : bend;
}

// Whether two neighbours may become one: the loop keeps two segments, and no
// segment turns as far as a whole circle.
bool MayMerge(const TLoop& loop, int k) {
  if (loop.segments.size() <= 2) return false;
  const TSegment m = Merged(loop.segments[size_t(k)], loop.segments[size_t(k) + 1]);
  return std::fabs(m.curvature * m.length) <= kLargestTurn;
}

// One pass of merges, cheapest first; true when any was kept.
bool MergePass(TLoop& loop) {
  bool merged = false;
  std::vector<char> failed(loop.segments.size(), 0);  // merging k with k + 1 was refused
  for (;;) {
    if (loop.Stopped()) return false;
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
    if (!MayMerge(loop, best) ||
        !TryChange(loop, best, best + 1, {Merged(loop.segments[size_t(best)], loop.segments[size_t(best) + 1])})) {
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
// first so that the earlier indices hold; stops when a round brings the points
// no nearer.
void SplitLocally(TLoop& loop, int rounds) {
  double largest = loop.Largest();
  for (int round = 0; round < rounds && largest > loop.tolerance && !loop.Stopped(); ++round) {
    std::vector<int> pairs;
    if (!SplitFar(loop, &pairs)) return;
    for (auto it = pairs.rbegin(); it != pairs.rend(); ++it)
      TryChange(loop, *it, *it + 1, {loop.segments[size_t(*it)], loop.segments[size_t(*it) + 1]}, true);
    const double now = loop.Largest();
    if (now > 0.99 * largest && round > 0) return;
    largest = std::min(largest, now);
  }
}

bool Refit(TLoop& loop, int iterations) {
  TChainFit fit = loop.Whole();
  const bool closed = fit.Solve(iterations);
  loop.Take(fit);
  return closed;
}

// Where a point stays too far and a segment about it has its curvature held at
// the walls' limit, the room on that side is freed; true when any was.
bool FreeHeldBends(TLoop& loop) {
  const size_t m = loop.segments.size();
  std::vector<char> far(m, 0);
  for (const TFitPoint& p : loop.points)
    if (p.distance > loop.tolerance)
      for (size_t k : {(size_t(p.segment) + m - 1) % m, size_t(p.segment), (size_t(p.segment) + 1) % m}) far[k] = 1;
  return FreeTightSegments(loop, [&](size_t k, bool left) {
    const TSegment& s = loop.segments[k];
    return far[k] && (left ? s.curvature > 0.999 * s.leftmost : s.curvature < 0.999 * s.rightmost);
  });
}

// Arcs too gentle to store made straight, the whole loop refitted; true when
// there were any.
bool Flatten(TLoop& loop) {
  bool flat = false;
  for (TSegment& s : loop.segments) {
    if (!s.straight && std::fabs(s.curvature) < kFlattest) {
      s.straight = true;
      s.curvature = 0;
      flat = true;
    }
  }
  if (flat) Refit(loop, 10);
  return flat;
}

// Each segment shorter than the shortest section merged into a neighbour, or
// shared out between both, where the points allow it; shortest first.
void MergeShort(TLoop& loop) {
  for (int round = 0; round < 4 && !loop.Stopped(); ++round) {
    std::vector<char> tried(loop.segments.size(), 0);
    bool changed = false;
    for (;;) {
      int k = -1;
      for (int j = 0; j < int(loop.segments.size()); ++j)
        if (!tried[size_t(j)] && loop.segments[size_t(j)].length < loop.shortest &&
            (k < 0 || loop.segments[size_t(j)].length < loop.segments[size_t(k)].length))
          k = j;
      if (k < 0 || loop.Stopped()) break;
      const int m = int(loop.segments.size());
      bool kept = false;
      if (k + 1 < m && MayMerge(loop, k)) kept = TryChange(loop, k, k + 1, {Merged(loop.segments[size_t(k)], loop.segments[size_t(k) + 1])});
      if (!kept && k > 0 && MayMerge(loop, k - 1))
        kept = TryChange(loop, k - 1, k, {Merged(loop.segments[size_t(k) - 1], loop.segments[size_t(k)])});
      if (!kept && k > 0 && k + 1 < m && m > 3) {
        // Half its length to each neighbour.
        TSegment a = loop.segments[size_t(k) - 1], b = loop.segments[size_t(k) + 1];
        const double half = 0.5 * loop.segments[size_t(k)].length;
        a.curvature = a.straight ? 0.0 : (a.curvature * a.length + loop.segments[size_t(k)].curvature * half) / (a.length + half);
        b.curvature = b.straight ? 0.0 : (b.curvature * b.length + loop.segments[size_t(k)].curvature * half) / (b.length + half);
        a.length += half;
        b.length += half;
        kept = TryChange(loop, k - 1, k + 1, {a, b});
      }
      if (kept) {
        changed = true;
        tried.assign(loop.segments.size(), 0);
      } else {
        tried[size_t(k)] = 1;
      }
    }
    if (!changed) break;
  }
}

// The search's limits: the tolerance and RMS it keeps, the shortest section,
// and the most segments, from the options and the loop's first segments.
void SetLimits(TLoop& loop, const TFitOptions& options) {
  loop.tolerance = SearchTolerance(options);
  loop.rmsCap = options.tolerance / 3.0;
  // A hair over the shortest, so that rounding keeps it.
  loop.shortest = options.minLength + 0.002;
  const double lap = Stations(loop.points).back();
  loop.most = size_t(std::clamp(lap / std::max(options.minLength, 1.0), 2.0 * double(loop.segments.size()), 20000.0));
  loop.most = std::max(loop.most, loop.segments.size() + 16);
  // Nor more than the points: a segment with no point of its own is free to
  // wander, and splitting it only adds work.
  loop.most = std::min(loop.most, std::max(loop.points.size(), loop.segments.size() + 16));
}

// Whatever a window could not mend: splits refitted as a whole, while they
// bring the points nearer; what they leave too gentle made straight, and what
// they leave too short merged again.
void MendFar(TLoop& loop) {
  for (int round = 0; round < 3 && loop.Largest() > loop.tolerance && !loop.Stopped(); ++round) {
    FreeHeldBends(loop);
    SplitLocally(loop, 8);
    double largest = loop.Largest();
    for (int split = 0; split < 12 && largest > loop.tolerance && !loop.Stopped() && SplitFar(loop); ++split) {
      Refit(loop, 6);
      const double now = loop.Largest();
      if (now > 0.99 * largest && split > 0) break;
      largest = std::min(largest, now);
    }
    if (!Flatten(loop)) break;
  }
  MergeShort(loop);
  Flatten(loop);
}

// The search itself, on the points it is given.
TSegmentsFit Search(const std::vector<TFitPoint>& points, const std::vector<double>& right,
                    const std::vector<double>& left, const TFitOptions& options, double& work) {
  // The progress: each stage's share of the whole, reported as the stages go.
  double done = 0;
  bool stopped = false;  // once told to stop, the progress is not asked again
  const std::function<bool()> stop = [&] {
    return stopped || work > kWorkBudget ||
           (stopped = options.progress && !options.progress(std::min(done, 1.0)));
  };
  TLoop loop = FirstChain(points, right, left);
  loop.stop = &stop;
  loop.work = &work;
  SetLimits(loop, options);
  TSegmentsFit out;
  auto finish = [&] {
    out.segments = loop.segments;
    out.start = loop.start;
    out.points = loop.points;
    out.stopped = stopped;
    return out;
  };
  Refit(loop, 30);
  done = 0.1;
  for (int round = 0; round < 3 && loop.Largest() > loop.tolerance && !loop.Stopped() && FreeHeldBends(loop); ++round)
    Refit(loop, 8);
  SplitLocally(loop, 8);
  for (int round = 0; round < 3 && loop.Largest() > loop.tolerance && !loop.Stopped() && FreeHeldBends(loop); ++round) {
    Refit(loop, 8);
    SplitLocally(loop, 8);
  }
  done = 0.2;
  // A line the splits brought nowhere near is not a circuit's (a line that
  // folds back, or no loop): the best so far is all there is.
  if (loop.Stopped() || loop.Largest() > kHopeless * options.tolerance + kHopeless) return finish();
  // Merges keep every point within the tolerance as they go: no refit of the
  // whole loop between passes, which could undo a window's balance.
  for (int pass = 0; pass < 8 && !loop.Stopped(); ++pass) {
    const bool merged = MergePass(loop);
    const bool straightened = Straighten(loop);
    done = 0.2 + 0.5 * (pass + 1) / 8;
    if (!merged && !straightened) break;
  }
  done = 0.7;
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
  for (int round = 0; round < 4 && !loop.Stopped() && Flatten(loop); ++round) SplitLocally(loop, 8);
  done = 0.8;
  MergeShort(loop);
  done = 0.85;
  // A last refit of the whole loop closes what the windows left open, kept only
  // when it keeps every point within the tolerance (Close Loop takes up a few
  // millimetres as well).
  TLoop refit = loop;
  Refit(refit, 10);
  if (refit.Largest() <= loop.tolerance) loop = std::move(refit);
  MendFar(loop);
  done = 0.9;
  return finish();
}

// The points the search works on: the first, and then each `spacing` metres
// from the last kept, straight across (a wobble of the points does not make
// the line longer). Points far closer than the shortest section needs add only
// work: each is measured at the end all the same.
std::vector<size_t> Thinned(const std::vector<TFitPoint>& points, double spacing) {
  std::vector<size_t> kept{0};
  for (size_t i = 1; i < points.size(); ++i) {
    const TFitPoint& last = points[kept.back()];
    if (std::hypot(points[i].x - last.x, points[i].y - last.y) >= spacing) kept.push_back(i);
  }
  return kept;
}

// Every point placed on the segments that the search found from those `kept`:
// each looks for its nearest place from the segment of the kept point before it.
std::vector<TFitPoint> PlaceAll(const std::vector<TFitPoint>& points, const std::vector<size_t>& kept,
                                const TSegmentsFit& fit) {
  std::vector<TFitPoint> all = points;
  size_t j = 0;
  for (size_t i = 0; i < all.size(); ++i) {
    while (j + 1 < kept.size() && kept[j + 1] <= i) ++j;
    all[i].segment = fit.points[j].segment;
    all[i].along = fit.points[j].along;
  }
  TChainFit chain(fit.start, fit.segments, std::move(all), true, 0);
  chain.Reproject();
  return chain.Points();
}

// The loop `fit` found, mended where `points` (placed on it) lie too far.
TSegmentsFit Mended(const TSegmentsFit& fit, std::vector<TFitPoint> points, std::vector<double> right,
                    std::vector<double> left, const TFitOptions& options, double& work) {
  bool stopped = false;
  const std::function<bool()> stop = [&] {
    return stopped || work > kWorkBudget || (stopped = options.progress && !options.progress(0));
  };
  TLoop loop;
  loop.start = fit.start;
  loop.segments = fit.segments;
  loop.points = std::move(points);
  loop.right = std::move(right);
  loop.left = std::move(left);
  double turn = 0;
  for (const TSegment& s : loop.segments) turn += (s.straight ? 0.0 : s.curvature) * s.length;
  loop.turns = int(std::lround(turn / kTwoPi));
  loop.stop = &stop;
  loop.work = &work;
  SetLimits(loop, options);
  MendFar(loop);
  return {loop.segments, loop.start, loop.points, stopped};
}

}  // namespace

TSegmentsFit FitSegments(const std::vector<TFitPoint>& points, const std::vector<double>& right,
                         const std::vector<double>& left, const TFitOptions& options, double* spent) {
  // A line sampled far more densely than the shortest section needs (a point
  // every few centimetres) is searched on a point about every metre. Then
  // every point is measured; those that lie too far join the search's points,
  // and the loop found is mended about them, twice at most.
  const double spacing = std::min(kSearchSpacing, options.minLength / 5);
  const double mean = Stations(points).back() / double(points.size());
  double own = 0;
  double& work = spent ? *spent : own;
  if (!(mean < 0.5 * spacing)) return Search(points, right, left, options, work);
  std::vector<size_t> kept = Thinned(points, spacing);
  auto some = [&kept](const auto& all) {
    std::remove_cvref_t<decltype(all)> out;
    out.reserve(kept.size());
    for (size_t i : kept) out.push_back(all[i]);
    return out;
  };
  TFitOptions searched = options;
  if (options.progress)  // the search's share of the whole, the mending the rest
    searched.progress = [&](double done) { return options.progress(0.8 * done / 0.9); };
  TSegmentsFit fit = Search(some(points), some(right), some(left), searched, work);
  const double tolerance = SearchTolerance(options);
  for (int round = 0; !fit.stopped; ++round) {
    fit.points = PlaceAll(points, kept, fit);
    std::vector<size_t> far;
    for (size_t i = 0; i < points.size(); ++i)
      if (fit.points[i].distance > tolerance) far.push_back(i);
    if (far.empty() || round == 2) break;
    std::vector<size_t> joined;
    std::set_union(kept.begin(), kept.end(), far.begin(), far.end(), std::back_inserter(joined));
    kept = std::move(joined);
    if (options.progress)
      searched.progress = [&, round](double) { return options.progress(0.8 + 0.05 * round); };
    fit = Mended(fit, some(fit.points), some(right), some(left), searched, work);
  }
  return fit;
}

}  // namespace meridal
