#include "drive/min_curvature.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "drive/cancel_flag.h"
#include "drive/ipopt_run.h"
#include "drive/line_path.h"
#include "drive/track_stations.h"
#include "drive/vehicle.h"

namespace meridal {

namespace {

using Ipopt::Index;
using Ipopt::Number;

// The optimality error IPOPT stops at: a lap time within a few milliseconds
// of the exact optimum's.
constexpr double kTolerance = 1e-6;

double Cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

// The curvature at station i of the line through the points at the offsets, and
// how it changes with the offsets of i - 1, i and i + 1.
struct TLinearCurvature {
  double kappa = 0;
  double d[3] = {0, 0, 0};
};

TLinearCurvature Linearise(const TTrackStations& st, const Number* offsets, size_t i) {
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
  // k = 2 (u x w) / (|u| |w| |d|) with u = b - a, w = c - b, d = c - a; each
  // point moves across along its station's lateral unit.
  const TStation &sa = st.stations[ia], &sb = st.stations[i], &sc = st.stations[ic];
  out.d[0] = 2.0 * -Cross(sa.latX, sa.latY, wx, wy) / D -
             k * (-(ux * sa.latX + uy * sa.latY) / u2 - (dx * sa.latX + dy * sa.latY) / d2);
  out.d[1] = 2.0 * Cross(sb.latX, sb.latY, dx, dy) / D -
             k * ((ux * sb.latX + uy * sb.latY) / u2 - (wx * sb.latX + wy * sb.latY) / w2);
  out.d[2] = 2.0 * Cross(ux, uy, sc.latX, sc.latY) / D -
             k * ((wx * sc.latX + wy * sc.latY) / w2 + (dx * sc.latX + dy * sc.latY) / d2);
  return out;
}

// Minimise sum w_i k_i^2 within the bounds, with |k_i| <= the vehicle's
// greatest curvature at the stations in `limited`.
class TCurvatureProblem : public Ipopt::TNLP {
 public:
  TCurvatureProblem(const TTrackStations& st, const std::vector<double>& weight, const std::vector<double>& lo,
                    const std::vector<double>& hi, const std::vector<int>& limited, double maxCurvature,
                    const TCancelFlag* cancel, TLineSolve& solve)
      : st_(st), n_(Index(st.Size())), w_(weight), lo_(lo), hi_(hi), limited_(limited), max_(maxCurvature),
        cancel_(cancel), solve_(solve) {
    // The Hessian's lower triangle: each station couples itself and its two
    // neighbours, round the lap.
    std::map<std::pair<Index, Index>, int> at;
    for (Index i = 0; i < n_; ++i) {
      const Index* idx = Neighbours(i);
      for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b) {
          const std::pair<Index, Index> rc{std::max(idx[a], idx[b]), std::min(idx[a], idx[b])};
          // Each unordered pair once; a pair met twice (a tiny lap) is summed.
          if (a < b) {
            place_.push_back(-1);
            continue;
          }
          auto it = at.find(rc);
          if (it == at.end()) {
            it = at.emplace(rc, int(rows_.size())).first;
            rows_.push_back(rc.first);
            cols_.push_back(rc.second);
          }
          place_.push_back(it->second);
        }
    }
  }

  bool get_nlp_info(Index& n, Index& m, Index& nnzJac, Index& nnzHess, IndexStyleEnum& style) override {
    n = n_;
    m = Index(limited_.size());
    nnzJac = 3 * m;
    nnzHess = Index(rows_.size());
    style = C_STYLE;
    return true;
  }
  bool get_bounds_info(Index n, Number* xl, Number* xu, Index m, Number* gl, Number* gu) override {
    for (Index i = 0; i < n; ++i) xl[i] = lo_[size_t(i)], xu[i] = hi_[size_t(i)];
    for (Index j = 0; j < m; ++j) gl[j] = -max_, gu[j] = max_;
    return true;
  }
  bool get_starting_point(Index n, bool, Number* x, bool, Number*, Number*, Index, bool, Number*) override {
    for (Index i = 0; i < n; ++i) x[i] = solve_.offsets[size_t(i)];
    return true;
  }
  bool eval_f(Index n, const Number* x, bool, Number& f) override {
    f = 0;
    for (Index i = 0; i < n; ++i) {
      const double k = Linearise(st_, x, size_t(i)).kappa;
      f += w_[size_t(i)] * k * k;
    }
    return true;
  }
  bool eval_grad_f(Index n, const Number* x, bool, Number* g) override {
    std::fill(g, g + n, 0.0);
    for (Index i = 0; i < n; ++i) {
      const TLinearCurvature lin = Linearise(st_, x, size_t(i));
      const Index* idx = Neighbours(i);
      for (int a = 0; a < 3; ++a) g[idx[a]] += 2 * w_[size_t(i)] * lin.kappa * lin.d[a];
    }
    return true;
  }
  bool eval_g(Index, const Number* x, bool, Index m, Number* g) override {
    for (Index j = 0; j < m; ++j) g[j] = Linearise(st_, x, size_t(limited_[size_t(j)])).kappa;
    return true;
  }
  bool eval_jac_g(Index, const Number* x, bool, Index m, Index, Index* rows, Index* cols, Number* values) override {
    for (Index j = 0; j < m; ++j) {
      const Index i = limited_[size_t(j)];
      const Index* idx = Neighbours(i);
      const TLinearCurvature lin = values ? Linearise(st_, x, size_t(i)) : TLinearCurvature{};
      for (int a = 0; a < 3; ++a) {
        if (values) {
          values[3 * j + a] = lin.d[a];
        } else {
          rows[3 * j + a] = j;
          cols[3 * j + a] = idx[a];
        }
      }
    }
    return true;
  }
  // The squared gradients of the curvatures alone: their second derivatives
  // are left out, so that the Hessian is never indefinite.
  bool eval_h(Index n, const Number* x, bool, Number objFactor, Index, const Number*, bool, Index, Index* rows,
              Index* cols, Number* values) override {
    if (!values) {
      std::copy(rows_.begin(), rows_.end(), rows);
      std::copy(cols_.begin(), cols_.end(), cols);
      return true;
    }
    std::fill(values, values + rows_.size(), 0.0);
    std::vector<double> kappa(static_cast<size_t>(n), 0.0);
    for (Index i = 0; i < n; ++i) {
      const TLinearCurvature lin = Linearise(st_, x, size_t(i));
      kappa[size_t(i)] = lin.kappa;
      for (int a = 0; a < 3; ++a)
        for (int b = 0; b <= a; ++b) {
          const int p = place_[size_t(i) * 9 + size_t(a) * 3 + size_t(b)];
          if (p >= 0) values[p] += objFactor * 2 * w_[size_t(i)] * lin.d[a] * lin.d[b];
        }
    }
    // A new linearisation: how far the curvature moved since the last one.
    if (!lastKappa_.empty()) {
      solve_.change = 0;
      for (size_t i = 0; i < kappa.size(); ++i) solve_.change = std::max(solve_.change, std::fabs(kappa[i] - lastKappa_[i]));
    }
    lastKappa_.swap(kappa);
    ++solve_.linearisations;
    return true;
  }
  bool intermediate_callback(Ipopt::AlgorithmMode, Index, Number, Number, Number, Number, Number, Number, Number,
                             Number, Index, const Ipopt::IpoptData*, Ipopt::IpoptCalculatedQuantities*) override {
    return !Cancelled(cancel_);
  }
  void finalize_solution(Ipopt::SolverReturn, Index n, const Number* x, const Number*, const Number*, Index,
                         const Number*, const Number*, Number, const Ipopt::IpoptData*,
                         Ipopt::IpoptCalculatedQuantities*) override {
    result.assign(x, x + n);
  }

  std::vector<double> result;

 private:
  const Index* Neighbours(Index i) {
    idx_[0] = i == 0 ? n_ - 1 : i - 1;
    idx_[1] = i;
    idx_[2] = i + 1 == n_ ? 0 : i + 1;
    return idx_;
  }

  const TTrackStations& st_;
  const Index n_;
  const std::vector<double>& w_;
  const std::vector<double>& lo_;
  const std::vector<double>& hi_;
  const std::vector<int>& limited_;
  const double max_;
  const TCancelFlag* cancel_;
  TLineSolve& solve_;
  std::vector<Index> rows_, cols_;
  std::vector<int> place_;
  Index idx_[3] = {0, 0, 0};
  std::vector<double> lastKappa_;
};

// The stations whose curvature is at least half the greatest: the only ones
// the limit may touch.
void NearTheLimit(const std::vector<double>& kappa, double maxCurvature, std::vector<int>& limited) {
  for (size_t i = 0; i < kappa.size(); ++i)
    if (std::fabs(kappa[i]) > 0.5 * maxCurvature && !std::binary_search(limited.begin(), limited.end(), int(i)))
      limited.insert(std::upper_bound(limited.begin(), limited.end(), int(i)), int(i));
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
  for (size_t i = 0; i < n; ++i) {
    line[i] = std::clamp(0.0, lo[i], hi[i]);
    const size_t prev = i == 0 ? n - 1 : i - 1, next = i + 1 == n ? 0 : i + 1;
    const TPointD a = stations.PointAt(prev, 0), b = stations.PointAt(i, 0), c = stations.PointAt(next, 0);
    weight[i] = 0.5 * (std::hypot(b.x - a.x, b.y - a.y) + std::hypot(c.x - b.x, c.y - b.y));
  }
  std::vector<double> kappa;
  LineCurvatures(stations, line, kappa);
  std::vector<int> limited;
  NearTheLimit(kappa, vehicle.maxCurvature, limited);
  // Solved again from where it ended while a station beyond the ones limited
  // turns tighter than the car can, or the curvature had not settled.
  for (int round = 0; round < 4; ++round) {
    auto* problem = new TCurvatureProblem(stations, weight, lo, hi, limited, vehicle.maxCurvature, cancel, solve);
    Ipopt::SmartPtr<Ipopt::TNLP> owner = problem;
    const TSolveOutcome outcome = RunIpopt(owner, kTolerance);
    if (outcome == TSolveOutcome::Cancelled || Cancelled(cancel)) {
      solve.cancelled = true;
      return solve;
    }
    if (outcome == TSolveOutcome::Infeasible && !limited.empty()) {
      solve.warnings.push_back("the track turns tighter than the vehicle's greatest curvature allows");
      limited.clear();
      continue;
    }
    if (outcome != TSolveOutcome::Solved || problem->result.size() != n) {
      solve.error = "the solver found no line";
      return solve;
    }
    for (size_t i = 0; i < n; ++i) line[i] = std::clamp(problem->result[i], lo[i], hi[i]);
    LineCurvatures(stations, line, kappa);
    const size_t before = limited.size();
    if (!limited.empty() || solve.warnings.empty()) NearTheLimit(kappa, vehicle.maxCurvature, limited);
    const bool tooTight = std::any_of(kappa.begin(), kappa.end(), [&](double k) {
      return std::fabs(k) > vehicle.maxCurvature * (1 + 1e-6);
    });
    if (!(tooTight && limited.size() > before) && solve.change < kCurvatureSettled) break;
  }
  solve.ok = true;
  return solve;
}

}  // namespace meridal
