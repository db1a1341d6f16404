#include "solve/chain_fit.h"

#include <Eigen/Dense>
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

bool TChainFit::Solve(int iterations) {
  const int m = int(segments_.size());
  Reproject();
  double merit = Merit();
  for (int iteration = 0; iteration < iterations; ++iteration) {
    const std::vector<TFitPose> poses = Poses();
    // Per segment: the points' rigid-motion terms and their own curvature terms.
    std::vector<Eigen::Matrix3d> gg(size_t(m) + 1, Eigen::Matrix3d::Zero());
    std::vector<Eigen::Vector3d> gr(size_t(m) + 1, Eigen::Vector3d::Zero()), gl(size_t(m), Eigen::Vector3d::Zero());
    std::vector<double> ll(size_t(m), 0), lr(size_t(m), 0);
    for (const TFitPoint& p : points_) {
      const size_t j = size_t(p.segment);
      const TSegment& s = segments_[j];
      const TFitPose q = Along(poses[j], s, p.along);
      // Across the chain, and along it too where the place is held at a segment's
      // end: there the distance is not all across.
      const bool held = p.along <= 0 || p.along >= s.length;
      const Complex d = s.straight ? Complex(0, 0) : ByCurvature(poses[j], s.curvature, p.along);
      for (int row = 0; row < (held ? 2 : 1); ++row) {
        const double nx = row == 0 ? -std::sin(q.theta) : std::cos(q.theta);
        const double ny = row == 0 ? std::cos(q.theta) : std::sin(q.theta);
        const double r = nx * (q.x - p.x) + ny * (q.y - p.y);
        const Eigen::Vector3d g(nx, ny, -nx * q.y + ny * q.x);
        gg[j] += g * g.transpose();
        gr[j] += g * r;
        if (!s.straight) {
          const double l = nx * d.real() + ny * d.imag();
          gl[j] += g * l;
          ll[j] += l * l;
          lr[j] += l * r;
        }
      }
    }
    for (int k = m - 1; k >= 0; --k) {  // suffix sums: everything from segment k on
      gg[size_t(k)] += gg[size_t(k) + 1];
      gr[size_t(k)] += gr[size_t(k) + 1];
    }
    const std::vector<Param> params = Params(poses);
    const Eigen::Index n = Eigen::Index(params.size());
    Eigen::MatrixXd h(n, n);
    Eigen::VectorXd grad(n);
    Eigen::MatrixXd a(3, n);
    const TFitPose& end = poses.back();
    for (Eigen::Index i = 0; i < n; ++i) {
      const Param& p = params[size_t(i)];
      const Eigen::Vector3d wp(p.w[0], p.w[1], p.w[2]);
      const size_t after = size_t(p.segment + 1);
      grad(i) = wp.dot(gr[after]) + (p.curvature ? lr[size_t(p.segment)] : 0.0);
      for (Eigen::Index c = i; c < n; ++c) {
        const Param& q = params[size_t(c)];
        const Eigen::Vector3d wq(q.w[0], q.w[1], q.w[2]);
        double v = wp.dot(gg[size_t(q.segment + 1)] * wq);
        if (q.curvature && p.segment < q.segment) v += wp.dot(gl[size_t(q.segment)]);
        if (c == i && p.curvature) v += ll[size_t(p.segment)];
        h(i, c) = h(c, i) = v;
      }
      a(0, i) = p.w[0] - p.w[2] * end.y;
      a(1, i) = p.w[1] + p.w[2] * end.x;
      a(2, i) = p.w[2] - (closed_ && p.segment < 0 ? 1.0 : 0.0);
    }
    double c[3];
    EndResidual(poses, c);
    const Eigen::Vector3d cv(c[0], c[1], c[2]);

    bool accepted = false;
    for (int attempt = 0; attempt < 10 && !accepted; ++attempt) {
      // The damping weighs each value at least by how far it moves a point nearby,
      // so that a value no point pins down (the last segment's length) does not
      // take up the whole closure alone.
      Eigen::MatrixXd hd = h;
      for (Eigen::Index i = 0; i < n; ++i) {
        const Param& p = params[size_t(i)];
        const double l = p.segment < 0 ? 100.0 : segments_[size_t(p.segment)].length;
        const double floor = p.segment < 0 ? l * l : (p.curvature ? 0.25 * l * l * l * l : 1.0);
        hd(i, i) += damping_ * std::max(h(i, i), floor) + 1e-6 * floor;
      }
      // A value the step would take past its limit is held there, and the others
      // solved again with that part of the step fixed.
      Eigen::VectorXd delta = Eigen::VectorXd::Zero(n);
      std::vector<char> held(size_t(n), 0);
      bool solved = false;
      for (int pass = 0; pass < 4; ++pass) {
        std::vector<Eigen::Index> open;
        for (Eigen::Index i = 0; i < n; ++i)
          if (!held[size_t(i)]) open.push_back(i);
        const Eigen::Index f = Eigen::Index(open.size());
        Eigen::MatrixXd hf(f, f), af(3, f);
        Eigen::VectorXd gf(f);
        Eigen::Vector3d cf = cv + a * delta;  // the held part's share of the end
        const Eigen::VectorXd pushed = h * delta;
        for (Eigen::Index x = 0; x < f; ++x) {
          gf(x) = grad(open[size_t(x)]) + pushed(open[size_t(x)]);
          af.col(x) = a.col(open[size_t(x)]);
          for (Eigen::Index y = 0; y < f; ++y) hf(x, y) = hd(open[size_t(x)], open[size_t(y)]);
        }
        Eigen::LLT<Eigen::MatrixXd> llt(hf);
        if (llt.info() != Eigen::Success) break;
        const Eigen::VectorXd hg = llt.solve(gf);
        const Eigen::MatrixXd ha = llt.solve(af.transpose());
        const Eigen::Matrix3d sm = af * ha;
        const Eigen::Vector3d mu = sm.ldlt().solve(cf - af * hg);
        const Eigen::VectorXd step = -(hg + ha * mu);
        bool more = false;
        for (Eigen::Index x = 0; x < f; ++x) {
          const Eigen::Index i = open[size_t(x)];
          delta(i) = step(x);
          const Param& p = params[size_t(i)];
          if (!p.curvature) continue;
          const TSegment& sg = segments_[size_t(p.segment)];
          const double to = sg.curvature + step(x);
          if (to > sg.leftmost || to < sg.rightmost) {
            held[size_t(i)] = 1;
            delta(i) = std::clamp(to, sg.rightmost, sg.leftmost) - sg.curvature;
            more = true;
          }
        }
        solved = true;
        if (!more) break;
        for (Eigen::Index x = 0; x < f; ++x)
          if (!held[size_t(open[size_t(x)])]) delta(open[size_t(x)]) = 0;
        solved = false;
      }
      if (!solved) {
        damping_ *= 10;
        continue;
      }
      // Try the step on a copy; keep it when the fit and the closure improve.
      const TFitPose keptStart = start_;
      const std::vector<TSegment> keptSegments = segments_;
      const std::vector<TFitPoint> keptPoints = points_;
      for (Eigen::Index i = 0; i < n; ++i) {
        const Param& p = params[size_t(i)];
        if (p.segment < 0) {
          start_.theta += delta(i);
        } else if (p.curvature) {
          TSegment& s2 = segments_[size_t(p.segment)];
          s2.curvature = std::clamp(s2.curvature + delta(i), s2.rightmost, s2.leftmost);
        } else {
          TSegment& s2 = segments_[size_t(p.segment)];
          s2.length = std::max(shortest_, s2.length + delta(i));
        }
      }
      Reproject();
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
