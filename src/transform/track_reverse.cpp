// Reverse: the track run the other way over the same ground.
#include <cmath>

#include "model/numbers.h"
#include "model/object_path.h"
#include "model/track.h"
#include "model/units.h"
#include "transform/lateral_flip.h"
#include "transform/track_transforms.h"

namespace meridal::transform {

namespace {

// The step from a straight's start to its end in whole units. It is worked out
// for the heading or its opposite, whichever lies in [0, 180) degrees, and takes
// its sign from the heading: the reversed straight then steps back by exactly as
// much, and reversing twice puts every trace point back where it was.
void EndStep(int32_t orientation, int32_t length, int64_t& dx, int64_t& dy) {
  const double theta = OrientationToRadians(orientation & INT32_MAX);
  dx = nearest64(length * std::cos(theta));
  dy = nearest64(length * std::sin(theta));
  if (orientation < 0) {
    dx = -dx;
    dy = -dy;
  }
}

bool Shifted(int32_t value, int64_t step, int32_t& out) {
  const int64_t shifted = static_cast<int64_t>(value) + step;
  if (!inInt32Range(shifted)) return false;
  out = static_cast<int32_t>(shifted);
  return true;
}

// One section run backwards, or false with the reason.
bool Reversed(const TSection& old, history::SectionSnapshot& s, std::string& reason) {
  const std::string where = PathName(TObjectPath::Section(old.Number));
  const history::SectionSnapshot was = history::SectionSnapshot::Of(old);
  s.curved = was.curved;
  s.values = was.values;
  if (!FlipWalls(was.walls, true, where, s.walls, reason)) return false;
  // Altitudes follow their traces, each profile run backwards.
  const size_t traces = was.altitudes.size();
  s.altitudes.resize(traces);
  for (size_t i = 0; i < traces; ++i) {
    const size_t from = traces - 1 - i;
    if (!ReversedProfile(was.altitudes[from], where + ", Altitude " + std::to_string(from), s.altitudes[i], reason))
      return false;
  }
  if (was.curved) {
    // The same circle, swept the other way from the former end: the heading
    // there turned by 180 degrees, and the centre now on the other side.
    if (!FlipArc(s.values, s.altitudes, where, "the other way", reason)) return false;
    s.values.Orientation = wrapAdd(wrapAdd(old.Orientation, wrapMul(2, old.ExportWords[2])), INT32_MIN);
    return true;
  }
  s.values.Orientation = wrapAdd(old.Orientation, INT32_MIN);
  int64_t dx = 0, dy = 0;
  EndStep(old.Orientation, old.Length, dx, dy);
  for (AltitudeValues& a : s.altitudes) {
    if (!Shifted(a.X, dx, a.X) || !Shifted(a.Y, dy, a.Y)) {
      reason = where + " would start beyond the plan's 32-bit coordinates";
      return false;
    }
  }
  if (traces == 0) {  // no trace points: the place is the base alone
    s.values.BaseX = old.EndX();
    s.values.BaseY = old.EndY();
  }
  return true;
}

}  // namespace

std::optional<TTrackRewrite> ReversedTrack(const TTrack& track, std::string& reason) {
  TTrackRewrite out;
  if (!FlipTraces(track.Traces, out.traces, reason)) return std::nullopt;
  const int n = track.NumberOfSections();
  out.sections.resize(static_cast<size_t>(n));
  for (int k = 0; k < n; ++k)
    if (!Reversed(*track.Section(n - 1 - k), out.sections[static_cast<size_t>(k)], reason)) return std::nullopt;
  return out;
}

}  // namespace meridal::transform
