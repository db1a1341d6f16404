#include "graphics/profile_sampling.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/track.h"
#include "model/units.h"

namespace meridal {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kTwoPow32 = 4294967296.0;

double Metres(double units) { return static_cast<double>(static_cast<long double>(units) * kMetersPerUnit); }

// Where h'(t) = 3A t^2 + 2B t + C is 0 strictly between t0 and t1: the only
// places inside an interval where the cubic can turn. At most two. The roots are
// only worked out when the signs of h' show that there may be one.
int TurningPoints(const TAltitude& a, double t0, double t1, double (&roots)[2]) {
  const double A = 3.0 * a.ThirdOrder, B = 2.0 * a.SecondOrder, C = a.FirstOrder;
  const auto slope = [&](double t) { return (A * t + B) * t + C; };
  const double s0 = slope(t0), s1 = slope(t1);
  if (s0 * s1 > 0) {
    // Same sign at both ends: h' can only cross 0 twice, around its own turn
    // -B / 2A, and only if that lies between them (tested without dividing).
    const double twoA = 2 * A;
    const bool between = A > 0 ? (-B > twoA * t0 && -B < twoA * t1) : A < 0 && (-B < twoA * t0 && -B > twoA * t1);
    if (!between || slope(-B / twoA) * s0 > 0) return 0;
  }
  int count = 0;
  const auto keep = [&](double t) {
    if (t > t0 && t < t1) roots[count++] = t;
  };
  if (A == 0) {
    if (B != 0) keep(-C / B);
    return count;
  }
  const double disc = B * B - 4 * A * C;
  if (disc < 0) return 0;
  const double root = std::sqrt(disc);
  keep((-B - root) / (2 * A));
  keep((-B + root) / (2 * A));
  return count;
}

// The steepest |gradient| between t0 and t1: at an end, or where h'' is 0.
double Steepest(const TAltitude& a, double t0, double t1) {
  double g = std::max(std::fabs(a.GradientAt(t0)), std::fabs(a.GradientAt(t1)));
  if (a.ThirdOrder != 0) {
    const double vertex = -static_cast<double>(a.SecondOrder) / (3.0 * a.ThirdOrder);
    if (vertex > t0 && vertex < t1) g = std::max(g, std::fabs(a.GradientAt(vertex)));
  }
  return g;
}

// The lowest and highest height between t0 and t1: at an end, or where it turns.
void HeightRange(const TAltitude& altitude, double t0, double t1, double& lo, double& hi) {
  const double h0 = altitude.HeightAt(t0), h1 = altitude.HeightAt(t1);
  lo = std::min(h0, h1);
  hi = std::max(h0, h1);
  double turns[2];
  for (int r = TurningPoints(altitude, t0, t1, turns) - 1; r >= 0; --r) {
    const double h = altitude.HeightAt(turns[r]);
    lo = std::min(lo, h);
    hi = std::max(hi, h);
  }
}

// Every section's reach into columns `from` to `to` (both included), in track
// units: the lowest and highest height of each trace there, and the steepest
// gradient of the slope trace. The columns are the whole range's, so a part
// gathered again comes out as the whole would.
void GatherColumns(const TTrack& track, const std::vector<int64_t>& starts, int from, int to, TColumnSamples& out) {
  const double first = out.first, last = out.last;
  const double width = (last - first) / out.columns;
  const auto columnOf = [&](double d) {
    return static_cast<int>(std::clamp(std::floor((d - first) / width), 0.0, out.columns - 1.0));
  };
  for (size_t s = 0; s < track.Sections.size() && s < starts.size(); ++s) {
    const TSection& section = *track.Sections[s];
    const double a = static_cast<double>(starts[s]), length = section.Length, b = a + length;
    if (b < first || a > last) continue;
    const int c0 = std::max(from, columnOf(std::max(a, first))), c1 = std::min(to, columnOf(std::min(b, last)));
    if (a >= first && columnOf(a) >= from && columnOf(a) <= to) out.boundary[static_cast<size_t>(columnOf(a))] = 1;
    if (!(length > 0) || c0 > c1) continue;
    // Zoomed out, most sections lie within one column, whole: t runs 0 to 1.
    const bool whole = c0 == c1 && a >= first && b <= last && columnOf(a) == columnOf(b);
    const double perUnit = 1.0 / length;
    const int traces = std::min(out.traces, section.NumberOfAltitudes());
    for (int j = 0; j < traces; ++j) {
      const TAltitude& altitude = *section.Altitude(j);
      double* low = &out.low[static_cast<size_t>(j) * out.columns];
      double* high = &out.high[static_cast<size_t>(j) * out.columns];
      if (whole) {
        TColumnSamples::WholeHeights& known = out.whole[s * static_cast<size_t>(out.traces) + static_cast<size_t>(j)];
        if (!known.known || known.a != altitude.ThirdOrder || known.b != altitude.SecondOrder ||
            known.c != altitude.FirstOrder || known.d != altitude.HeightAtStart) {
          known = {altitude.ThirdOrder, altitude.SecondOrder, altitude.FirstOrder, altitude.HeightAtStart, true};
          HeightRange(altitude, 0.0, 1.0, known.low, known.high);
        }
        low[c0] = std::min(low[c0], known.low);
        high[c0] = std::max(high[c0], known.high);
        if (j == out.slopeTrace) out.steepest[c0] = std::max(out.steepest[c0], Steepest(altitude, 0.0, 1.0));
        continue;
      }
      for (int c = c0; c <= c1; ++c) {
        const double t0 = std::clamp((std::max(a, first + c * width) - a) * perUnit, 0.0, 1.0);
        const double t1 = std::clamp((std::min(b, first + (c + 1) * width) - a) * perUnit, 0.0, 1.0);
        double lo, hi;
        HeightRange(altitude, t0, t1, lo, hi);
        low[c] = std::min(low[c], lo);
        high[c] = std::max(high[c], hi);
        if (j == out.slopeTrace) out.steepest[c] = std::max(out.steepest[c], Steepest(altitude, t0, t1));
      }
    }
  }
}

// Columns `from` to `to` from track units to metres, cells no section reached
// from their starting infinities to NaN; then the extremes over every column.
void FinishColumns(int from, int to, TColumnSamples& out) {
  const auto metres = [](double units) { return std::isinf(units) ? kNaN : Metres(units); };
  for (int c = from; c <= to; ++c) {
    double& g = out.steepest[static_cast<size_t>(c)];
    if (g < 0) g = kNaN;
    for (int j = 0; j < out.traces; ++j) {
      const size_t i = static_cast<size_t>(j) * static_cast<size_t>(out.columns) + static_cast<size_t>(c);
      out.low[i] = metres(out.low[i]);
      out.high[i] = metres(out.high[i]);
    }
  }
  out.lowest = out.highest = kNaN;
  for (size_t i = 0; i < out.low.size(); ++i) {
    out.lowest = std::fmin(out.lowest, out.low[i]);
    out.highest = std::fmax(out.highest, out.high[i]);
  }
}

}  // namespace

std::vector<int64_t> SectionStarts(const TTrack& track) {
  std::vector<int64_t> starts;
  starts.reserve(track.Sections.size());
  int64_t sum = 0;
  for (const auto& section : track.Sections) {
    const int64_t stored = section->Start;
    const auto turns = static_cast<int64_t>(std::llround(static_cast<double>(sum - stored) / kTwoPow32));
    starts.push_back(stored + turns * static_cast<int64_t>(kTwoPow32));
    sum += section->Length;
  }
  return starts;
}

TDistanceRange TrackDistances(const TTrack& track, const std::vector<int64_t>& starts) {
  TDistanceRange range;
  for (size_t s = 0; s < starts.size() && s < track.Sections.size(); ++s) {
    range.first = std::min(range.first, static_cast<double>(starts[s]));
    range.last = std::max(range.last, static_cast<double>(starts[s] + track.Sections[s]->Length));
  }
  return range;
}

std::vector<TSectionSample> SampleSections(const TTrack& track, int perSection) {
  std::vector<TSectionSample> rows;
  if (perSection < 1) return rows;
  const std::vector<int64_t> starts = SectionStarts(track);
  rows.reserve(track.Sections.size() * static_cast<size_t>(perSection + 1));
  for (size_t s = 0; s < track.Sections.size(); ++s) {
    const TSection& section = *track.Sections[s];
    for (int k = 0; k <= perSection; ++k) {
      TSectionSample row;
      row.section = static_cast<int>(s);
      row.t = k == perSection ? 1.0 : static_cast<double>(k) / perSection;
      row.distance = Metres(static_cast<double>(starts[s]) + row.t * section.Length);
      for (const auto& altitude : section.Altitudes) row.heights.push_back(Metres(altitude->HeightAt(row.t)));
      rows.push_back(std::move(row));
    }
  }
  return rows;
}

void SampleColumns(const TTrack& track, const std::vector<int64_t>& starts, double first, double last, int columns,
                   int slopeTrace, TColumnSamples& out) {
  out.columns = std::max(columns, 0);
  out.traces = track.NumberOfTraces();
  out.first = first;
  out.last = last;
  out.slopeTrace = slopeTrace >= 0 && slopeTrace < out.traces ? slopeTrace : -1;
  const size_t cells = static_cast<size_t>(out.traces) * static_cast<size_t>(out.columns);
  out.low.assign(cells, kInfinity);
  out.high.assign(cells, -kInfinity);
  out.steepest.assign(static_cast<size_t>(out.columns), -1.0);
  out.boundary.assign(static_cast<size_t>(out.columns), 0);
  // Room for some sections more: one added or split off then finds the heights
  // known in place, not in a list the system must find fresh memory for.
  const size_t whole = track.Sections.size() * static_cast<size_t>(out.traces);
  if (out.whole.capacity() < whole) out.whole.reserve(whole + whole / 8);
  out.whole.resize(whole);
  if (out.columns > 0 && last > first) GatherColumns(track, starts, 0, out.columns - 1, out);
  FinishColumns(0, out.columns - 1, out);
}

void MoveWholeHeights(TColumnSamples& out, int at, bool added) {
  const size_t traces = static_cast<size_t>(std::max(out.traces, 0));
  if (traces == 0 || out.whole.size() % traces != 0 || at < 0 || static_cast<size_t>(at) > traces ||
      (!added && static_cast<size_t>(at) == traces))
    return;
  const size_t sections = out.whole.size() / traces, now = added ? traces + 1 : traces - 1;
  std::vector<TColumnSamples::WholeHeights> moved(sections * now);
  for (size_t s = 0; s < sections; ++s)
    for (size_t j = 0; j < now; ++j) {
      if (added && j == static_cast<size_t>(at)) continue;
      const size_t from = added ? (j > static_cast<size_t>(at) ? j - 1 : j) : (j >= static_cast<size_t>(at) ? j + 1 : j);
      moved[s * now + j] = out.whole[s * traces + from];
    }
  // The count of traces stays until the next sampling: the columns are still
  // the old picture's. An entry is only ever used for the coefficients it was
  // found for, so one left in a wrong place costs a sampling, never a height.
  out.whole = std::move(moved);
}

bool ResampleColumns(const TTrack& track, const std::vector<int64_t>& starts, int from, int to, TColumnSamples& out) {
  from = std::max(from, 0);
  to = std::min(to, out.columns - 1);
  if (from > to || track.NumberOfTraces() != out.traces || !(out.last > out.first) ||
      out.whole.size() != track.Sections.size() * static_cast<size_t>(out.traces))
    return false;
  for (int j = 0; j < out.traces; ++j) {
    const size_t row = static_cast<size_t>(j) * static_cast<size_t>(out.columns);
    std::fill(out.low.begin() + static_cast<long>(row) + from, out.low.begin() + static_cast<long>(row) + to + 1, kInfinity);
    std::fill(out.high.begin() + static_cast<long>(row) + from, out.high.begin() + static_cast<long>(row) + to + 1,
              -kInfinity);
  }
  std::fill(out.steepest.begin() + from, out.steepest.begin() + to + 1, -1.0);
  std::fill(out.boundary.begin() + from, out.boundary.begin() + to + 1, 0);
  GatherColumns(track, starts, from, to, out);
  FinishColumns(from, to, out);
  return true;
}

}  // namespace meridal
