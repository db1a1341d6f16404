// The track's structural edits of its sections: remove, add, split and change type.
// Each either refuses and changes nothing, or leaves the sections numbered in list
// order with their starts and file record indices recomputed and the tree in step.
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "edit/track_edits.h"

#include "model/curved_section.h"
#include "model/numbers.h"
#include "model/straight_section.h"
#include "model/track.h"

namespace meridal {

namespace {

// A copy of a section of the same kind (nullptr for a section of neither kind).
std::unique_ptr<TSection> CopyOf(TTrack* owner, const TSection& source) {
  if (const auto* curve = dynamic_cast<const TCurvedSection*>(&source))
    return std::make_unique<TCurvedSection>(owner, *curve);
  if (const auto* straight = dynamic_cast<const TStraightSection*>(&source))
    return std::make_unique<TStraightSection>(owner, *straight);
  return nullptr;
}

// The same section as the other kind: a 20-degree left arc from a straight, a
// straight from an arc.
std::unique_ptr<TSection> ConvertedOf(TTrack* owner, const TSection& source) {
  if (const auto* curve = dynamic_cast<const TCurvedSection*>(&source))
    return std::make_unique<TStraightSection>(owner, *curve);
  if (const auto* straight = dynamic_cast<const TStraightSection*>(&source))
    return std::make_unique<TCurvedSection>(owner, *straight);
  return nullptr;
}

// Inserts a copy of section n before or after it, placed at the end of the section
// before it with that section's end heading, with parallel walls and straight
// height ramps from the previous section's end to the next section's start.
// nullptr, with nothing changed, when the copy cannot be made or placed.
TSection* InsertCopy(TTrack& track, int n, bool before) {
  std::unique_ptr<TSection> copy = CopyOf(&track, *track.Section(n));
  if (!copy) return nullptr;  // neither kind: nothing to copy, nothing changed
  TSection* added = copy.get();
  TSection* previous = before ? track.Section(n)->PreviousSection() : track.Section(n);
  TSection* next = before ? track.Section(n) : track.Section(n)->NextSection();

  // Placed before it joins the track: a place whose points would not fit the
  // plan refuses the whole edit while nothing has changed yet.
  if (!added->SetStart(previous->EndX(), previous->EndY()) || !added->SetOrientation(previous->EndOrientation()))
    return nullptr;

  // The walls continue the copied section's walls from its end (after) or lead
  // into its start (before) as parallel strips.
  for (auto& wall : added->Walls) {
    if (before) wall->To = wall->From;
    else wall->From = wall->To;
  }

  // Each trace ramps from the previous section's end height to the next section's
  // start height (32-bit sums, as the profiles always are).
  for (int i = 0; i < added->NumberOfAltitudes(); ++i) {
    TAltitude* altitude = added->Altitude(i);
    altitude->ThirdOrder = altitude->SecondOrder = altitude->A3 = altitude->B2 = 0;
    if (i < previous->NumberOfAltitudes()) altitude->HeightAtStart = previous->Altitude(i)->HeightAtEnd();
    if (i < next->NumberOfAltitudes())
      altitude->FirstOrder = wrapSub(next->Altitude(i)->HeightAtStart, altitude->HeightAtStart);
  }

  added->RecomputeAllTracePoints();
  added->RecomputeStartX();
  added->RecomputeStartY();
  added->RecomputeSpanX();
  added->RecomputeSpanY();
  added->RecomputeAllWallPoints();
  added->RecomputeExtent();
  track.Sections.insert(track.Sections.begin() + (before ? n : n + 1), std::move(copy));
  track.RenumberSections();
  track.RecomputeStarts();
  track.RecomputeRecordIndices();
  return added;
}

// Whether both halves of a split would take their lengths. The two SetLength calls
// of a split are tried first on scratch copies (a scratch track with the same
// traces, so nothing of this track changes): a curved part refuses a length whose
// curvature would round to 0 or wrap, and then the whole split is refused before
// anything has changed. The second part is the copy of the shortened first part
// with its radius read back from its rounded trace 0, as the added section gets it.
bool SplitLengthsAccepted(const TTrack& track, const TSection& section, int32_t firstLength,
                          int32_t secondLength) {
  TTrack scratch;
  scratch.Traces = track.Traces;
  std::unique_ptr<TSection> first = CopyOf(&scratch, section);
  if (!first || !first->SetLength(firstLength)) return false;
  std::unique_ptr<TSection> second = CopyOf(&scratch, *first);
  second->RecomputeAllTracePoints();
  second->RecomputeStartX();
  if (!second->SetLength(secondLength)) return false;
  // The second part starts where the first now ends; its points must fit the plan.
  if (!second->SetStart(first->EndX(), first->EndY()) || !second->SetOrientation(first->EndOrientation()))
    return false;
  // Both arcs must lie on one circle; a radius so large that the trace radii wrap
  // around the 32-bit range would put the second part somewhere else entirely.
  return !section.IsCurved() || std::fabs(second->Radius - first->Radius) <= 1.0;
}

// The shared wall position at the split point: nearest(firstLength * (to - from) /
// length) + from, rounded half away from zero. Done exactly in integers: the
// product fits 64 bits, and exact rounding keeps the walls ordered at the split
// point (the interpolated positions never cross) and each result between the
// wall's own From and To, hence within 32 bits.
int32_t SplitPoint(int32_t from, int32_t to, int32_t firstLength, int32_t length) {
  const int64_t product = static_cast<int64_t>(firstLength) * (static_cast<int64_t>(to) - from);
  int64_t quotient = product / length;
  const int64_t remainder = product % length;
  if (2 * (remainder < 0 ? -remainder : remainder) >= length) quotient += product < 0 ? -1 : 1;
  return static_cast<int32_t>(from + quotient);
}

// A type change is refused when its numbers do not fit 32 bits and the result
// would not be the section it claims to be: an arc whose trace radii wrap (the
// radius read back from trace 0 then no longer matches its length and curvature)
// or whose centre lies beyond the integer range, a straight whose trace points
// wrap. Otherwise the result starts where the source started, within rounding.
bool ConversionFits(const TTrack& track, const TSection& source, const TSection& result) {
  if (const auto* curve = dynamic_cast<const TCurvedSection*>(&result)) {
    const double intended = curve->Length / curve->SweptAngle();
    return std::fabs(curve->Radius - intended) <= 1.0 && std::fabs(curve->StartX() - source.StartX()) <= 2.0 &&
           std::fabs(curve->StartY() - source.StartY()) <= 2.0;
  }
  const auto& straight = static_cast<const TStraightSection&>(result);
  const double theta = straight.Heading();
  const double sx = source.StartX(), sy = source.StartY();
  for (int i = 0; i < track.NumberOfTraces() && i < straight.NumberOfAltitudes(); ++i) {
    const double t = track.Traces[static_cast<size_t>(i)];
    const TAltitude* a = straight.Altitude(i);
    if (std::fabs(a->X - (sx - t * std::sin(theta))) > 1.0 || std::fabs(a->Y - (sy + t * std::cos(theta))) > 1.0)
      return false;
  }
  return true;
}

}  // namespace

namespace edit {

bool RemoveChild(TTrack& track, int32_t index) {
  if (index < 0 || index >= track.NumberOfSections() || track.NumberOfSections() < 2) return false;
  track.Sections.erase(track.Sections.begin() + index);
  track.RenumberSections();
  track.RecomputeStarts();
  track.RecomputeRecordIndices();
  return true;
}

bool AddChild(TTrack& track, int32_t index, bool before) {
  if (index < 0 || index >= track.NumberOfSections()) return false;
  return InsertCopy(track, index, before) != nullptr;
}

bool JoinToPrevious(TSection& section) {
  if (section.OrientationMismatch() != 0 && !section.SetValue("Orientation mismatch", 0)) return false;
  if (section.LongitudinalGap() == 0 && section.LateralGap() == 0) return true;
  return section.SetGaps(0, 0);
}

bool SplitAccepted(const TTrack& track, int32_t index, int32_t firstLength) {
  if (index < 0 || index >= track.NumberOfSections()) return false;
  const TSection& section = *track.Section(index);
  if (firstLength <= 0 || firstLength >= section.Length) return false;
  return SplitLengthsAccepted(track, section, firstLength, section.Length - firstLength);
}

bool SplitChild(TTrack& track, int32_t index, int32_t firstLength) {
  // Every inner step that could refuse is tried before anything changes, so a
  // refused split leaves the track as it was.
  if (!SplitAccepted(track, index, firstLength)) return false;
  TSection* first = track.Section(index);
  const int32_t length = first->Length;

  // The walls' shared positions at the split point, from their values before it.
  const int walls = first->NumberOfWalls();
  std::vector<int32_t> formerTo(static_cast<size_t>(walls)), shared(static_cast<size_t>(walls));
  for (int k = 0; k < walls; ++k) {
    const TWall* wall = first->Wall(k);
    formerTo[static_cast<size_t>(k)] = wall->To;
    shared[static_cast<size_t>(k)] = SplitPoint(wall->From, wall->To, firstLength, length);
  }

  first->SetLength(firstLength);  // an arc keeps its radius and turns less
  TSection* second = InsertCopy(track, index, false);
  if (second == nullptr) {  // tried above; kept whole should it ever refuse
    first->SetLength(length);
    return false;
  }
  second->SetLength(length - firstLength);
  for (int k = 0; k < walls; ++k) {
    first->Wall(k)->To = shared[static_cast<size_t>(k)];
    second->Wall(k)->From = shared[static_cast<size_t>(k)];
    second->Wall(k)->To = formerTo[static_cast<size_t>(k)];
    first->RecomputeWallPoints(k);
    second->RecomputeWallPoints(k);
  }
  first->RecomputeExtent();
  second->RecomputeExtent();
  return true;
}

bool ChangeChildType(TTrack& track, int32_t index) {
  if (index < 0 || index >= track.NumberOfSections()) return false;
  TSection* old = track.Section(index);
  std::unique_ptr<TSection> replacement = ConvertedOf(&track, *old);
  if (!replacement || !ConversionFits(track, *old, *replacement)) return false;
  replacement->Number = index;
  track.Sections[static_cast<size_t>(index)] = std::move(replacement);  // the old section goes here
  track.RecomputeStarts();
  track.RecomputeRecordIndices();
  return true;
}

bool Remove(TBase& object) {
  if (auto* wall = dynamic_cast<TWall*>(&object)) return RemoveChild(*wall->Section(), wall->Number);
  if (auto* section = dynamic_cast<TSection*>(&object))
    return section->Track() != nullptr && RemoveChild(*section->Track(), section->Number);
  return false;
}

bool Add(TBase& object, bool before) {
  if (auto* wall = dynamic_cast<TWall*>(&object)) return AddChild(*wall->Section(), wall->Number, before);
  if (auto* section = dynamic_cast<TSection*>(&object))
    return section->Track() != nullptr && AddChild(*section->Track(), section->Number, before);
  return false;
}

bool Split(TBase& object, int32_t firstLength) {
  auto* section = dynamic_cast<TSection*>(&object);
  return section != nullptr && section->Track() != nullptr && SplitChild(*section->Track(), section->Number, firstLength);
}

bool ChangeType(TBase& object) {
  auto* section = dynamic_cast<TSection*>(&object);
  return section != nullptr && section->Track() != nullptr && ChangeChildType(*section->Track(), section->Number);
}

}  // namespace edit
}  // namespace meridal
