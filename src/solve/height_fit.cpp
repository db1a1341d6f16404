#include "solve/height_fit.h"

#include <Eigen/Sparse>
#include <algorithm>
#include <cmath>
#include <random>

#include "model/numbers.h"
#include "model/track.h"
#include "model/units.h"

namespace meridal {

namespace {

constexpr double kUnits = kUnitsPerMeter;
// The smoothed profile's knots: a quarter of the reach apart, but no more of
// them than this (a 100 km lap still smooths in a moment).
constexpr size_t kMostKnots = 20000;
// The sections' cubics are fitted to the smoothed profile sampled about every metre.
constexpr double kFitStep = 1.0;
constexpr int kMostSamplesAPiece = 400;
// A light penalty on the cubics: only what the smoothed profile cannot decide.
constexpr double kCubicPenalty = 1.0;
constexpr int kMostSplitRounds = 12;
// A section is split only where the smoothed profile strays from its cubic by
// more than this many times the spread that the input's noise, smoothed, has.
constexpr double kNoiseAllowance = 2.5;

// The Hermite basis on a piece of length L at u in [0, 1]: the weights of the
// value and slope at its start and at its end.
void Basis(double u, double length, double row[4]) {
  const double u2 = u * u, u3 = u2 * u;
  row[0] = 2 * u3 - 3 * u2 + 1;
  row[1] = (u3 - 2 * u2 + u) * length;
  row[2] = -2 * u3 + 3 * u2;
  row[3] = (u3 - u2) * length;
}

void SlopeBasis(double u, double length, double row[4]) {
  const double u2 = u * u;
  row[0] = (6 * u2 - 6 * u) / length;
  row[1] = 3 * u2 - 4 * u + 1;
  row[2] = (-6 * u2 + 6 * u) / length;
  row[3] = 3 * u2 - 2 * u;
}

// The cubic of one piece in u: A u^3 + B u^2 + C u + D.
struct Cubic {
  double a, b, c, d;
};
Cubic PieceCubic(double h0, double m0, double h1, double m1, double length) {
  const double d0 = m0 * length, d1 = m1 * length;
  return {2 * h0 + d0 - 2 * h1 + d1, -3 * h0 - 2 * d0 + 3 * h1 - d1, d0, h0};
}

double TraceLengthOf(const TSegment& segment, double lateral) {
  if (segment.straight || segment.curvature == 0) return segment.length;
  // The trace's radius is the zero line's less its lateral position; a trace
  // beyond the centre keeps a length of a millimetre rather than none.
  return std::max(1e-3, segment.length * (1 - segment.curvature * lateral));
}


}  // namespace

// ---- the loop spline ----

TLoopSpline::TLoopSpline(std::vector<double> knots, double total)
    : knots_(std::move(knots)), total_(total), value_(knots_.size(), 0.0), slope_(knots_.size(), 0.0) {}

double TLoopSpline::Length(size_t k) const {
  const double end = k + 1 < knots_.size() ? knots_[k + 1] : total_;
  return end - knots_[k];
}

size_t TLoopSpline::Piece(double at, double& u) const {
  at = std::fmod(at, total_);
  if (at < 0) at += total_;
  size_t k = size_t(std::upper_bound(knots_.begin(), knots_.end(), at) - knots_.begin());
  k = k == 0 ? 0 : k - 1;
  const double length = Length(k);
  u = length > 0 ? std::clamp((at - knots_[k]) / length, 0.0, 1.0) : 0.0;
  return k;
}

bool TLoopSpline::Fit(const std::vector<TValue>& values, double penalty) {
  const size_t n = knots_.size();
  if (n == 0 || values.empty() || !(total_ > 0)) return false;
  // About the mean, so that a datum of 9 km costs no precision.
  double mean = 0, weights = 0;
  for (const TValue& v : values) {
    mean += v.weight * v.value;
    weights += v.weight;
  }
  if (!(weights > 0)) return false;
  mean /= weights;
  std::vector<Eigen::Triplet<double>> entries;
  Eigen::VectorXd rhs = Eigen::VectorXd::Zero(long(2 * n));
  auto indices = [n](size_t k, long idx[4]) {
    const size_t next = (k + 1) % n;
    idx[0] = long(2 * k);
    idx[1] = long(2 * k + 1);
    idx[2] = long(2 * next);
    idx[3] = long(2 * next + 1);
  };
  for (const TValue& v : values) {
    double u = 0, row[4];
    const size_t k = Piece(v.at, u);
    Basis(u, Length(k), row);
    long idx[4];
    indices(k, idx);
    for (int i = 0; i < 4; ++i) {
      rhs(idx[i]) += v.weight * row[i] * (v.value - mean);
      for (int j = 0; j < 4; ++j) entries.emplace_back(idx[i], idx[j], v.weight * row[i] * row[j]);
    }
  }
  // The integral of the squared second derivative over each piece: the second
  // derivative is linear, a at the start and b at the end, and the integral
  // L/3 (a^2 + ab + b^2).
  for (size_t k = 0; k < n; ++k) {
    const double length = Length(k);
    if (!(length > 0)) continue;
    const double l2 = length * length;
    const double a[4] = {-6 / l2, -4 / length, 6 / l2, -2 / length};
    const double b[4] = {6 / l2, 2 / length, -6 / l2, 4 / length};
    long idx[4];
    indices(k, idx);
    const double scale = penalty * length / 3;
    for (int i = 0; i < 4; ++i)
      for (int j = 0; j < 4; ++j)
        entries.emplace_back(idx[i], idx[j], scale * (a[i] * a[j] + b[i] * b[j] + 0.5 * (a[i] * b[j] + b[i] * a[j])));
  }
  for (size_t i = 0; i < 2 * n; ++i) entries.emplace_back(long(i), long(i), 1e-12);
  Eigen::SparseMatrix<double> matrix(long(2 * n), long(2 * n));
  matrix.setFromTriplets(entries.begin(), entries.end());
  Eigen::SimplicialLDLT<Eigen::SparseMatrix<double>> solver(matrix);
  if (solver.info() != Eigen::Success) return false;
  const Eigen::VectorXd x = solver.solve(rhs);
  if (solver.info() != Eigen::Success || !x.allFinite()) return false;
  for (size_t k = 0; k < n; ++k) {
    value_[k] = x(long(2 * k)) + mean;
    slope_[k] = x(long(2 * k + 1));
  }
  return true;
}

double TLoopSpline::Value(double at) const {
  double u = 0, row[4];
  const size_t k = Piece(at, u), next = (k + 1) % knots_.size();
  Basis(u, Length(k), row);
  return row[0] * value_[k] + row[1] * slope_[k] + row[2] * value_[next] + row[3] * slope_[next];
}

double TLoopSpline::Slope(double at) const {
  double u = 0, row[4];
  const size_t k = Piece(at, u), next = (k + 1) % knots_.size();
  SlopeBasis(u, Length(k), row);
  return row[0] * value_[k] + row[1] * slope_[k] + row[2] * value_[next] + row[3] * slope_[next];
}

double TLoopSpline::GreatestSlope() const {
  double greatest = 0;
  for (size_t k = 0; k < knots_.size(); ++k) {
    const double length = Length(k);
    if (!(length > 0)) continue;
    const size_t next = (k + 1) % knots_.size();
    const Cubic c = PieceCubic(value_[k], slope_[k], value_[next], slope_[next], length);
    auto slope = [&](double u) { return std::fabs((3 * c.a * u * u + 2 * c.b * u + c.c) / length); };
    greatest = std::max({greatest, slope(0), slope(1)});
    if (c.a != 0) {
      const double u = -c.b / (3 * c.a);
      if (u > 0 && u < 1) greatest = std::max(greatest, slope(u));
    }
  }
  return greatest;
}

double TLoopSpline::Lowest() const {
  double lowest = knots_.empty() ? 0 : value_[0];
  for (size_t k = 0; k < knots_.size(); ++k) {
    const size_t next = (k + 1) % knots_.size();
    const Cubic c = PieceCubic(value_[k], slope_[k], value_[next], slope_[next], Length(k));
    auto at = [&](double u) { return ((c.a * u + c.b) * u + c.c) * u + c.d; };
    lowest = std::min({lowest, at(0), at(1)});
    // Where the slope is 0 inside the piece: 3a u^2 + 2b u + c = 0.
    const double qa = 3 * c.a, qb = 2 * c.b, qc = c.c;
    if (std::fabs(qa) < 1e-15) {
      if (qb != 0 && -qc / qb > 0 && -qc / qb < 1) lowest = std::min(lowest, at(-qc / qb));
      continue;
    }
    const double disc = qb * qb - 4 * qa * qc;
    if (disc < 0) continue;
    for (const double root : {(-qb + std::sqrt(disc)) / (2 * qa), (-qb - std::sqrt(disc)) / (2 * qa)})
      if (root > 0 && root < 1) lowest = std::min(lowest, at(root));
  }
  return lowest;
}

// ---- the smoothed loop ----

namespace {

// The uniform cubic B-spline's four weights at u in [0, 1], and their
// derivatives (per unit of u) and second derivatives.
void Weights(double u, double w[4]) {
  const double v = 1 - u;
  w[0] = v * v * v / 6;
  w[1] = (3 * u * u * u - 6 * u * u + 4) / 6;
  w[2] = (-3 * u * u * u + 3 * u * u + 3 * u + 1) / 6;
  w[3] = u * u * u / 6;
}
void SlopeWeights(double u, double w[4]) {
  w[0] = -(1 - u) * (1 - u) / 2;
  w[1] = 1.5 * u * u - 2 * u;
  w[2] = -1.5 * u * u + u + 0.5;
  w[3] = u * u / 2;
}
void CurvatureWeights(double u, double w[4]) {
  w[0] = 1 - u;
  w[1] = 3 * u - 2;
  w[2] = 1 - 3 * u;
  w[3] = u;
}

}  // namespace

size_t TSmoothLoop::Piece(double at, double& u) const {
  at = std::fmod(at, total_);
  if (at < 0) at += total_;
  const double x = at / spacing_;
  const size_t i = std::min(size_t(x), coefficients_.size() - 1);
  u = std::clamp(x - double(i), 0.0, 1.0);
  return i;
}

bool TSmoothLoop::Fit(const std::vector<TLoopSpline::TValue>& values, double total, double reach) {
  if (values.empty() || !(total > 0)) return false;
  reach = std::max(reach, 1e-2);
  const size_t n = std::clamp<size_t>(size_t(std::ceil(total / (reach / 4))), 8, kMostKnots);
  total_ = total;
  spacing_ = total / double(n);
  double mean = 0, weights = 0;
  for (const TLoopSpline::TValue& v : values) {
    mean += v.weight * v.value;
    weights += v.weight;
  }
  if (!(weights > 0) || !std::isfinite(mean)) return false;
  mean /= weights;
  coefficients_.assign(n, 0.0);
  std::vector<Eigen::Triplet<double>> entries;
  Eigen::VectorXd rhs = Eigen::VectorXd::Zero(long(n));
  for (const TLoopSpline::TValue& v : values) {
    double u = 0, w[4];
    const size_t i = Piece(v.at, u);
    Weights(u, w);
    for (int a = 0; a < 4; ++a) {
      rhs(long(C(i + size_t(a)))) += v.weight * w[a] * (v.value - mean);
      for (int b = 0; b < 4; ++b) entries.emplace_back(long(C(i + size_t(a))), long(C(i + size_t(b))), v.weight * w[a] * w[b]);
    }
  }
  // The third derivative is constant on a piece, the third difference of its
  // coefficients over spacing^3: the integral of its square is the sum over the
  // pieces of spacing times that squared. The penalty is reach^6 times it.
  const double difference[4] = {-1, 3, -3, 1};
  const double scale = std::pow(reach / spacing_, 6) * spacing_;
  for (size_t i = 0; i < n; ++i)
    for (int a = 0; a < 4; ++a)
      for (int b = 0; b < 4; ++b)
        entries.emplace_back(long(C(i + size_t(a))), long(C(i + size_t(b))), scale * difference[a] * difference[b]);
  for (size_t i = 0; i < n; ++i) entries.emplace_back(long(i), long(i), 1e-12);
  Eigen::SparseMatrix<double> matrix(static_cast<long>(n), static_cast<long>(n));
  matrix.setFromTriplets(entries.begin(), entries.end());
  Eigen::SimplicialLDLT<Eigen::SparseMatrix<double>> solver(matrix);
  if (solver.info() != Eigen::Success) return false;
  const Eigen::VectorXd x = solver.solve(rhs);
  if (solver.info() != Eigen::Success || !x.allFinite()) return false;
  for (size_t i = 0; i < n; ++i) coefficients_[i] = x(long(i)) + mean;
  return true;
}

double TSmoothLoop::Weighed(double at, void (*weights)(double, double[4])) const {
  double u = 0, w[4], sum = 0;
  const size_t i = Piece(at, u);
  weights(u, w);
  for (int a = 0; a < 4; ++a) sum += w[a] * coefficients_[C(i + size_t(a))];
  return sum;
}

double TSmoothLoop::Value(double at) const { return Weighed(at, Weights); }

double TSmoothLoop::Slope(double at) const { return Weighed(at, SlopeWeights) / spacing_; }

double TSmoothLoop::GreatestSlope() const {
  double greatest = 0;
  for (size_t i = 0; i < coefficients_.size(); ++i) {
    auto slope = [&](double u) {
      double w[4], sum = 0;
      SlopeWeights(u, w);
      for (int a = 0; a < 4; ++a) sum += w[a] * coefficients_[C(i + size_t(a))];
      return std::fabs(sum / spacing_);
    };
    // The slope is steepest at an end of the piece or where the curvature, linear on it, is 0.
    double c0 = 0, c1 = 0, w[4];
    CurvatureWeights(0, w);
    for (int a = 0; a < 4; ++a) c0 += w[a] * coefficients_[C(i + size_t(a))];
    CurvatureWeights(1, w);
    for (int a = 0; a < 4; ++a) c1 += w[a] * coefficients_[C(i + size_t(a))];
    greatest = std::max({greatest, slope(0), slope(1)});
    if ((c0 < 0) != (c1 < 0) && c0 != c1) greatest = std::max(greatest, slope(c0 / (c0 - c1)));
  }
  return greatest;
}

// ---- the heights of the loop ----

THeightFit::THeightFit(const std::vector<TSegment>& segments, std::vector<std::vector<THeightSample>> samples,
                       const std::vector<double>& lateral, THeightFitOptions options)
    : options_(options), segments_(segments) {
  zero_ = Frame(0);
  for (size_t j = 0; j < samples.size(); ++j) {
    TProfile profile;
    profile.frame = Frame(j < lateral.size() ? lateral[j] : 0.0);
    profile.samples = std::move(samples[j]);
    Smooth(profile);
    profiles_.push_back(std::move(profile));
    traces_.push_back({profiles_.back().frame, j});
  }
}

THeightFit::THeightFit(const std::vector<TSegment>& segments, std::vector<THeightSample> samples,
                       const std::vector<double>& lateral, THeightFitOptions options)
    : options_(options), segments_(segments) {
  zero_ = Frame(0);
  TProfile profile;
  profile.frame = zero_;
  profile.samples = std::move(samples);
  Smooth(profile);
  profiles_.push_back(std::move(profile));
  for (double v : lateral) traces_.push_back({Frame(v), 0});
}

THeightFit::TFrame THeightFit::Frame(double lateral) const {
  TFrame frame;
  frame.lateral = lateral;
  for (const TSegment& s : segments_) {
    frame.joints.push_back(frame.total);
    frame.total += TraceLengthOf(s, lateral);
  }
  return frame;
}

size_t THeightFit::Locate(const TFrame& frame, double station, double& t) const {
  if (!(frame.total > 0) || frame.joints.empty()) {
    t = 0;
    return 0;
  }
  station = std::fmod(station, frame.total);
  if (station < 0) station += frame.total;
  size_t k = size_t(std::upper_bound(frame.joints.begin(), frame.joints.end(), station) - frame.joints.begin());
  k = k == 0 ? 0 : k - 1;
  const double length = TraceLengthOf(segments_[k], frame.lateral);
  t = length > 0 ? std::clamp((station - frame.joints[k]) / length, 0.0, 1.0) : 0.0;
  return k;
}

double THeightFit::At(const TFrame& frame, size_t k, double t) const {
  return frame.joints[k] + t * TraceLengthOf(segments_[k], frame.lateral);
}

void THeightFit::Smooth(TProfile& profile) {
  // The samples along the profile's line, in order, each weighed by the stretch
  // of the line it stands for.
  std::vector<TLoopSpline::TValue> values;
  for (const THeightSample& s : profile.samples) {
    double t = 0;
    const size_t k = Locate(zero_, s.station, t);
    values.push_back({At(profile.frame, k, t), s.height, 1.0});
  }
  std::sort(values.begin(), values.end(), [](const auto& a, const auto& b) { return a.at < b.at; });
  const double total = profile.frame.total;
  for (size_t i = 0; i < values.size(); ++i) {
    const double before = i > 0 ? values[i - 1].at : values.back().at - total;
    const double after = i + 1 < values.size() ? values[i + 1].at : values.front().at + total;
    values[i].weight = std::max(1e-3, (after - before) / 2);
  }
  profile.smooth.Fit(values, total, options_.reach);
  AllowForNoise(profile, values);
}

void THeightFit::AllowForNoise(TProfile& profile, const std::vector<TLoopSpline::TValue>& values) const {
  profile.tolerance = options_.tolerance;
  profile.slopeTolerance = options_.slopeTolerance;
  if (values.size() < 8) return;
  // The input's noise, from how far the samples lie from the smoothed profile
  // (the median distance, as a normal spread would have it).
  std::vector<double> off;
  for (const auto& v : values) off.push_back(std::fabs(v.value - profile.smooth.Value(v.at)));
  std::nth_element(off.begin(), off.begin() + long(off.size() / 2), off.end());
  const double sigma = 1.4826 * off[off.size() / 2];
  if (!(sigma > 1e-6)) return;
  // Noise of that spread at the same stations, smoothed as the input was: how
  // far it strays in height and in slope is what the profile itself may.
  std::mt19937 random(1);
  std::normal_distribution<double> normal(0, sigma);
  std::vector<TLoopSpline::TValue> noise = values;
  for (auto& v : noise) v.value = normal(random);
  TSmoothLoop smoothed;
  if (!smoothed.Fit(noise, profile.frame.total, options_.reach)) return;
  double height = 0, slope = 0;
  for (const auto& v : noise) {
    height += std::pow(smoothed.Value(v.at), 2);
    slope += std::pow(smoothed.Slope(v.at), 2);
  }
  const double n = double(noise.size());
  profile.tolerance = std::max(profile.tolerance, kNoiseAllowance * std::sqrt(height / n));
  profile.slopeTolerance = std::max(profile.slopeTolerance, kNoiseAllowance * std::sqrt(slope / n));
}

void THeightFit::ProfileAt(const TTrace& trace, double station, double& height, double& slope) const {
  const TProfile& profile = profiles_[trace.profile];
  double t = 0;
  const size_t k = Locate(trace.frame, station, t);
  const double at = At(profile.frame, k, t);
  height = profile.smooth.Value(at);
  // Metres of the profile's line a metre of the trace stands for.
  const double traceLength = TraceLengthOf(segments_[k], trace.frame.lateral);
  const double scale = traceLength > 0 ? TraceLengthOf(segments_[k], profile.frame.lateral) / traceLength : 1.0;
  slope = profile.smooth.Slope(at) * scale;
}

void THeightFit::FitCubics(TTrace& trace, std::vector<double>& score, std::vector<double>& where) {
  const TProfile& profile = profiles_[trace.profile];
  const TFrame& frame = trace.frame;
  auto count = [&](size_t k) {
    return std::clamp(int(std::ceil(TraceLengthOf(segments_[k], frame.lateral) / kFitStep)), 8, kMostSamplesAPiece);
  };
  std::vector<TLoopSpline::TValue> values;
  for (size_t k = 0; k < segments_.size(); ++k) {
    const double length = TraceLengthOf(segments_[k], frame.lateral);
    for (int i = 0, n = count(k); i < n; ++i) {
      const double at = frame.joints[k] + length * (i + 0.5) / n;
      double height = 0, slope = 0;
      ProfileAt(trace, at, height, slope);
      values.push_back({at, height, length / n});
    }
  }
  trace.cubics = TLoopSpline(frame.joints, frame.total);
  trace.cubics.Fit(values, kCubicPenalty);
  // Each piece's worst place: its height or slope off the smoothed profile, each
  // against its tolerance.
  trace.smoothedSlope = 0;
  for (size_t k = 0; k < segments_.size(); ++k) {
    const double length = TraceLengthOf(segments_[k], frame.lateral);
    for (int i = 0, n = count(k); i <= n; ++i) {
      const double at = frame.joints[k] + length * i / n;
      double height = 0, slope = 0;
      ProfileAt(trace, at, height, slope);
      trace.smoothedSlope = std::max(trace.smoothedSlope, std::fabs(slope));
      const double off = std::max(std::fabs(trace.cubics.Value(at) - height) / profile.tolerance,
                                  std::fabs(trace.cubics.Slope(at) - slope) / profile.slopeTolerance);
      if (off > score[k]) {
        score[k] = off;
        where[k] = double(i) / n;
      }
    }
  }
}

int THeightFit::Fit(std::vector<TSegment>& segments, double shortest) {
  segments_ = segments;
  int splits = 0;
  for (int round = 0; round <= kMostSplitRounds; ++round) {
    // The stations along every line, for the segments as they now are.
    zero_ = Frame(0);
    for (TProfile& profile : profiles_) profile.frame = Frame(profile.frame.lateral);
    for (TTrace& trace : traces_) trace.frame = Frame(trace.frame.lateral);
    std::vector<double> score(segments_.size(), 0), where(segments_.size(), 0.5);
    for (TTrace& trace : traces_) FitCubics(trace, score, where);
    if (round == kMostSplitRounds) break;
    // A centimetre to spare, so that no piece ends a rounding short of the shortest.
    const double least = shortest + 0.01;
    std::vector<TSegment> next;
    bool split = false;
    for (size_t k = 0; k < segments_.size(); ++k) {
      const TSegment& s = segments_[k];
      if (score[k] <= 1 || s.length < 2 * least) {
        next.push_back(s);
        continue;
      }
      // Near the worst place, but not so near an end that a sliver is left.
      const double low = std::max(0.25, least / s.length), high = std::min(0.75, 1 - least / s.length);
      TSegment a = s, b = s;
      a.length = s.length * std::clamp(where[k], low, high);
      b.length = s.length - a.length;
      next.push_back(a);
      next.push_back(b);
      split = true;
      ++splits;
    }
    if (!split) break;
    segments_ = std::move(next);
  }
  segments = segments_;
  return splits;
}

void THeightFit::Store(TTrack& track, double offset) const {
  const int m = track.NumberOfSections();
  if (size_t(m) != segments_.size()) return;
  for (size_t j = 0; j < traces_.size() && int(j) < track.NumberOfTraces(); ++j) {
    const TTrace& trace = traces_[j];
    std::vector<int32_t> d(size_t(m) + 1);
    for (int k = 0; k < m; ++k) d[size_t(k)] = nearest((trace.cubics.KnotValue(size_t(k)) - offset) * kUnits);
    d[size_t(m)] = d[0];
    for (int k = 0; k < m; ++k) {
      const size_t next = size_t(k + 1) % size_t(m);
      const double length = TraceLengthOf(segments_[size_t(k)], trace.frame.lateral);
      const Cubic c = PieceCubic(trace.cubics.KnotValue(size_t(k)) - offset, trace.cubics.KnotSlope(size_t(k)),
                                 trace.cubics.KnotValue(next) - offset, trace.cubics.KnotSlope(next), length);
      const int32_t cubic = nearest(c.a * kUnits);
      const int32_t linear = nearest(c.c * kUnits);
      // The square term takes what rounding left, so that the end meets the next start.
      const int32_t square = wrapSub(wrapSub(wrapSub(d[size_t(k) + 1], d[size_t(k)]), linear), cubic);
      TAltitude& altitude = *track.Section(k)->Altitude(int(j));
      altitude.ThirdOrder = cubic;
      altitude.SecondOrder = square;
      altitude.FirstOrder = linear;
      altitude.HeightAtStart = d[size_t(k)];
      altitude.A3 = wrapMul(3, cubic);
      altitude.B2 = wrapMul(2, square);
    }
  }
}

double THeightFit::Lowest() const {
  double lowest = 0;
  for (size_t j = 0; j < traces_.size(); ++j)
    lowest = j == 0 ? traces_[j].cubics.Lowest() : std::min(lowest, traces_[j].cubics.Lowest());
  return lowest;
}

double THeightFit::SmoothedGreatestSlope() const {
  double greatest = 0;
  for (const TTrace& trace : traces_) greatest = std::max(greatest, trace.smoothedSlope);
  return greatest;
}

THeightFit::TReport THeightFit::Measure(const TTrack& track, double offset) const {
  TReport report;
  double sum = 0;
  size_t count = 0;
  if (size_t(track.NumberOfSections()) != segments_.size()) return report;
  for (size_t j = 0; j < traces_.size() && int(j) < track.NumberOfTraces(); ++j) {
    for (const THeightSample& s : profiles_[traces_[j].profile].samples) {
      double t = 0;
      const size_t k = Locate(zero_, s.station, t);
      const double stored = track.Section(int(k))->Altitude(int(j))->HeightAt(t) / kUnits + offset;
      const double off = std::fabs(stored - s.height);
      report.largest = std::max(report.largest, off);
      sum += off * off;
      ++count;
    }
  }
  report.rms = count ? std::sqrt(sum / double(count)) : 0;
  for (const auto& section : track.Sections)
    for (const auto& altitude : section->Altitudes)
      report.greatestSlope = std::max(report.greatestSlope, altitude->GreatestGradient());
  return report;
}

}  // namespace meridal
