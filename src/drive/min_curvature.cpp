#include "drive/min_curvature.h"

#include <Eigen/SparseCore>
#include <algorithm>
#include <cmath>

#include "drive/cancel_flag.h"
#include "drive/line_path.h"
#include "drive/quadratic_program.h"
#include "drive/track_stations.h"
#include "drive/vehicle.h"

namespace meridal {

namespace {

double Cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

// The curvature at station i of the line through the points at the offsets, and
// how it changes with the offsets of i - 1, i and i + 1.
struct TLinearCurvature {
  double kappa = 0;
  double d[3] = {0, 0, 0};
};

TLinearCurvature Linearise(const TTrackStations& st, const std::vector<double>& offsets, size_t i) {
  const size_t n = st.Size();
  const size_t ia = i == 0 ? n - 1 : i - 1, ic = i + 1 == n ? 0 : i + 1;
  const TPointD a = st.PointAt(ia, offsets[ia]), b = st.PointAt(i, offsets[i]), c = st.PointAt(ic, offsets[ic]);
  const double ux = b.x - a.x, uy = b.y - a.y, wx = c.x - b.x, wy = c.y - b.y, dx = c.x - a.x, dy = c.y - a.y;
  const double u2 = ux * ux + uy * uy, w2 = wx * wx + wy * wy, d2 = dx * dx + dy * dy;
  TLinearCurvature out;
  const double D = std::sqrt(u2 * w2 * d2);
  if (!(D > 0)) return out;
  const double k = 2.0 * Cross(ux, uy, wx, wy) / D;
  out.kappa = k;
  // Moving a by da changes u by -da and d by -da; b: u by db, w by -db; c: w and d by dc.
  const TStation &sa = st.stations[ia], &sb = st.stations[i], &sc = st.stations[ic];
  out.d[0] = 2.0 * -Cross(sa.latX, sa.latY, wx, wy) / D -
             k * (-(ux * sa.latX + uy * sa.latY) / u2 - (dx * sa.latX + dy * sa.latY) / d2);
  out.d[1] = 2.0 * Cross(sb.latX, sb.latY, dx, dy) / D -
             k * ((ux * sb.latX + uy * sb.latY) / u2 - (wx * sb.latX + wy * sb.latY) / w2);
  out.d[2] = 2.0 * Cross(ux, uy, sc.latX, sc.latY) / D -
             k * ((wx * sc.latX + wy * sc.latY) / w2 + (dx * sc.latX + dy * sc.latY) / d2);
  return out;
}

// The sum of squared curvatures, each weighted by the metres its point stands for.
double Objective(const std::vector<double>& kappa, const std::vector<double>& weight) {
  double sum = 0;
  for (size_t i = 0; i < kappa.size(); ++i) sum += weight[i] * kappa[i] * kappa[i];
  return sum;
}

// The quadratic model of the weighted sum of squared curvatures about
// `offsets`, the curvatures linearised (its Hessian holds the products of the
// curvatures' gradients, and so is never indefinite), as a program
// within the bounds and at most `reach` from the line in hand; the greatest
// curvature, linearised, kept where the line turns near it.
struct TModel {
  TQuadraticProgram qp;
  std::vector<double> gradient;
};

TModel Program(const TTrackStations& st, const std::vector<double>& offsets, const std::vector<double>& weight,
               const std::vector<double>& lo, const std::vector<double>& hi, double reach, double maxCurvature,
               bool limitCurvature) {
  const int n = int(st.Size());
  TModel model;
  TQuadraticProgram& qp = model.qp;
  qp.n = n;
  qp.lower.resize(size_t(n));
  qp.upper.resize(size_t(n));
  for (size_t i = 0; i < size_t(n); ++i) {
    qp.lower[i] = std::max(lo[i], offsets[i] - reach);
    qp.upper[i] = std::min(hi[i], offsets[i] + reach);
  }
  qp.start = offsets;
  model.gradient.assign(size_t(n), 0.0);
  std::vector<Eigen::Triplet<double>> h;
  h.reserve(size_t(n) * 6);
  for (int i = 0; i < n; ++i) {
    const TLinearCurvature lin = Linearise(st, offsets, size_t(i));
    const size_t idx[3] = {size_t(i == 0 ? n - 1 : i - 1), size_t(i), size_t(i + 1 == n ? 0 : i + 1)};
    const double w = weight[size_t(i)];
    for (int a = 0; a < 3; ++a) {
      model.gradient[idx[a]] += 2.0 * w * lin.kappa * lin.d[a];
      for (int b = 0; b < 3; ++b)
        if (idx[a] >= idx[b])
          h.emplace_back(int(idx[a]), int(idx[b]), 2.0 * w * lin.d[a] * lin.d[b]);
    }
    if (limitCurvature && std::fabs(lin.kappa) > 0.5 * maxCurvature) {
      // kappa(x) = kappa + sum d_k (x_k - offset_k)
      double c = lin.kappa;
      for (int k = 0; k < 3; ++k) {
        qp.constraints.push_back({qp.m, int(idx[k]), lin.d[k]});
        c -= lin.d[k] * offsets[idx[k]];
      }
      qp.gLower.push_back(-maxCurvature - c);
      qp.gUpper.push_back(maxCurvature - c);
      ++qp.m;
    }
  }
  Eigen::SparseMatrix<double> H(n, n);
  H.setFromTriplets(h.begin(), h.end());  // the same place twice is summed
  for (int col = 0; col < H.outerSize(); ++col)
    for (Eigen::SparseMatrix<double>::InnerIterator it(H, col); it; ++it)
      qp.hessian.push_back({int(it.row()), int(it.col()), it.value()});
  // In the offsets themselves: 1/2 x'Hx + (g - H x0)'x.
  qp.linear = model.gradient;
  for (const TSparseEntry& e : qp.hessian) {
    qp.linear[size_t(e.row)] -= e.value * offsets[size_t(e.col)];
    if (e.row != e.col) qp.linear[size_t(e.col)] -= e.value * offsets[size_t(e.row)];
  }
  return model;
}

// The decrease the model promises from `from` to `to`.
double Promised(const TModel& model, const std::vector<double>& from, const std::vector<double>& to) {
  double linear = 0, quadratic = 0;
  for (size_t i = 0; i < from.size(); ++i) linear += model.gradient[i] * (to[i] - from[i]);
  for (const TSparseEntry& e : model.qp.hessian) {
    const double a = to[size_t(e.row)] - from[size_t(e.row)], b = to[size_t(e.col)] - from[size_t(e.col)];
    quadratic += (e.row == e.col ? 0.5 : 1.0) * e.value * a * b;
  }
  return -(linear + quadratic);
}

}  // namespace

void LineBounds(const TTrackStations& stations, const TVehicle& vehicle, std::vector<double>& lo,
                std::vector<double>& hi) {
  const size_t n = stations.Size();
  lo.resize(n);
  hi.resize(n);
  const double half = 0.5 * vehicle.lineWidth;
  for (size_t i = 0; i < n; ++i) {
    const TStation& s = stations.stations[i];
    lo[i] = s.lo + half;
    hi[i] = s.hi - half;
    if (lo[i] > hi[i]) lo[i] = hi[i] = 0.5 * (s.lo + s.hi);
  }
}

TLineSolve MinCurvatureLine(const TTrackStations& stations, const TVehicle& vehicle, const TCancelFlag* cancel) {
  TLineSolve solve;
  const size_t n = stations.Size();
  if (n < 3) {
    solve.error = "the track has too few points to drive";
    return solve;
  }
  std::vector<double> lo, hi;
  LineBounds(stations, vehicle, lo, hi);
  // From the zero line, or the nearest the bounds allow; each point weighs the
  // metres of zero line it stands for.
  std::vector<double>& line = solve.offsets;
  line.resize(n);
  std::vector<double> weight(n);
  double widest = 0;
  for (size_t i = 0; i < n; ++i) {
    line[i] = std::clamp(0.0, lo[i], hi[i]);
    const size_t prev = i == 0 ? n - 1 : i - 1, next = i + 1 == n ? 0 : i + 1;
    const TPointD a = stations.PointAt(prev, 0), b = stations.PointAt(i, 0), c = stations.PointAt(next, 0);
    weight[i] = 0.5 * (std::hypot(b.x - a.x, b.y - a.y) + std::hypot(c.x - b.x, c.y - b.y));
    widest = std::max(widest, hi[i] - lo[i]);
  }
  std::vector<double> kappa, trial;
  LineCurvatures(stations, line, kappa);
  double value = Objective(kappa, weight);
  // Each solve moves the line at most `reach` metres: the linearisation holds
  // only so far. Where it held badly the next solve stays nearer; where it held
  // well and the reach cut the step short, the next may go further.
  double reach = std::max(widest, 1.0);
  bool limit = true;
  for (int round = 0; round < kMostSolves && reach > 1e-4; ++round) {
    const TModel model = Program(stations, line, weight, lo, hi, reach, vehicle.maxCurvature, limit);
    TProgramResult result = SolveQuadraticProgram(model.qp, cancel);
    if (result.cancelled || Cancelled(cancel)) {
      solve.cancelled = true;
      return solve;
    }
    if (!result.ok && limit) {
      // The road turns tighter than the car can, whatever the line: without the limit.
      solve.warnings.push_back("the track turns tighter than the vehicle's greatest curvature allows");
      limit = false;
      continue;
    }
    if (!result.ok) {
      solve.error = result.error;
      return solve;
    }
    ++solve.solves;
    std::vector<double>& next = result.x;
    double step = 0;
    for (size_t i = 0; i < n; ++i) {
      next[i] = std::clamp(next[i], lo[i], hi[i]);  // within the bounds to the last bit
      step = std::max(step, std::fabs(next[i] - line[i]));
    }
    LineCurvatures(stations, next, trial);
    const double nextValue = Objective(trial, weight);
    const double promised = Promised(model, line, next);
    const double ratio = promised > 0 ? (value - nextValue) / promised : 0;
    const bool cut = step >= 0.99 * reach;
    if (ratio < 0.25) {
      reach = 0.5 * step;
    } else if (ratio > 0.75 && cut) {
      reach *= 2;
    }
    if (!(nextValue < value)) continue;  // no better: again, nearer
    const double gain = (value - nextValue) / value;
    solve.change = 0;
    for (size_t i = 0; i < n; ++i) solve.change = std::max(solve.change, std::fabs(trial[i] - kappa[i]));
    line.swap(next);
    kappa.swap(trial);
    value = nextValue;
    if (solve.change < kCurvatureSettled && gain < kSumSettled && !cut) break;
  }
  solve.ok = true;
  return solve;
}

}  // namespace meridal
