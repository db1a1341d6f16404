#include "drive/track_stations.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "drive/vehicle.h"
#include "mesh/section_plan.h"
#include "model/track.h"
#include "model/units.h"

namespace meridal {

namespace {

constexpr double kMetres = static_cast<double>(kMetersPerUnit);
// A joint whose ends lie further apart than this is reported: the line jumps it.
constexpr double kGapReported = 1.0;

// The walls' lateral positions at t, in metres.
void WallEdges(const TSection& section, double t, std::vector<double>& edges) {
  edges.clear();
  for (const auto& wall : section.Walls)
    edges.push_back((wall->From + t * (static_cast<double>(wall->To) - wall->From)) * kMetres);
}

// The drivable run of one cross-section among its strips.
void DrivableRun(const TStationStrip* strips, uint32_t count, double& lo, double& hi) {
  const auto drivable = [&](uint32_t k) { return strips[k].grip >= kDrivableGrip; };
  const auto empty = [&](uint32_t k) { return !(strips[k].left > strips[k].right); };
  // The strip under the zero line, or else the drivable one nearest to it.
  int at = -1;
  double nearest = 0;
  for (uint32_t k = 0; k < count; ++k) {
    if (empty(k) || !drivable(k)) continue;
    const double off = strips[k].right > 0 ? strips[k].right : strips[k].left < 0 ? -strips[k].left : 0;
    if (at < 0 || off < nearest) {
      at = int(k);
      nearest = off;
    }
  }
  if (at < 0) {  // nothing grips enough: everything between the outermost walls
    lo = hi = 0;
    for (uint32_t k = 0; k < count; ++k) {
      lo = k == 0 ? std::min(strips[k].right, strips[k].left) : std::min({lo, strips[k].right, strips[k].left});
      hi = k == 0 ? std::max(strips[k].right, strips[k].left) : std::max({hi, strips[k].right, strips[k].left});
    }
    return;
  }
  // Outwards both ways across drivable strips and strips of no width.
  int first = at, last = at;
  while (first > 0 && (drivable(uint32_t(first - 1)) || empty(uint32_t(first - 1)))) --first;
  while (last + 1 < int(count) && (drivable(uint32_t(last + 1)) || empty(uint32_t(last + 1)))) ++last;
  lo = strips[at].right;
  hi = strips[at].left;
  for (int k = first; k <= last; ++k) {
    if (empty(uint32_t(k))) continue;
    lo = std::min(lo, strips[k].right);
    hi = std::max(hi, strips[k].left);
  }
}

class TStationSampler {
 public:
  TStationSampler(const TTrack& track, const TVehicle& vehicle, double step, TTrackStations& out)
      : track_(track), vehicle_(vehicle), step_(step), out_(out) {}

  void Run() {
    out_.traces = track_.NumberOfTraces();
    for (int32_t p : track_.Traces) out_.tracePositions.push_back(p * kMetres);
    Plan();
    // Stations evenly along the longest line of each section, round the lap:
    // steps change little from one section to the next, and a short section
    // puts no two stations close together.
    double total = 0;
    for (const TPlanned& p : planned_) total += p.longest;
    if (planned_.empty() || !(total > 0)) return;
    const double count = std::ceil(total / step_);
    const size_t n = count < 3 ? 3 : count > 5e7 ? 50000000 : size_t(count);
    out_.stations.reserve(n);
    size_t at = 0;
    double before = 0;  // the longest lines of the sections before `at`
    for (size_t k = 0; k < n; ++k) {
      const double along = total * double(k) / double(n);
      while (at + 1 < planned_.size() && along >= before + planned_[at].longest) before += planned_[at++].longest;
      const TPlanned& p = planned_[at];
      Station(p, std::clamp((along - before) / p.longest, 0.0, 1.0));
    }
  }

 private:
  struct TPlanned {
    int section = 0;
    TSectionPlan plan;
    double distance = 0, length = 0;  // metres of the zero line before it, and its own
    double longest = 0;               // metres of its longest line across
  };

  // The sections that have a plan, and the gaps between them.
  void Plan() {
    double distance = 0;
    int gaps = 0;
    double widest = 0;
    int widestAfter = -1;
    for (int s = 0; s < track_.NumberOfSections(); ++s) {
      const TSection& section = *track_.Section(s);
      std::string reason;
      const auto plan = TSectionPlan::Of(section, &reason);
      const double length = std::max(0, section.Length) * kMetres;
      if (!plan) {
        out_.warnings.push_back("Section " + std::to_string(s) + " skipped: " + reason);
      } else {
        if (!planned_.empty()) Gap(planned_.back(), *plan, gaps, widest, widestAfter);
        planned_.push_back({s, *plan, distance, length, Longest(section, *plan, length)});
        if (!(planned_.back().longest > 0)) planned_.pop_back();
      }
      distance += length;
    }
    out_.length = distance;
    if (!planned_.empty()) Gap(planned_.back(), planned_.front().plan, gaps, widest, widestAfter);
    if (gaps > 0) {
      char text[160];
      std::snprintf(text, sizeof text, "%d %s along the track, the widest %.2f m after section %d: the line jumps %s",
                    gaps, gaps == 1 ? "gap" : "gaps", widest, widestAfter, gaps == 1 ? "it" : "them");
      out_.warnings.push_back(text);
    }
  }

  static void Gap(const TPlanned& from, const TSectionPlan& to, int& gaps, double& widest, int& widestAfter) {
    const TPointD a = from.plan.Frame(1).origin, b = to.Frame(0).origin;
    const double gap = std::hypot(b.x - a.x, b.y - a.y) * kMetres;
    if (!(gap > kGapReported)) return;
    ++gaps;
    if (gap > widest) {
      widest = gap;
      widestAfter = from.section;
    }
  }

  // The length of the section's line furthest from the zero line, among its
  // walls and the traces.
  double Longest(const TSection& section, const TSectionPlan& plan, double length) const {
    double vMin = 0, vMax = 0;
    for (const auto& wall : section.Walls)
      for (double v : {double(wall->From), double(wall->To)}) vMin = std::min(vMin, v), vMax = std::max(vMax, v);
    for (int32_t p : track_.Traces) vMin = std::min(vMin, double(p)), vMax = std::max(vMax, double(p));
    double longest = length;
    const TCrossFrame a = plan.Frame(0);
    for (double v : {vMin, vMax}) {
      const TPointD along = a.Along(v);
      longest = std::max(longest, std::hypot(along.x, along.y) * kMetres);
    }
    return std::isfinite(longest) ? longest : 0.0;
  }

  void Station(const TPlanned& p, double t) {
    const TSection& section = *track_.Section(p.section);
    const int altitudes = std::min(out_.traces, section.NumberOfAltitudes());
    const TCrossFrame frame = p.plan.Frame(t);
    TStation st;
    st.section = p.section;
    st.t = t;
    st.distance = p.distance + t * p.length;
    st.x = frame.origin.x * kMetres;
    st.y = frame.origin.y * kMetres;
    st.latX = frame.lateral.x;
    st.latY = frame.lateral.y;
    st.alongX = frame.along.x * kMetres;
    st.alongY = frame.along.y * kMetres;
    st.perLatX = frame.alongPerLateral.x;
    st.perLatY = frame.alongPerLateral.y;
    Strips(section, t, st);
    for (int j = 0; j < out_.traces; ++j) {
      // A section short of altitudes (only a damaged file has one) repeats its last.
      const int from = std::min(j, altitudes - 1);
      double h = 0, rate = 0, bend = 0;
      if (from >= 0) {
        const TAltitude& a = *section.Altitude(from);
        h = a.HeightAt(t) * kMetres;
        rate = ((3.0 * a.ThirdOrder * t + 2.0 * a.SecondOrder) * t + a.FirstOrder) * kMetres;
        bend = (6.0 * a.ThirdOrder * t + 2.0 * a.SecondOrder) * kMetres;
      }
      out_.heights.insert(out_.heights.end(), {h, rate, bend});
    }
    out_.stations.push_back(st);
  }

  void Strips(const TSection& section, double t, TStation& st) {
    WallEdges(section, t, edges_);
    st.firstStrip = uint32_t(out_.strips.size());
    for (size_t k = 0; k + 1 < edges_.size(); ++k) {
      TStationStrip strip;
      strip.right = std::min(edges_[k], edges_[k + 1]);
      strip.left = std::max(edges_[k], edges_[k + 1]);
      strip.grip = vehicle_.Grip(section.Wall(int(k))->Surface);
      out_.strips.push_back(strip);
    }
    st.strips = uint32_t(out_.strips.size()) - st.firstStrip;
    if (st.strips > 0) {
      DrivableRun(&out_.strips[st.firstStrip], st.strips, st.lo, st.hi);
    } else if (!out_.tracePositions.empty()) {  // no strips: the traces bound the road
      st.lo = out_.tracePositions.front();
      st.hi = out_.tracePositions.back();
    }
  }

  const TTrack& track_;
  const TVehicle& vehicle_;
  const double step_;
  TTrackStations& out_;
  std::vector<TPlanned> planned_;
  std::vector<double> edges_;
};

}  // namespace

double TTrackStations::SpeedAlong(size_t i, double n) const {
  const TStation& s = stations[i];
  return std::hypot(s.alongX + n * s.perLatX, s.alongY + n * s.perLatY);
}

TGroundAt TTrackStations::GroundAt(size_t i, double n) const {
  if (traces == 0) return {};
  const double* h = &heights[i * size_t(traces) * 3];
  const double* p = tracePositions.data();
  const int last = traces - 1;
  const auto at = [h](int j) { return TGroundAt{h[3 * j], h[3 * j + 1], h[3 * j + 2], 0}; };
  // Linear between traces, the outermost trace's beyond them.
  if (last == 0 || n <= p[0]) return at(0);
  if (n >= p[last]) return at(last);
  int j = 0;
  while (j + 1 < last && p[j + 1] <= n) ++j;
  const double width = p[j + 1] - p[j];
  if (!(width > 0)) return at(j);
  const double w = (n - p[j]) / width;
  const TGroundAt a = at(j), b = at(j + 1);
  return {a.height + w * (b.height - a.height), a.rise + w * (b.rise - a.rise), a.bend + w * (b.bend - a.bend),
          (b.height - a.height) / width};
}

double TTrackStations::GripAt(size_t i, double n) const {
  const TStation& s = stations[i];
  if (s.strips == 0) return 1.0;
  for (uint32_t k = 0; k < s.strips; ++k) {
    const TStationStrip& strip = strips[s.firstStrip + k];
    if (strip.right <= n && n <= strip.left && strip.right < strip.left) return strip.grip;
  }
  double best = 0, grip = 1.0;
  for (uint32_t k = 0; k < s.strips; ++k) {
    const TStationStrip& strip = strips[s.firstStrip + k];
    const double off = std::min(std::fabs(n - strip.right), std::fabs(n - strip.left));
    if (k == 0 || off < best) best = off, grip = strip.grip;
  }
  return grip;
}

TTrackStations SampleStations(const TTrack& track, const TVehicle& vehicle, double step) {
  TTrackStations out;
  TStationSampler(track, vehicle, step, out).Run();
  return out;
}

}  // namespace meridal
