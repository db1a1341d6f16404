#include "solve/loop_solver.h"

#include <Eigen/Dense>
#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

namespace meridal {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kCurvatureUnit = std::numbers::pi / 1073741824.0;

enum class Kind { Length, Phi, Radius };

struct Var {
  int link = 0;
  Kind kind = Kind::Length;
  double scale = 1;
  double original = 0;  // the value before, in scaled units: +-1
  bool held = false;    // held at a limit
  double heldAt = 0;
};

double& ValueOf(TLink& link, Kind kind) {
  switch (kind) {
    case Kind::Length: return link.length;
    case Kind::Phi: return link.phi;
    default: return link.radius;
  }
}

TPose Advance(const TPose& p, const TLink& l) {
  if (!l.arc) return {p.x + l.length * std::cos(p.theta), p.y + l.length * std::sin(p.theta), p.theta};
  const double t1 = p.theta + l.phi;
  return {p.x + l.radius * (std::sin(t1) - std::sin(p.theta)), p.y + l.radius * (std::cos(p.theta) - std::cos(t1)),
          t1};
}

// The limits of a value, in its own units.
void Limits(const TLink& link, Kind kind, double& lo, double& hi) {
  switch (kind) {
    case Kind::Length:
      lo = 1;
      hi = INT32_MAX;
      return;
    case Kind::Phi:
      lo = kCurvatureUnit;
      hi = kTwoPi - 1e-6;
      if (link.phi < 0) {
        lo = -hi;
        hi = -kCurvatureUnit;
      }
      return;
    case Kind::Radius:
      if (link.radius > 0) {
        lo = std::max(1.0, link.radiusLimit);
        hi = INT32_MAX;
      } else {
        lo = -double(INT32_MAX);
        hi = std::min(-1.0, link.radiusLimit);
      }
      return;
  }
}

// The chain's end against its start, the position rows divided by `size` so that
// all three rows weigh alike.
Eigen::Vector3d Residual(const TPose& start, const std::vector<TLink>& links, double size) {
  const TPose end = ChainEnd(start, links);
  const double turn = end.theta - start.theta;
  return {(end.x - start.x) / size, (end.y - start.y) / size, turn - kTwoPi * std::round(turn / kTwoPi)};
}

// d(end)/d(value) of each variable, rows as in Residual, columns in scaled values.
Eigen::MatrixXd Jacobian(const TPose& start, const std::vector<TLink>& links, const std::vector<Var>& vars,
                         const std::vector<int>& columns, double size) {
  std::vector<TPose> ends(links.size());
  TPose p = start;
  for (size_t k = 0; k < links.size(); ++k) ends[k] = p = Advance(p, links[k]);
  const TPose& last = ends.back();
  Eigen::MatrixXd j(3, static_cast<Eigen::Index>(columns.size()));
  for (size_t c = 0; c < columns.size(); ++c) {
    const Var& v = vars[size_t(columns[c])];
    const TLink& l = links[size_t(v.link)];
    const TPose& e = ends[size_t(v.link)];
    const TPose s = v.link == 0 ? start : ends[size_t(v.link) - 1];
    double vx = 0, vy = 0, w = 0;
    switch (v.kind) {
      case Kind::Length: vx = std::cos(e.theta); vy = std::sin(e.theta); break;
      case Kind::Phi: vx = l.radius * std::cos(e.theta); vy = l.radius * std::sin(e.theta); w = 1; break;
      case Kind::Radius: vx = (e.x - s.x) / l.radius; vy = (e.y - s.y) / l.radius; break;
    }
    // The rest of the chain moves with the link's end and turns about it.
    const double dx = vx - w * (last.y - e.y), dy = vy + w * (last.x - e.x);
    j(0, Eigen::Index(c)) = dx * v.scale / size;
    j(1, Eigen::Index(c)) = dy * v.scale / size;
    j(2, Eigen::Index(c)) = w * v.scale;
  }
  return j;
}

// The minimum-norm solution of j x = b, or false when b is out of j's reach.
bool MinimumNorm(const Eigen::MatrixXd& j, const Eigen::Vector3d& b, Eigen::VectorXd& x) {
  const Eigen::Matrix3d m = j * j.transpose();
  Eigen::SelfAdjointEigenSolver<Eigen::Matrix3d> eigen(m);
  const Eigen::Vector3d values = eigen.eigenvalues();
  const double top = values.maxCoeff();
  if (!(top > 0)) return b.norm() == 0 && (x = Eigen::VectorXd::Zero(j.cols()), true);
  Eigen::Vector3d inverse;
  for (int i = 0; i < 3; ++i) inverse(i) = values(i) > 1e-13 * top ? 1.0 / values(i) : 0.0;
  const Eigen::Vector3d y = eigen.eigenvectors() * inverse.asDiagonal() * eigen.eigenvectors().transpose() * b;
  x = j.transpose() * y;
  return (j * x - b).norm() <= 1e-7 * std::max(1.0, b.norm());
}

void Store(std::vector<TLink>& links, const std::vector<Var>& vars, const Eigen::VectorXd& x,
           const std::vector<int>& columns) {
  for (const Var& v : vars)
    if (v.held) ValueOf(links[size_t(v.link)], v.kind) = v.heldAt * v.scale;
  for (size_t c = 0; c < columns.size(); ++c) {
    const Var& v = vars[size_t(columns[c])];
    ValueOf(links[size_t(v.link)], v.kind) = x(Eigen::Index(c)) * v.scale;
  }
}

// Gauss-Newton towards the nearest closing values: each step solves the
// linearised closure for the change from the original values of least norm.
bool Newton(const TPose& start, std::vector<TLink>& links, const std::vector<Var>& vars, double size,
            std::string& why) {
  std::vector<int> columns;
  for (size_t i = 0; i < vars.size(); ++i)
    if (!vars[i].held) columns.push_back(int(i));
  if (columns.empty()) {
    why = "no value is left free";
    return false;
  }
  const Eigen::Index n = Eigen::Index(columns.size());
  Eigen::VectorXd x0(n), x(n);
  for (Eigen::Index c = 0; c < n; ++c) {
    const Var& v = vars[size_t(columns[size_t(c)])];
    x0(c) = v.original;
    x(c) = ValueOf(links[size_t(v.link)], v.kind) / v.scale;
  }
  Store(links, vars, x, columns);
  Eigen::Vector3d f = Residual(start, links, size);
  for (int iteration = 0; iteration < 80; ++iteration) {
    if (std::hypot(f(0), f(1)) * size < 1e-6 && std::fabs(f(2)) < 1e-13) return true;
    const Eigen::MatrixXd j = Jacobian(start, links, vars, columns, size);
    Eigen::VectorXd delta;
    if (!MinimumNorm(j, j * (x - x0) - f, delta)) {
      why = "their free values cannot move the end that way";
      return false;
    }
    const Eigen::VectorXd step = x0 + delta - x;
    // Halve the step until the end comes closer.
    bool better = false;
    for (double t = 1; t > 1e-6 && !better; t *= 0.5) {
      Eigen::VectorXd trial = x + t * step;
      Store(links, vars, trial, columns);
      const Eigen::Vector3d g = Residual(start, links, size);
      if (g.norm() < f.norm() || (t == 1 && g.norm() <= f.norm() * 1.0000001)) {
        x = trial;
        f = g;
        better = true;
      }
    }
    if (!better) {
      Store(links, vars, x, columns);
      // Stuck at a point that is no longer improved: close enough is closed.
      if (std::hypot(f(0), f(1)) * size < 1e-3 && std::fabs(f(2)) < 1e-10) return true;
      why = "their free values cannot move the end that way";
      return false;
    }
  }
  if (std::hypot(f(0), f(1)) * size < 1e-3 && std::fabs(f(2)) < 1e-10) return true;
  why = "the solution does not settle";
  return false;
}

}  // namespace

TPose ChainEnd(const TPose& start, const std::vector<TLink>& links) {
  TPose p = start;
  for (const TLink& l : links) p = Advance(p, l);
  return p;
}

TSolveResult SolveClosure(const TPose& start, const std::vector<TLink>& links) {
  TSolveResult result;
  result.links = links;
  std::vector<Var> vars;
  double path = 0;
  bool freeArc = false;
  for (size_t k = 0; k < links.size(); ++k) {
    const TLink& l = links[k];
    path += l.arc ? std::fabs(l.phi * l.radius) : std::fabs(l.length);
    if (!l.free) continue;
    const std::vector<Kind> kinds = l.arc ? std::vector<Kind>{Kind::Phi, Kind::Radius} : std::vector<Kind>{Kind::Length};
    for (Kind kind : kinds) {
      Var v;
      v.link = int(k);
      v.kind = kind;
      TLink copy = l;
      const double value = ValueOf(copy, kind);
      v.scale = std::max(std::fabs(value), kind == Kind::Phi ? kCurvatureUnit : 1.0);
      v.original = value / v.scale;
      vars.push_back(v);
    }
    freeArc = freeArc || l.arc;
  }
  const double size = std::max(1.0, path / kTwoPi);
  const Eigen::Vector3d f = Residual(start, links, size);
  if (std::fabs(f(2)) > 1e-12 && !freeArc) {
    result.needsTurn = true;
    return result;
  }
  // Solve, and hold a value that leaves its limits at the limit; again until
  // every value is within its limits.
  for (size_t round = 0; round <= vars.size(); ++round) {
    if (!Newton(start, result.links, vars, size, result.why)) return result;
    int worst = -1;
    double worstBy = 0, worstAt = 0;
    for (size_t i = 0; i < vars.size(); ++i) {
      Var& v = vars[i];
      if (v.held) continue;
      double lo = 0, hi = 0;
      Limits(links[size_t(v.link)], v.kind, lo, hi);
      const double value = ValueOf(result.links[size_t(v.link)], v.kind);
      const double by = std::max(lo - value, value - hi) / v.scale;
      if (by > worstBy) {
        worstBy = by;
        worst = int(i);
        worstAt = std::clamp(value, lo, hi);
      }
    }
    if (worst < 0) {
      const TPose end = ChainEnd(start, result.links);
      result.residual = std::hypot(end.x - start.x, end.y - start.y);
      result.closes = true;
      return result;
    }
    Var& v = vars[size_t(worst)];
    v.held = true;
    v.heldAt = worstAt / v.scale;
    // Start again from the original values, the held one at its limit.
    result.links = links;
    for (const Var& h : vars)
      if (h.held) ValueOf(result.links[size_t(h.link)], h.kind) = h.heldAt * h.scale;
  }
  result.why = "every value reaches a limit";
  return result;
}

std::vector<TStep> PositionSteps(const TPose& start, const std::vector<TLink>& links, double dx, double dy) {
  // The few values that cost least: the longest straights and the largest radii.
  std::vector<Var> vars;
  for (size_t k = 0; k < links.size(); ++k) {
    const TLink& l = links[k];
    if (!l.free) continue;
    Var v;
    v.link = int(k);
    v.kind = l.arc ? Kind::Radius : Kind::Length;
    v.scale = l.arc ? std::fabs(l.radius) : std::fabs(l.length);
    vars.push_back(v);
  }
  std::sort(vars.begin(), vars.end(), [](const Var& a, const Var& b) { return a.scale > b.scale; });
  // They must reach across as well as along: when the largest all move the end one
  // way, the largest that moves it most across that joins them.
  if (vars.size() > 4) {
    std::vector<int> all(vars.size());
    for (size_t i = 0; i < all.size(); ++i) all[i] = int(i);
    const Eigen::MatrixXd d = Jacobian(start, links, vars, all, 1.0);
    const Eigen::Vector2d lead = d.block<2, 1>(0, 0).normalized();
    size_t across = 4;
    double best = -1;
    for (size_t i = 0; i < vars.size(); ++i) {
      const Eigen::Vector2d v = d.block<2, 1>(0, Eigen::Index(i));
      const double reach = std::fabs(lead.x() * v.y() - lead.y() * v.x());
      if (i < 4 && reach > 0.2 * v.norm()) best = 1e300;  // one of the four reaches across already
      if (reach > best) {
        best = reach;
        across = i;
      }
    }
    if (across >= 4) std::swap(vars[3], vars[across]);
    vars.resize(4);
  }
  std::vector<int> columns;
  for (size_t i = 0; i < vars.size(); ++i) columns.push_back(int(i));
  std::vector<TStep> steps;
  if (columns.empty()) return steps;
  Eigen::MatrixXd j = Jacobian(start, links, vars, columns, 1.0);
  j.row(2).setZero();  // the heading stays: these values do not turn
  Eigen::VectorXd x;
  MinimumNorm(j, Eigen::Vector3d(dx, dy, 0), x);
  for (size_t c = 0; c < vars.size(); ++c)
    steps.push_back({vars[c].link, vars[c].kind == Kind::Radius, x(Eigen::Index(c)) * vars[c].scale});
  return steps;
}

}  // namespace meridal
