#include "solve/loop_join.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "history/track_patch.h"
#include "model/curved_section.h"
#include "model/numbers.h"
#include "model/track.h"
#include "model/units.h"

namespace meridal {

namespace {

struct Vec {
  long double x = 0, y = 0;
};

// The heading after a section that starts with heading `o`: an arc turns it by
// twice its curvature (the curvature counts 360 degrees in 2^31 units).
int32_t HeadingAfter(const TSection& section, int32_t o) {
  if (!section.IsCurved()) return o;
  return wrapAdd(o, wrapMul(2, static_cast<const TCurvedSection&>(section).Curvature()));
}

// Where a section ends relative to its start when it starts with heading `o`.
Vec Displacement(const TSection& section, int32_t o) {
  const double theta = OrientationToRadians(o);
  if (!section.IsCurved()) return {section.Length * std::cos(theta), section.Length * std::sin(theta)};
  const auto& arc = static_cast<const TCurvedSection&>(section);
  const double r = arc.Radius, end = theta + arc.SweptAngle();
  return {r * (std::sin(end) - std::sin(theta)), r * (std::cos(theta) - std::cos(end))};
}

bool Joined(TSection& section) {
  return section.OrientationMismatch() == 0 && section.LongitudinalGap() == 0 && section.LateralGap() == 0;
}

// Candidate offsets from the predecessor's end, nearest first: within half a unit
// a start rounds to every neighbouring stored position.
const std::vector<Vec>& Offsets() {
  static const std::vector<Vec> offsets = [] {
    std::vector<Vec> v;
    for (int i = -2; i <= 2; ++i)
      for (int j = -2; j <= 2; ++j) v.push_back({i * 0.25L, j * 0.25L});
    std::stable_sort(v.begin(), v.end(), [](const Vec& a, const Vec& b) {
      return a.x * a.x + a.y * a.y < b.x * b.x + b.y * b.y;
    });
    return v;
  }();
  return offsets;
}

// When none of those reads as joined: an eighth of a unit apart, a unit each way.
// A straight's start is drawn back from its rounded first and last trace points,
// and where its traces lie unevenly about the zero line the starts it can take
// form a grid of their own, finer in places than a quarter unit and, at some
// headings, with none of its points among the nearer offsets.
const std::vector<Vec>& FineOffsets() {
  static const std::vector<Vec> offsets = [] {
    std::vector<Vec> v;
    for (int i = -8; i <= 8; ++i)
      for (int j = -8; j <= 8; ++j) v.push_back({i * 0.125L, j * 0.125L});
    std::stable_sort(v.begin(), v.end(), [](const Vec& a, const Vec& b) {
      return a.x * a.x + a.y * a.y < b.x * b.x + b.y * b.y;
    });
    return v;
  }();
  return offsets;
}

// Places a section at its predecessor's end; `remaining` is where the rest of the
// chain after this section takes its end to, and `target` where the chain must
// end. Without a target, the first placement the check reads as joined.
//
// An arc's start lies on its centre's integer grid turned by its heading: at
// some headings no grid point reads as joined. A radius a unit or two longer or
// shorter shifts the grid across the heading; `nudge` allows that.
bool Place(TSection& section, const TSection& previous, const Vec* remaining, const Vec& target, bool nudge,
           int reach = 2, bool fine = false) {
  const double px = previous.EndX(), py = previous.EndY();
  // An arc's radius, or a straight's length, a unit or two off.
  const bool arc = nudge;
  const char* name = section.IsCurved() ? "Radius" : "Length";
  const int32_t radius = arc ? section.GetValue(name) : 0;
  bool found = false;
  Vec best;
  int bestNudge = 0;
  long double bestCost = 0;
  // The finer offsets when asked for, else only when the first find nothing.
  for (int pass = fine ? 1 : 0; pass < 2 && !found; ++pass) {
    for (int step = 0; step <= 2 * reach; ++step) {
      const int n = (step + 1) / 2 * (step % 2 ? 1 : -1);
      if (n != 0 && (!arc || (found && !remaining))) break;
      if (arc && !section.SetValue(name, wrapAdd(radius, n))) continue;
      for (const Vec& d : pass == 0 ? Offsets() : FineOffsets()) {
        if (!section.SetStart(px + static_cast<double>(d.x), py + static_cast<double>(d.y))) continue;
        if (section.LongitudinalGap() != 0 || section.LateralGap() != 0) continue;
        const long double gx = section.StartX() - px, gy = section.StartY() - py;
        long double cost = 0.1L * (gx * gx + gy * gy) + 0.05L * n * n;
        if (remaining) {
          const long double ex = section.EndX() + remaining->x - target.x;
          const long double ey = section.EndY() + remaining->y - target.y;
          cost += ex * ex + ey * ey;
        }
        if (!found || cost < bestCost) {
          found = true;
          best = d;
          bestNudge = n;
          bestCost = cost;
        }
        if (!remaining) break;
      }
    }
  }
  if (arc) section.SetValue(name, wrapAdd(radius, bestNudge));
  // No placement reads as joined (a start beyond the plan): the plain one.
  if (!found) best = Vec{};
  return section.SetStart(px + static_cast<double>(best.x), py + static_cast<double>(best.y)) || found;
}

}  // namespace

std::unique_ptr<TTrack> CopyTrack(const TTrack& track) {
  auto copy = std::make_unique<TTrack>();
  std::memcpy(copy->Tag, track.Tag, sizeof copy->Tag);
  copy->FormatCode = track.FormatCode;
  copy->Values() = track.Values();
  copy->Sections.reserve(track.Sections.size());
  for (int s = 0; s < track.NumberOfSections(); ++s)
    copy->Sections.push_back(history::SectionSnapshot::Of(*track.Section(s)).Build(*copy, s));
  return copy;
}

bool JoinSteered(TTrack& track, int steerFrom, int nudgeFrom) {
  const int count = track.NumberOfSections();
  if (count < 2) return true;
  // The headings every section will have once joined, and from each section on,
  // where the rest of the chain takes its start.
  std::vector<int32_t> heading(static_cast<size_t>(count));
  heading[0] = track.Section(0)->Orientation;
  for (int s = 1; s < count; ++s) heading[s] = HeadingAfter(*track.Section(s - 1), heading[s - 1]);
  // remaining[s]: from the end of section s - 1 to the end of the chain.
  std::vector<Vec> remaining(static_cast<size_t>(count) + 1);
  for (int s = count - 1; s >= 0; --s) {
    const Vec d = Displacement(*track.Section(s), heading[s]);
    remaining[s] = {remaining[s + 1].x + d.x, remaining[s + 1].y + d.y};
  }
  const Vec target{track.Section(0)->StartX(), track.Section(0)->StartY()};
  bool placed = true;
  for (int s = 1; s < count; ++s) {
    TSection& section = *track.Section(s);
    const bool steer = s >= steerFrom;
    if (!steer && Joined(section)) continue;
    const TSection& previous = *track.Section(s - 1);
    if (section.Orientation != previous.EndOrientation() && !section.SetOrientation(previous.EndOrientation()))
      placed = false;
    // The last few sections have the loop's own joint to meet: a wider nudge.
    placed = Place(section, previous, steer ? &remaining[s + 1] : nullptr, target, s >= nudgeFrom,
                   s >= count - 3 ? 6 : 2) && placed;
  }
  // The loop's own joint still open by a unit: the last sections placed again,
  // each with the wider nudge and the finer offsets, from where the others
  // ended. Each placement takes the best end it can for itself, and one arc with
  // no joined start near its best may leave the rest too little room to meet the
  // start: from another section on the choices differ.
  for (const int back : {12, 24, 6, 18}) {
    const TSeam seam = LoopSeam(track);
    const int again = std::max({1, steerFrom, nudgeFrom, count - back});
    if (nudgeFrom >= count || again >= count || (nearest(seam.along) == 0 && nearest(seam.across) == 0)) break;
    for (int s = count - 1; s >= again; --s) {
      const Vec d = Displacement(*track.Section(s), track.Section(s)->Orientation);
      remaining[s] = {remaining[s + 1].x + d.x, remaining[s + 1].y + d.y};
    }
    for (int s = again; s < count; ++s)
      placed = Place(*track.Section(s), *track.Section(s - 1), &remaining[s + 1], target, true, 6, true) && placed;
  }
  return placed;
}

bool PlaceJoined(TSection& section) {
  if (section.SetGaps(0, 0) && section.LongitudinalGap() == 0 && section.LateralGap() == 0) return true;
  const TSection& previous = *section.PreviousSection();
  const Vec none;
  if (Place(section, previous, nullptr, none, false) && Joined(section)) return true;
  if (Place(section, previous, nullptr, none, false, 2, true) && Joined(section)) return true;
  const int32_t kept = section.GetValue(section.IsCurved() ? "Radius" : "Length");
  if (Place(section, previous, nullptr, none, true, 2, true) && Joined(section)) return true;
  section.SetValue(section.IsCurved() ? "Radius" : "Length", kept);
  section.SetGaps(0, 0);
  return false;
}

TSeam LoopSeam(const TTrack& track) {
  TSeam seam;
  if (track.NumberOfSections() == 0) return seam;
  TSection& first = *track.Section(0);
  const TSection& last = *track.Section(track.NumberOfSections() - 1);
  const double theta = OrientationToRadians(first.Orientation);
  const double dx = first.StartX() - last.EndX(), dy = first.StartY() - last.EndY();
  seam.along = std::cos(theta) * dx + std::sin(theta) * dy;
  seam.across = std::cos(theta) * dy - std::sin(theta) * dx;
  seam.turn = first.OrientationMismatch();
  return seam;
}

}  // namespace meridal
