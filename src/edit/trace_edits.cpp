// Trace edits (one altitude more or fewer in every section) and Copy Altitude.
// The traces stay strictly increasing, and every section keeps one altitude per
// trace.
#include <cstdint>
#include <limits>
#include <memory>

#include "edit/tree_steps.h"
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

}  // namespace

bool TTrack::RemoveTrace(int n) {
  const int count = NumberOfTraces();
  if (n < 0 || n >= count || count <= kMinTraces) return false;
  if (!AltitudesMatchTraces(*this)) return false;
  for (auto& section : Sections) section->RemoveAltitude(n);
  Traces.erase(Traces.begin() + n);
  // The remaining trace points do not depend on the removed trace; only the boxes
  // (which reach the outermost traces) can change.
  for (auto& section : Sections) section->RecomputeExtent();
  RecomputeRecordIndices();
  return true;
}

bool TTrack::AddTrace(int n) {
  const int count = NumberOfTraces();
  if (n < 0 || n > count || count >= kMaxTraces) return false;
  // Fewer than two traces (only a damaged file has them) give no spacing to
  // extrapolate and no pair to halve.
  if (count < kMinTraces || !AltitudesMatchTraces(*this)) return false;
  const auto trace = [&](int i) { return static_cast<int64_t>(Traces[static_cast<size_t>(i)]); };
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
  for (const auto& section : Sections)
    if (!section->TracePositionFits(static_cast<int32_t>(position))) return false;

  Traces.insert(Traces.begin() + n, static_cast<int32_t>(position));
  ITreeNodes* nodes = edit::TreeOf(this);
  if (nodes) nodes->BeginUpdate();
  for (auto& section : Sections) section->InsertAltitude(n);
  if (nodes) nodes->EndUpdate();
  RecomputeRecordIndices();
  return true;
}

void TSection::RemoveAltitude(int index) {
  if (index < 0 || index >= NumberOfAltitudes()) return;
  TTrack* track = Track();
  ITreeNodes* nodes = edit::TreeOf(track);
  {
    edit::TreeEventsPaused paused(track);
    edit::DeleteNode(nodes, *Altitude(index));
  }
  Altitudes.erase(Altitudes.begin() + index);
  for (int i = index; i < NumberOfAltitudes(); ++i) {
    Altitude(i)->Number = i;
    edit::Relabel(nodes, *Altitude(i));
  }
  if (SelectedItem >= NumberOfAltitudes()) SelectedItem = NumberOfAltitudes() - 1;
}

void TSection::InsertAltitude(int index) {
  if (index < 0 || index > NumberOfAltitudes()) return;
  Altitudes.insert(Altitudes.begin() + index, std::make_unique<TAltitude>(this));
  TAltitude* added = Altitude(index);
  const int count = NumberOfAltitudes();
  // The profile of the former first or last altitude at the ends, the truncated
  // mean of the neighbours' coefficients between them.
  if (count > 1) {
    if (index == 0 || index == count - 1) {
      const TAltitude* end = Altitude(index == 0 ? 1 : index - 1);
      added->ThirdOrder = end->ThirdOrder;
      added->SecondOrder = end->SecondOrder;
      added->FirstOrder = end->FirstOrder;
      added->HeightAtStart = end->HeightAtStart;
    } else {
      const TAltitude* a = Altitude(index - 1);
      const TAltitude* b = Altitude(index + 1);
      added->ThirdOrder = Mean(a->ThirdOrder, b->ThirdOrder);
      added->SecondOrder = Mean(a->SecondOrder, b->SecondOrder);
      added->FirstOrder = Mean(a->FirstOrder, b->FirstOrder);
      added->HeightAtStart = Mean(a->HeightAtStart, b->HeightAtStart);
    }
  }
  added->A3 = wrapMul(3, added->ThirdOrder);
  added->B2 = wrapMul(2, added->SecondOrder);
  RecomputeTracePoint(index);
  RecomputeExtent();
  for (int i = index; i < count; ++i) Altitude(i)->Number = i;

  // The new altitude's node goes in its place; the ones after it are relabelled.
  // (The same tree as deleting every altitude node and adding them all again, at
  // a fraction of the cost on a long track, and the other nodes stay.)
  edit::AddAltitudeNode(edit::TreeOf(Track()), *this, index);
}

void TSection::CopyAltitude(int index) {
  if (index < 0 || index >= NumberOfAltitudes()) return;
  const TAltitude source(this, *Altitude(index));  // a copy: altitude `index` is overwritten too
  for (auto& altitude : Altitudes) {
    altitude->HeightAtStart = source.HeightAtStart;
    altitude->ThirdOrder = source.ThirdOrder;
    altitude->SecondOrder = source.SecondOrder;
    altitude->FirstOrder = source.FirstOrder;
    altitude->A3 = source.A3;
    altitude->B2 = source.B2;
  }
}

}  // namespace meridal
