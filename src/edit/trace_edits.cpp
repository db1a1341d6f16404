// Trace edits (one altitude more or fewer in every section) and Copy Altitude.
// The traces stay strictly increasing, and every section keeps one altitude per
// trace.
#include <cstdint>
#include <limits>
#include <memory>

#include "edit/track_edits.h"
#include "model/numbers.h"
#include "model/section.h"
#include "model/track.h"

namespace meridal {

namespace {

constexpr int kMaxTraces = 16;  // the capacity of both file formats
constexpr int kMinTraces = 2;

// Every section has exactly one altitude per trace (only a damaged file breaks
// this; such a track takes no trace edit rather than a partial one).
bool AltitudesMatchTraces(const TTrack& track) {
  for (const auto& section : track.Sections)
    if (section->NumberOfAltitudes() != track.NumberOfTraces()) return false;
  return true;
}

int32_t Mean(int32_t a, int32_t b) { return static_cast<int32_t>((static_cast<int64_t>(a) + b) / 2); }

void RemoveAltitude(TSection& section, int index) {
  if (index < 0 || index >= section.NumberOfAltitudes()) return;
  section.Altitudes.erase(section.Altitudes.begin() + index);
  for (int i = index; i < section.NumberOfAltitudes(); ++i) section.Altitude(i)->Number = i;
}

void InsertAltitude(TSection& section, int index) {
  if (index < 0 || index > section.NumberOfAltitudes()) return;
  section.Altitudes.insert(section.Altitudes.begin() + index, std::make_unique<TAltitude>(&section));
  TAltitude* added = section.Altitude(index);
  const int count = section.NumberOfAltitudes();
  // The profile of the former first or last altitude at the ends, the truncated
  // mean of the neighbours' coefficients between them.
  if (count > 1) {
    if (index == 0 || index == count - 1) {
      const TAltitude* end = section.Altitude(index == 0 ? 1 : index - 1);
      added->ThirdOrder = end->ThirdOrder;
      added->SecondOrder = end->SecondOrder;
      added->FirstOrder = end->FirstOrder;
      added->HeightAtStart = end->HeightAtStart;
    } else {
      const TAltitude* a = section.Altitude(index - 1);
      const TAltitude* b = section.Altitude(index + 1);
      added->ThirdOrder = Mean(a->ThirdOrder, b->ThirdOrder);
      added->SecondOrder = Mean(a->SecondOrder, b->SecondOrder);
      added->FirstOrder = Mean(a->FirstOrder, b->FirstOrder);
      added->HeightAtStart = Mean(a->HeightAtStart, b->HeightAtStart);
    }
  }
  added->A3 = wrapMul(3, added->ThirdOrder);
  added->B2 = wrapMul(2, added->SecondOrder);
  section.RecomputeTracePoint(index);
  section.RecomputeExtent();
  for (int i = index; i < count; ++i) section.Altitude(i)->Number = i;
}

}  // namespace

namespace edit {

bool RemoveTrace(TTrack& track, int n) {
  const int count = track.NumberOfTraces();
  if (n < 0 || n >= count || count <= kMinTraces) return false;
  if (!AltitudesMatchTraces(track)) return false;
  for (auto& section : track.Sections) RemoveAltitude(*section, n);
  track.Traces.erase(track.Traces.begin() + n);
  // The remaining trace points do not depend on the removed trace; only the boxes
  // (which reach the outermost traces) can change.
  for (auto& section : track.Sections) section->RecomputeExtent();
  track.RecomputeRecordIndices();
  return true;
}

bool AddTrace(TTrack& track, int n) {
  const int count = track.NumberOfTraces();
  if (n < 0 || n > count || count >= kMaxTraces) return false;
  // Fewer than two traces (only a damaged file has them) give no spacing to
  // extrapolate and no pair to halve.
  if (count < kMinTraces || !AltitudesMatchTraces(track)) return false;
  const auto trace = [&](int i) { return static_cast<int64_t>(track.Traces[static_cast<size_t>(i)]); };
  // One spacing beyond either end, or halfway between the neighbours. In 64 bits:
  // an extrapolated position beyond the 32-bit range would wrap to the wrong side,
  // and the truncated midpoint of neighbours one unit apart is one of them. Either
  // would break the strict order, so such a trace is refused.
  int64_t position;
  if (n == 0) position = 2 * trace(0) - trace(1);
  else if (n == count) position = 2 * trace(count - 1) - trace(count - 2);
  else position = (trace(n - 1) + trace(n)) / 2;
  if (position < std::numeric_limits<int32_t>::min() || position > std::numeric_limits<int32_t>::max()) return false;
  if ((n > 0 && position <= trace(n - 1)) || (n < count && position >= trace(n))) return false;
  for (const auto& section : track.Sections)
    if (!section->TracePositionFits(static_cast<int32_t>(position))) return false;

  track.Traces.insert(track.Traces.begin() + n, static_cast<int32_t>(position));
  for (auto& section : track.Sections) InsertAltitude(*section, n);
  track.RecomputeRecordIndices();
  return true;
}

void CopyAltitude(TSection& section, int index) {
  if (index < 0 || index >= section.NumberOfAltitudes()) return;
  const AltitudeValues source = section.Altitude(index)->Values();  // altitude `index` is overwritten too
  for (auto& altitude : section.Altitudes) {
    altitude->HeightAtStart = source.HeightAtStart;
    altitude->ThirdOrder = source.ThirdOrder;
    altitude->SecondOrder = source.SecondOrder;
    altitude->FirstOrder = source.FirstOrder;
    altitude->A3 = source.A3;
    altitude->B2 = source.B2;
  }
}

}  // namespace edit
}  // namespace meridal
