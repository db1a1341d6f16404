#pragma once
// Copies of the values of a track's objects, taken before a change so that its undo
// can put them back exactly: stored fields, the cached geometry (doubles bit for
// bit) and the derived words. The highlight state is not part of them: the editor
// selects the changed object after an undo or redo, and that sets the highlight.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "model/base.h"
#include "model/wall.h"

namespace meridal {

class TAltitude;
class TSection;
class TTrack;

namespace history {

struct AltitudeState {
  int32_t A = 0, B = 0, C = 0, D = 0, A3 = 0, B2 = 0, X = 0, Y = 0;

  static AltitudeState Of(const TAltitude& altitude);
  void ApplyTo(TAltitude& altitude) const;
  friend bool operator==(const AltitudeState&, const AltitudeState&) = default;
};

struct WallState {
  int32_t From = 0, To = 0, Surface = 0, Unk1 = 0, Height = 0, Unk2 = 0, Unk3 = 0, Unk4 = 0;
  TPointD FromPoint, ToPoint;

  static WallState Of(const TWall& wall);
  void ApplyTo(TWall& wall) const;
  // Doubles compare bit for bit, so that a NaN of degenerate geometry equals itself.
  friend bool operator==(const WallState&, const WallState&);
};

// A section's own values, without its altitudes and walls.
struct SectionHeader {
  bool curved = false;  // which kind of object the section is
  int32_t Type = 0, Start = 0, Length = 0, Orientation = 0, Reserved = 0;
  int32_t ExportWords[5] = {0, 0, 0, 0, 0};
  int32_t FirstAltitude = 0, FirstWall = 0;
  double Radius = 0, BaseX = 0, BaseY = 0, SpanX = 0, SpanY = 0, StartAngle = 0;
  TRect Extent;

  static SectionHeader Of(const TSection& section);
  void ApplyTo(TSection& section) const;
  friend bool operator==(const SectionHeader&, const SectionHeader&);
};

// A whole section.
struct SectionState {
  SectionHeader header;
  std::vector<AltitudeState> altitudes;
  std::vector<WallState> walls;

  static SectionState Of(const TSection& section);
  // A new section object of the recorded kind and values, numbered `number`,
  // owned by the track but not in its list, without tree nodes.
  std::unique_ptr<TSection> Build(TTrack& track, int number) const;
  size_t Bytes() const;
  friend bool operator==(const SectionState&, const SectionState&) = default;
};

// What a change did to one section, kept small: its header as it was, and those of
// its altitudes and walls that the change altered (the counts stay).
struct SectionDelta {
  SectionHeader before;
  std::vector<std::pair<int, AltitudeState>> altitudes;
  std::vector<std::pair<int, WallState>> walls;

  // Nothing when the section is as it was.
  static bool Between(const SectionState& before, const TSection& after, SectionDelta& delta);
  void Restore(TSection& section) const;
  size_t Bytes() const;
};

// The track's own values. A section's Start follows the lengths before it except
// where it was set by name; those few are kept as they were, so that putting the
// lengths back and recomputing the starts gives every start back.
struct TrackScalars {
  int32_t Length = 0, WallTableSize = 0, SectionTableSize = 0;
  TRect Extent;
  std::vector<int32_t> Traces;
  std::vector<std::pair<int, int32_t>> startsSetByName;

  static TrackScalars Of(const TTrack& track);
  // Puts the values back and recomputes the starts; the sections must be back.
  void Restore(TTrack& track) const;
  size_t Bytes() const;
  friend bool operator==(const TrackScalars&, const TrackScalars&) = default;
};

template <typename T>
size_t VectorBytes(const std::vector<T>& v) {
  return v.capacity() * sizeof(T);
}

}  // namespace history
}  // namespace meridal
