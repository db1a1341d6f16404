// Mirror: the track reflected across the line through section 0's start along
// its heading.
#include <cmath>

#include "model/numbers.h"
#include "model/object_path.h"
#include "model/track.h"
#include "model/units.h"
#include "transform/lateral_flip.h"
#include "transform/lattice_mirror.h"
#include "transform/track_transforms.h"

namespace meridal::transform {

namespace {

// Twice the mirror's centre: section 0's start, worked out from its stored
// integers so that the mirrored section gives the very same centre (and so the
// same mirror) again. The start of an arc lies a radius from its centre across
// its heading; the radius is taken from both outer traces, which the mirror
// swaps and negates. The start of a straight is where the line through its
// outer trace points crosses lateral 0, an exact quotient of integers. Either is
// rounded to the nearest half unit with halves to the even one, the rounding the
// mirrored start, the same distance on the other side, rounds back.
void MirrorCentre(const TTrack& track, const TSection& first, int64_t& kx, int64_t& ky) {
  const int traces = std::min(track.NumberOfTraces(), first.NumberOfAltitudes());
  const double theta = OrientationToRadians(first.Orientation);
  const double wx = std::sin(theta), wy = -std::cos(theta);  // from the start to the right, across
  const auto t = [&track](int i) { return static_cast<int64_t>(track.Traces[static_cast<size_t>(i)]); };
  const TAltitude* right = traces > 0 ? first.Altitude(0) : nullptr;
  const TAltitude* left = traces > 0 ? first.Altitude(traces - 1) : nullptr;
  if (first.IsCurved()) {
    const double radius =
        right ? static_cast<double>(right->X + t(0) + left->X + t(traces - 1)) * 0.5 : first.Radius;
    kx = 2 * static_cast<int64_t>(first.ExportWords[0]) + RoundHalfEven(2 * radius * wx);
    ky = 2 * static_cast<int64_t>(first.ExportWords[1]) + RoundHalfEven(2 * radius * wy);
  } else if (traces >= 2) {
    const __int128 t0 = t(0), tl = t(traces - 1);
    kx = RoundHalfEven(2 * (static_cast<__int128>(left->X) * t0 - static_cast<__int128>(right->X) * tl), t0 - tl);
    ky = RoundHalfEven(2 * (static_cast<__int128>(left->Y) * t0 - static_cast<__int128>(right->Y) * tl), t0 - tl);
  } else if (traces == 1) {
    kx = 2 * static_cast<int64_t>(right->X) + RoundHalfEven(2.0 * t(0) * wx);
    ky = 2 * static_cast<int64_t>(right->Y) + RoundHalfEven(2.0 * t(0) * wy);
  } else {
    kx = RoundHalfEven(2 * first.BaseX);
    ky = RoundHalfEven(2 * first.BaseY);
  }
}

struct Mirror {
  int64_t kx, ky;
  TLatticeMirror lattice;
  int32_t orientation;

  // Section 0 lies across the mirror's line at its centre: its points turn half
  // about the centre, which for points on that cross line is the reflection.
  bool Place(int section, int32_t x, int32_t y, int32_t& outX, int32_t& outY) const {
    int64_t mx = kx - x, my = ky - y;
    if (section != 0) lattice.Map(x, y, mx, my);
    if (!inInt32Range(mx) || !inInt32Range(my)) return false;
    outX = static_cast<int32_t>(mx);
    outY = static_cast<int32_t>(my);
    return true;
  }
};

bool Mirrored(const TSection& old, const Mirror& mirror, history::SectionSnapshot& s, std::string& reason) {
  const std::string where = PathName(TObjectPath::Section(old.Number));
  const history::SectionSnapshot was = history::SectionSnapshot::Of(old);
  s.curved = was.curved;
  s.values = was.values;
  if (!FlipWalls(was.walls, false, where, s.walls, reason)) return false;
  const size_t traces = was.altitudes.size();
  s.altitudes.resize(traces);
  for (size_t i = 0; i < traces; ++i) s.altitudes[i] = was.altitudes[traces - 1 - i];
  s.values.Orientation = wrapSub(wrapMul(2, mirror.orientation), old.Orientation);
  const std::string beyond = where + " would lie beyond the plan's 32-bit coordinates";
  if (was.curved) {
    if (!FlipArc(s.values, s.altitudes, where, "on the other side", reason)) return false;
    if (!mirror.Place(old.Number, old.ExportWords[0], old.ExportWords[1], s.values.ExportWords[0],
                      s.values.ExportWords[1])) {
      reason = beyond;
      return false;
    }
    return true;
  }
  for (AltitudeValues& a : s.altitudes) {
    if (!mirror.Place(old.Number, a.X, a.Y, a.X, a.Y)) {
      reason = beyond;
      return false;
    }
  }
  if (traces == 0) {
    const TPointD base = mirror.lattice.Reflect(old.BaseX, old.BaseY);
    s.values.BaseX = base.x;
    s.values.BaseY = base.y;
  }
  return true;
}

}  // namespace

std::optional<TTrackRewrite> MirroredTrack(const TTrack& track, std::string& reason) {
  TTrackRewrite out;
  if (!FlipTraces(track.Traces, out.traces, reason)) return std::nullopt;
  const int n = track.NumberOfSections();
  if (n == 0) return out;
  const TSection& first = *track.Section(0);
  int64_t kx = 0, ky = 0;
  MirrorCentre(track, first, kx, ky);
  const Mirror mirror{kx, ky, TLatticeMirror(kx, ky, first.Orientation), first.Orientation};
  out.sections.resize(static_cast<size_t>(n));
  for (int s = 0; s < n; ++s)
    if (!Mirrored(*track.Section(s), mirror, out.sections[static_cast<size_t>(s)], reason)) return std::nullopt;
  return out;
}

}  // namespace meridal::transform
