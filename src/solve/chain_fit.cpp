#include "solve/chain_fit.h"

#include <Eigen/Dense>
#include <Eigen/Sparse>
#include <Eigen/SparseLU>
#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace meridal {

namespace {

using Complex = std::complex<double>;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

double Sinc(double h) { return std::fabs(h) < 1e-4 ? 1.0 - h * h / 6.0 : std::sin(h) / h; }

// The integral of v e^(i a v) for v from 0 to 1.
Complex Moment(double a) {
  if (std::fabs(a) < 0.5) {
    Complex sum = 0, term = 1;  // (ia)^n / n!
    for (int n = 0; n < 14; ++n) {
      sum += term / double(n + 2);
      term *= Complex(0, a) / double(n + 1);
    }
    return sum;
  }
  const Complex e = std::exp(Complex(0, a));
  return e / Complex(0, a) + (e - 1.0) / (a * a);
}

// How the place `along` metres into a segment moves when its curvature grows.
Complex ByCurvature(const TFitPose& from, double curvature, double along) {
  return Complex(0, 1) * std::exp(Complex(0, from.theta)) * along * along * Moment(curvature * along);
}

}  // namespace

TChainFit::TChainFit(TFitPose start, std::vector<TSegment> segments, std::vector<TFitPoint> points, bool closed,
                     int turns, TFitPose target)
    : start_(start), target_(target), segments_(std::move(segments)), points_(std::move(points)), closed_(closed),
      turns_(turns) {}

TFitPose TChainFit::Along(const TFitPose& from, const TSegment& segment, double along) {
  const double k = segment.straight ? 0.0 : segment.curvature;
  const double half = 0.5 * k * along, chord = along * Sinc(half);
  return {from.x + chord * std::cos(from.theta + half), from.y + chord * std::sin(from.theta + half),
          from.theta + k * along};
}

std::vector<TFitPose> TChainFit::Poses() const {
  std::vector<TFitPose> poses(segments_.size() + 1);
  poses[0] = start_;
  for (size_t k = 0; k < segments_.size(); ++k) poses[k + 1] = Along(poses[k], segments_[k], segments_[k].length);
  return poses;
}

// The nearest place on one segment: `along` and the distance.
static double OnSegment(const TFitPose& p, const TSegment& s, double x, double y, double& u) {
  const double k = s.straight ? 0.0 : s.curvature;
  const double tx = std::cos(p.theta), ty = std::sin(p.theta);
  if (std::fabs(k) < 1e-9) {
    u = std::clamp(tx * (x - p.x) + ty * (y - p.y), 0.0, s.length);
  } else {
    const double cx = p.x - ty / k, cy = p.y + tx / k;  // the centre
    const double ax = p.x - cx, ay = p.y - cy, bx = x - cx, by = y - cy;
    double angle = std::atan2(ax * by - ay * bx, ax * bx + ay * by);
    if (k < 0) angle = -angle;
    if (angle < 0) angle += kTwoPi;
    u = angle / std::fabs(k);
    if (u > s.length) u = (u - s.length < kTwoPi / std::fabs(k) - u) ? s.length : 0.0;
  }
  const TFitPose q = TChainFit::Along(p, s, u);
  return std::hypot(q.x - x, q.y - y);
}

void TChainFit::Nearest(TFitPoint& point, const std::vector<TFitPose>& poses) const {
  const int m = int(segments_.size());
  auto wrap = [&](int j) { return closed_ ? (j % m + m) % m : j; };
  int j = std::clamp(wrap(point.segment), 0, m - 1);
  double u = 0;
  double best = OnSegment(poses[size_t(j)], segments_[size_t(j)], point.x, point.y, u);
  // Walk on while the nearest place is an end of the segment and the neighbour
  // beyond it is nearer: a point follows its place along the chain.
  for (int steps = 0; steps < m; ++steps) {
    const bool atEnd = u >= segments_[size_t(j)].length, atStart = u <= 0;
    if (!atEnd && !atStart) break;
    const int next = wrap(atEnd ? j + 1 : j - 1);
    if (next < 0 || next >= m) break;
    double v = 0;
    const double d = OnSegment(poses[size_t(next)], segments_[size_t(next)], point.x, point.y, v);
    if (!(d < best - 1e-12)) break;
    best = d;
    j = next;
    u = v;
  }
  point.segment = j;
  point.along = u;
  point.distance = best;
}

void TChainFit::Reproject() {
  const std::vector<TFitPose> poses = Poses();
  for (TFitPoint& p : points_) Nearest(p, poses);
}

double TChainFit::SumOfSquares() const {
  double sum = 0;
  for (const TFitPoint& p : points_) sum += p.distance * p.distance;
  return sum;
}

double TChainFit::Largest() const {
  double largest = 0;
  for (const TFitPoint& p : points_) largest = std::max(largest, p.distance);
  return largest;
}

void TChainFit::EndResidual(const std::vector<TFitPose>& poses, double c[3]) const {
  const TFitPose& end = poses.back();
  if (closed_) {
    c[0] = end.x - start_.x;
    c[1] = end.y - start_.y;
    c[2] = end.theta - start_.theta - kTwoPi * turns_;
  } else {
    c[0] = end.x - target_.x;
    c[1] = end.y - target_.y;
    c[2] = end.theta - target_.theta;
  }
}

double TChainFit::EndGap() const {
  double c[3];
  EndResidual(Poses(), c);
  return std::hypot(c[0], c[1]);
}

double TChainFit::EndTurn() const {
  double c[3];
  EndResidual(Poses(), c);
  return std::fabs(c[2]);
}

double TChainFit::Merit() const {
  double c[3];
  EndResidual(Poses(), c);
  return SumOfSquares() + 1e4 * (c[0] * c[0] + c[1] * c[1]) + 1e8 * c[2] * c[2];
}

// Each value moves everything after its segment rigidly: by T and a turn w about
// the origin, so that a place q moves by T + w J q (J turning a quarter left).
std::vector<TChainFit::Param> TChainFit::Params(const std::vector<TFitPose>& poses) const {
  std::vector<Param> params;
  auto add = [&](int segment, bool curvature, double vx, double vy, double w, const TFitPose& about) {
    params.push_back({segment, curvature, {vx + w * about.y, vy - w * about.x, w}});
  };
  if (closed_) add(-1, false, 0, 0, 1, start_);
  for (size_t k = 0; k < segments_.size(); ++k) {
    const TSegment& s = segments_[k];
    const TFitPose& end = poses[k + 1];
    const double kappa = s.straight ? 0.0 : s.curvature;
    add(int(k), false, std::cos(end.theta), std::sin(end.theta), kappa, end);
    if (!s.straight) {
      const Complex d = ByCurvature(poses[k], s.curvature, s.length);
      add(int(k), true, d.real(), d.imag(), s.length, end);
    }
  }
  return params;
}

namespace {

// The unknowns of one step, numbered segment by segment so that the system is
// banded: a segment's start pose (its free parts), its length and curvature,
// then the three multipliers that tie its end to the next segment's start. The
// loop's own joint ties the last segment back to the first.
struct TStepLayout {
  std::vector<int> x, y, theta;          // per joint 0..m; -1 where the pose is held
  std::vector<int> length, curvature;    // per segment; curvature -1 on a straight
  std::vector<int> link;                 // per segment: the first of its three multipliers
  int size = 0;

  TStepLayout(const std::vector<TSegment>& segments, bool closed) {
    const size_t m = segments.size();
    x.assign(m + 1, -1);
    y.assign(m + 1, -1);
    theta.assign(m + 1, -1);
    length.assign(m, -1);
    curvature.assign(m, -1);
    link.assign(m, -1);
    if (closed) theta[0] = size++;  // the start stays where it is; its heading is free
    for (size_t k = 0; k < m; ++k) {
      if (k > 0) {
        x[k] = size++;
        y[k] = size++;
        theta[k] = size++;
      }
      length[k] = size++;
      if (!segments[k].straight) curvature[k] = size++;
      link[k] = size;
      size += 3;
    }
    if (closed) theta[m] = theta[0];  // the end comes back onto the start
  }
};

// The sparse system of one step, with some unknowns held at given values: their
// columns move to the right-hand side and their rows say so. A held entry stays
// in the matrix as a zero, so that every step of a solve has one pattern, and
// the ordering found for the first serves them all.
using TSparseLU = Eigen::SparseLU<Eigen::SparseMatrix<double>, Eigen::COLAMDOrdering<int>>;

class TStepSystem {
 public:
  TStepSystem(int size, const std::vector<char>& held, const Eigen::VectorXd& value)
      : held_(held), value_(value), rhs_(Eigen::VectorXd::Zero(size)) {
    for (int i = 0; i < size; ++i) entries_.emplace_back(i, i, held_[size_t(i)] ? 1.0 : 0.0);
  }

  void Add(int row, int column, double v) {
    if (row < 0 || column < 0) return;
    const bool off = held_[size_t(row)] || held_[size_t(column)];
    if (held_[size_t(column)] && !held_[size_t(row)]) rhs_(row) -= v * value_(column);
    entries_.emplace_back(row, column, off ? 0.0 : v);
  }
  // A symmetric pair: the constraint's row and its column.
  void Both(int row, int column, double v) {
    Add(row, column, v);
    Add(column, row, v);
  }
  void Rhs(int row, double v) {
    if (row >= 0 && !held_[size_t(row)]) rhs_(row) += v;
  }
  bool Solve(TSparseLU& lu, bool& analysed, Eigen::VectorXd& out) {
    const Eigen::Index n = rhs_.size();
    for (Eigen::Index i = 0; i < n; ++i)
      if (held_[size_t(i)]) rhs_(i) = value_(i);
    Eigen::SparseMatrix<double> matrix(n, n);
    matrix.setFromTriplets(entries_.begin(), entries_.end());
    if (!analysed) {
      lu.analyzePattern(matrix);
      analysed = true;
    }
    lu.factorize(matrix);
    if (lu.info() != Eigen::Success) return false;
    out = lu.solve(rhs_);
    return lu.info() == Eigen::Success && out.allFinite();
  }

 private:
  const std::vector<char>& held_;
  const Eigen::VectorXd& value_;
  Eigen::VectorXd rhs_;
  std::vector<Eigen::Triplet<double>> entries_;
};

}  // namespace

bool TChainFit::Solve(int iterations) {
  const int m = int(segments_.size());
  const double everyPoint = double(points_.size());
  auto spend = [this](double units) {
    if (work_) *work_ += units;
  };
  Reproject();
  spend(everyPoint);
  double merit = Merit();
  const TStepLayout layout(segments_, closed_);
  TSparseLU lu;
  bool analysed = false;
  for (int iteration = 0; iteration < iterations; ++iteration) {
    if (stop_ && *stop_ && (*stop_)()) break;
    const std::vector<TFitPose> poses = Poses();
    spend(everyPoint);
    // Per segment, the points' normal equations in its start pose and curvature
    // (x, y, heading, curvature); and, for the damping, the same summed as rigid
    // motions of everything downstream.
    std::vector<Eigen::Matrix4d> block(size_t(m), Eigen::Matrix4d::Zero());
    std::vector<Eigen::Vector4d> slope(size_t(m), Eigen::Vector4d::Zero());
    std::vector<Eigen::Matrix3d> gg(size_t(m) + 1, Eigen::Matrix3d::Zero());
    std::vector<double> ll(size_t(m), 0);
    for (const TFitPoint& p : points_) {
      const size_t j = size_t(p.segment);
      const TSegment& s = segments_[j];
      const TFitPose& from = poses[j];
      const TFitPose q = Along(from, s, p.along);
      // Across the chain, and along it too where the place is held at a segment's
      // end: there the distance is not all across.
      const bool atEnd = p.along <= 0 || p.along >= s.length;
      const Complex d = s.straight ? Complex(0, 0) : ByCurvature(from, s.curvature, p.along);
      for (int row = 0; row < (atEnd ? 2 : 1); ++row) {
        const double nx = row == 0 ? -std::sin(q.theta) : std::cos(q.theta);
        const double ny = row == 0 ? std::cos(q.theta) : std::sin(q.theta);
        const double r = nx * (q.x - p.x) + ny * (q.y - p.y);
        const double l = nx * d.real() + ny * d.imag();
        const Eigen::Vector4d g(nx, ny, -nx * (q.y - from.y) + ny * (q.x - from.x), l);
        block[j] += g * g.transpose();
        slope[j] += g * r;
        const Eigen::Vector3d rigid(nx, ny, -nx * q.y + ny * q.x);
        gg[j] += rigid * rigid.transpose();
        ll[j] += l * l;
      }
    }
    for (int k = m - 1; k >= 0; --k) gg[size_t(k)] += gg[size_t(k) + 1];
    // Each free value's own weight, as it moves the points downstream.
    std::vector<double> weight(size_t(layout.size), 0), floor(size_t(layout.size), 0);
    for (const Param& p : Params(poses)) {
      const Eigen::Vector3d w(p.w[0], p.w[1], p.w[2]);
      const int index = p.segment < 0 ? layout.theta[0]
                                      : (p.curvature ? layout.curvature[size_t(p.segment)] : layout.length[size_t(p.segment)]);
      weight[size_t(index)] = w.dot(gg[size_t(p.segment + 1)] * w) + (p.curvature ? ll[size_t(p.segment)] : 0.0);
      const double l = p.segment < 0 ? 100.0 : segments_[size_t(p.segment)].length;
      floor[size_t(index)] = p.segment < 0 ? l * l : (p.curvature ? 0.25 * l * l * l * l : 1.0);
    }
    double c[3];
    EndResidual(poses, c);

    bool accepted = false;
    for (int attempt = 0; attempt < 10 && !accepted; ++attempt) {
      if (attempt > 0 && stop_ && *stop_ && (*stop_)()) break;
      // A value the step would take past its limit is held there, and the others
      // solved again with that part of the step fixed.
      std::vector<char> held(size_t(layout.size), 0);
      Eigen::VectorXd fixed = Eigen::VectorXd::Zero(layout.size), delta;
      bool solved = false;
      for (int pass = 0; pass < 4 && !solved; ++pass) {
        TStepSystem system(layout.size, held, fixed);
        // The damping weighs each value at least by how far it moves a point
        // nearby, so that a value no point pins down (the last segment's length)
        // does not take up the whole closure alone.
        for (int i = 0; i < layout.size; ++i)
          if (floor[size_t(i)] > 0 || weight[size_t(i)] > 0)
            system.Add(i, i, damping_ * std::max(weight[size_t(i)], floor[size_t(i)]) + 1e-6 * floor[size_t(i)]);
        for (int k = 0; k < m; ++k) {
          const size_t kk = size_t(k);
          const int v[4] = {layout.x[kk], layout.y[kk], layout.theta[kk], layout.curvature[kk]};
          for (int a = 0; a < 4; ++a) {
            system.Rhs(v[a], -slope[kk](a));
            for (int b = 0; b < 4; ++b) system.Add(v[a], v[b], block[kk](a, b));
          }
          // The segment's end, linearised, meets the next start.
          const TSegment& s = segments_[kk];
          const TFitPose& from = poses[kk];
          const TFitPose& end = poses[kk + 1];
          const double kappa = s.straight ? 0.0 : s.curvature;
          const int row = layout.link[kk];
          for (int e = 0; e < 3; ++e) system.Add(row + e, row + e, -1e-12);
          system.Both(row, layout.x[kk], 1);
          system.Both(row + 1, layout.y[kk], 1);
          const double byHeading[3] = {-(end.y - from.y), end.x - from.x, 1};
          const double byLength[3] = {std::cos(end.theta), std::sin(end.theta), kappa};
          for (int e = 0; e < 3; ++e) {
            system.Both(row + e, layout.theta[kk], byHeading[e]);
            system.Both(row + e, layout.length[kk], byLength[e]);
          }
          if (!s.straight) {
            const Complex d = ByCurvature(from, s.curvature, s.length);
            system.Both(row, layout.curvature[kk], d.real());
            system.Both(row + 1, layout.curvature[kk], d.imag());
            system.Both(row + 2, layout.curvature[kk], s.length);
          }
          system.Both(row, layout.x[kk + 1], -1);
          system.Both(row + 1, layout.y[kk + 1], -1);
          system.Both(row + 2, layout.theta[kk + 1], -1);
          if (k == m - 1)
            for (int e = 0; e < 3; ++e) system.Rhs(row + e, -c[e]);
        }
        spend(kWorkPerUnknown * layout.size);
        if (!system.Solve(lu, analysed, delta)) break;
        solved = true;
        for (int k = 0; k < m; ++k) {
          TSegment& s = segments_[size_t(k)];
          const int kc = layout.curvature[size_t(k)], kl = layout.length[size_t(k)];
          if (kc >= 0 && !held[size_t(kc)]) {
            const double to = s.curvature + delta(kc);
            if (to > s.leftmost || to < s.rightmost) {
              held[size_t(kc)] = 1;
              fixed(kc) = std::clamp(to, s.rightmost, s.leftmost) - s.curvature;
              solved = false;
            }
          }
          const double shortest = std::min(shortest_, s.length);
          if (!held[size_t(kl)] && s.length + delta(kl) < shortest) {
            held[size_t(kl)] = 1;
            fixed(kl) = shortest - s.length;
            solved = false;
          }
        }
      }
      if (!solved) {
        damping_ *= 10;
        continue;
      }
      // Try the step on a copy; keep it when the fit and the closure improve.
      const TFitPose keptStart = start_;
      const std::vector<TSegment> keptSegments = segments_;
      const std::vector<TFitPoint> keptPoints = points_;
      if (closed_) start_.theta += delta(layout.theta[0]);
      for (int k = 0; k < m; ++k) {
        TSegment& s = segments_[size_t(k)];
        if (layout.curvature[size_t(k)] >= 0)
          s.curvature = std::clamp(s.curvature + delta(layout.curvature[size_t(k)]), s.rightmost, s.leftmost);
        s.length = std::max(std::min(shortest_, s.length), s.length + delta(layout.length[size_t(k)]));
      }
      Reproject();
      spend(everyPoint);
      const double trial = Merit();
      if (trial < merit) {
        accepted = true;
        const bool settled = merit - trial < 1e-9 * merit + 1e-12;
        merit = trial;
        damping_ = std::max(1e-7, damping_ / 4);
        if (settled && EndGap() < 1e-6 && EndTurn() < 1e-9) return true;
      } else {
        start_ = keptStart;
        segments_ = keptSegments;
        points_ = keptPoints;
        damping_ *= 10;
      }
    }
    if (!accepted) break;
  }
  return EndGap() < 1e-5 && EndTurn() < 1e-8;
}

}  // namespace meridal
