#include "drive/speed_trace.h"

#include <algorithm>
#include <cmath>

#include "drive/cancel_flag.h"
#include "drive/line_path.h"
#include "drive/track_stations.h"
#include "drive/vehicle.h"

namespace meridal {

namespace {

// What the speed trace needs of one point: the line's points, and points put in
// between them where a step is longer than kStationStep.
struct TNode {
  double step = 0;  // metres to the next node
  double kappa = 0, grip = 1, sinGrade = 0, sinCross = 0, vertical = 0;
};

TNode NodeOf(const TLinePoint& p) { return {p.step, p.kappa, p.grip, p.sinGrade, p.sinCross, p.vertical}; }

TNode Between(const TNode& a, const TNode& b, double w) {
  const auto mix = [w](double x, double y) { return x + w * (y - x); };
  return {a.step, mix(a.kappa, b.kappa), mix(a.grip, b.grip), mix(a.sinGrade, b.sinGrade),
          mix(a.sinCross, b.sinCross), mix(a.vertical, b.vertical)};
}

// The sine of the bank towards the inside of the turn.
double BankIn(const TNode& p) { return p.kappa > 0 ? -p.sinCross : p.kappa < 0 ? p.sinCross : 0.0; }

// How much of its grip the load leaves the car: 1 on flat ground.
double Load(double v, const TNode& p) { return p.vertical == 0 ? 1.0 : std::max(0.0, 1.0 + v * v * p.vertical / kGravity); }

class TPointMass {
 public:
  explicit TPointMass(const TVehicle& vehicle) : car_(vehicle) {}

  // Whether the tyres hold the turn at speed v.
  bool Holds(double v, const TNode& p) const {
    return v * v * std::fabs(p.kappa) <= p.grip * Load(v, p) * car_.AyMax(v) + kGravity * BankIn(p);
  }

  double Cornering(const TNode& p) const {
    if (Holds(car_.vMax, p)) return car_.vMax;
    double lo = 0, hi = car_.vMax;
    for (int i = 0; i < 64 && hi - lo > 0; ++i) {
      const double mid = 0.5 * (lo + hi);
      (Holds(mid, p) ? lo : hi) = mid;
    }
    return std::max(lo, kLeastSpeed);
  }

  // The tyres' longitudinal acceleration left over by the turn at speed v.
  double TyreAx(double v, const TNode& p) const {
    const double load = p.grip * Load(v, p);
    const double lateralCap = load * car_.AyMax(v);
    if (!(lateralCap > 0)) return 0;
    const double demand = std::fabs(v * v * std::fabs(p.kappa) - kGravity * BankIn(p));
    const double used = std::min(1.0, demand / lateralCap);
    const double e = car_.exponent;
    const double left = e == 1.0 ? 1.0 - used : std::pow(1.0 - std::pow(used, e), 1.0 / e);
    return load * car_.AxMax(v) * left;
  }

  double Accelerating(double v, const TNode& p) const {
    return std::min(TyreAx(v, p), car_.MachineAx(v)) - car_.DragAx(v) - kGravity * p.sinGrade;
  }
  double Braking(double v, const TNode& p) const { return TyreAx(v, p) + car_.DragAx(v) + kGravity * p.sinGrade; }

 private:
  const TVehicle& car_;
};

double After(double v, double a, double step) { return std::sqrt(std::max(kLeastSpeed * kLeastSpeed, v * v + 2 * a * step)); }

}  // namespace

double CorneringSpeed(const TLinePoint& point, const TVehicle& vehicle) {
  return TPointMass(vehicle).Cornering(NodeOf(point));
}

std::optional<TSpeedTrace> SpeedTrace(const TLinePath& path, const TVehicle& vehicle, const TCancelFlag* cancel) {
  const size_t count = path.points.size();
  TSpeedTrace trace;
  if (count == 0) return trace;
  // Every step cut into pieces of at most kStationStep.
  std::vector<TNode> nodes;
  std::vector<size_t> first(count);
  nodes.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const TNode a = NodeOf(path.points[i]), b = NodeOf(path.points[i + 1 == count ? 0 : i + 1]);
    const int pieces = std::max(1, int(std::ceil(a.step / kStationStep - 1e-9)));
    first[i] = nodes.size();
    for (int k = 0; k < pieces; ++k) {
      TNode node = Between(a, b, double(k) / pieces);
      node.step = a.step / pieces;
      nodes.push_back(node);
    }
  }
  const size_t n = nodes.size();
  const TPointMass car(vehicle);
  std::vector<double> limit(n), v(n);
  for (size_t i = 0; i < n; ++i) limit[i] = car.Cornering(nodes[i]);
  if (Cancelled(cancel)) return std::nullopt;

  // Where the tyres allow least, the car is at that speed: both passes start
  // there, and go round twice so that the lap closes on itself.
  const size_t start = size_t(std::min_element(limit.begin(), limit.end()) - limit.begin());
  v[start] = limit[start];
  for (size_t m = 0; m < 2 * n; ++m) {
    const size_t i = (start + m) % n, j = (i + 1) % n;
    v[j] = std::min(limit[j], After(v[i], car.Accelerating(v[i], nodes[i]), nodes[i].step));
  }
  if (Cancelled(cancel)) return std::nullopt;
  for (size_t m = 0; m < 2 * n; ++m) {
    const size_t j = (start + 2 * n - m) % n, i = (j + n - 1) % n;
    v[i] = std::min(v[i], After(v[j], car.Braking(v[j], nodes[j]), nodes[i].step));
  }
  if (Cancelled(cancel)) return std::nullopt;

  // Back to the line's points: the speed at each, and the time and the mean
  // acceleration over each step.
  trace.v.resize(count);
  trace.ax.resize(count);
  trace.time.resize(count);
  double time = 0;
  for (size_t i = 0; i < count; ++i) {
    trace.v[i] = v[first[i]];
    trace.time[i] = time;
    const size_t end = i + 1 == count ? n : first[i + 1];
    for (size_t k = first[i]; k < end; ++k) time += 2 * nodes[k].step / (v[k] + v[(k + 1) % n]);
    const double vNext = v[end % n], step = path.points[i].step;
    trace.ax[i] = step > 0 ? (vNext * vNext - trace.v[i] * trace.v[i]) / (2 * step) : 0;
  }
  trace.lapTime = time;
  return trace;
}

}  // namespace meridal
