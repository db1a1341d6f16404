#pragma once
// What one change did to a track, kept as data both ways: the values before and
// after of every object it altered, and the sections it removed and inserted.
// Undo puts the "before" values back, Redo the "after" values; nothing is run
// again but the bookkeeping every change ends with (numbers, starts and record
// indices follow the lists). Cached geometry is kept too, doubles bit for bit.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "history/track_change.h"
#include "model/values.h"

namespace meridal {

class TSection;
class TTrack;

namespace history {

// A whole section: its kind, its values, its altitudes and walls.
struct SectionSnapshot {
  bool curved = false;
  SectionValues values;
  std::vector<AltitudeValues> altitudes;
  std::vector<WallValues> walls;

  static SectionSnapshot Of(const TSection& section);
  // A new section object of the recorded kind and values, numbered `number`,
  // owned by the track but not in its list.
  std::unique_ptr<TSection> Build(TTrack& track, int number) const;
  // Puts the altitudes' and walls' values into a section, the objects made anew
  // where there are not as many.
  void PutChildren(TSection& section) const;
  // Whether a section is of this kind and holds these values, its altitudes'
  // and walls' too.
  bool Matches(const TSection& section) const;
  friend bool operator==(const SectionSnapshot&, const SectionSnapshot&) = default;
};

// The track's own values. A section's Start follows the lengths before it except
// where it was set by name; those few are kept as they were, so that putting the
// lengths back and recomputing the starts gives every start back.
struct TrackState {
  TrackValues values;
  std::vector<std::pair<int, int32_t>> startsSetByName;

  static TrackState Of(const TTrack& track);
  // Puts the values back and recomputes the starts; the sections must be back.
  void Restore(TTrack& track) const;
  friend bool operator==(const TrackState&, const TrackState&) = default;
};

template <typename T>
struct Change {
  int section = 0, index = 0;
  T before, after;
};

class TTrackPatch {
 public:
  // ---- recording, while the change is made ----
  void SetTrack(TrackState before, TrackState after);
  // At `at`, these sections gave way to those.
  void AddSplice(int at, std::vector<SectionSnapshot> removed, std::vector<SectionSnapshot> inserted);
  // What changed in a section that kept its place and kind: its values, and those
  // of its altitudes and walls. The walls may have come and gone. False when
  // nothing did.
  bool AddSection(int section, const SectionSnapshot& before, const TSection& after);
  void AddAltitude(int section, int index, const AltitudeValues& before, const AltitudeValues& after);
  void AddExtent(int section, const TRect& before, const TRect& after);
  // A trace added (or removed) at `at`: each section's new (or removed) altitude.
  void SetTrace(int at, bool added, std::vector<AltitudeValues> altitudes);
  // Gives back the memory the vectors reserved but do not use (a list that
  // wastes less than a sixteenth of itself is kept as it is, not copied whole).
  void Shrink();
  bool Empty() const;

  // ---- taking it back and doing it again ----
  void Apply(TTrack& track, bool forward, TTrackChange& change) const;
  // What applying it would tell the views, without applying it.
  void Describe(bool forward, TTrackChange& change) const;
  size_t HeapBytes() const;

 private:
  void ApplySplice(TTrack& track, size_t i, bool forward) const;
  void ApplyTrace(TTrack& track, bool forward) const;

  TrackState before_, after_;
  struct Splice {
    int at = 0;
    std::vector<SectionSnapshot> removed, inserted;
  };
  std::vector<Splice> splices_;
  std::vector<Change<SectionValues>> sections_;  // index unused
  // Only the box changed (as when the traces' span changes): kept small.
  std::vector<Change<TRect>> extents_;
  std::vector<Change<AltitudeValues>> altitudes_;
  std::vector<Change<WallValues>> walls_;
  std::vector<Change<std::vector<WallValues>>> wallLists_;  // index unused
  int traceAt_ = -1;
  bool traceAdded_ = false;
  std::vector<AltitudeValues> traceAltitudes_;
};

// The memory a value holds beyond its own size: what the history's accounting
// and the benchmarks count for each step.
template <typename T>
size_t HeapBytes(const T&) {
  return 0;
}
size_t HeapBytes(const std::string& s);
size_t HeapBytes(const SectionSnapshot& s);
size_t HeapBytes(const TrackState& s);
template <typename T>
size_t HeapBytes(const std::vector<T>& v) {
  size_t bytes = v.capacity() * sizeof(T);
  for (const T& item : v) bytes += HeapBytes(item);
  return bytes;
}

template <typename T>
size_t HeapBytes(const Change<T>& c) {
  return HeapBytes(c.before) + HeapBytes(c.after);
}

}  // namespace history
}  // namespace meridal
