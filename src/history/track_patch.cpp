#include "history/track_patch.h"

#include <algorithm>

#include "model/curved_section.h"
#include "model/numbers.h"
#include "model/straight_section.h"
#include "model/track.h"

namespace meridal {

namespace {

void InsertSorted(std::vector<int>& list, int value) {
  const auto at = std::lower_bound(list.begin(), list.end(), value);
  if (at == list.end() || *at != value) list.insert(at, value);
}

}  // namespace

void TTrackChange::Touch(int section) { InsertSorted(sections, section); }
void TTrackChange::TouchWalls(int section) { InsertSorted(wallLists, section); }

namespace history {

// ---- snapshots ----

SectionSnapshot SectionSnapshot::Of(const TSection& s) {
  SectionSnapshot snapshot;
  snapshot.curved = dynamic_cast<const TCurvedSection*>(&s) != nullptr;
  snapshot.values = s.Values();
  snapshot.altitudes.reserve(s.Altitudes.size());
  for (const auto& a : s.Altitudes) snapshot.altitudes.push_back(a->Values());
  snapshot.walls.reserve(s.Walls.size());
  for (const auto& w : s.Walls) snapshot.walls.push_back(w->Values());
  return snapshot;
}

namespace {

void SetWalls(TSection& section, const std::vector<WallValues>& walls) {
  if (section.Walls.size() == walls.size()) {
    for (size_t k = 0; k < walls.size(); ++k) section.Walls[k]->Values() = walls[k];
    return;
  }
  section.Walls.clear();
  section.Walls.reserve(walls.size());
  for (const WallValues& values : walls) {
    auto wall = std::make_unique<TWall>(&section);
    wall->Values() = values;
    wall->Number = section.NumberOfWalls();
    section.Walls.push_back(std::move(wall));
  }
}

}  // namespace

std::unique_ptr<TSection> SectionSnapshot::Build(TTrack& track, int number) const {
  std::unique_ptr<TSection> section;
  if (curved) section = std::make_unique<TCurvedSection>(&track);
  else section = std::make_unique<TStraightSection>(&track);
  section->Values() = values;
  section->Number = number;
  PutChildren(*section);
  return section;
}

void SectionSnapshot::PutChildren(TSection& section) const {
  if (section.Altitudes.size() == altitudes.size()) {
    for (size_t i = 0; i < altitudes.size(); ++i) section.Altitudes[i]->Values() = altitudes[i];
  } else {
    section.Altitudes.clear();
    section.Altitudes.reserve(altitudes.size());
    for (size_t i = 0; i < altitudes.size(); ++i) {
      auto altitude = std::make_unique<TAltitude>(&section);
      altitude->Values() = altitudes[i];
      altitude->Number = static_cast<int32_t>(i);
      section.Altitudes.push_back(std::move(altitude));
    }
  }
  SetWalls(section, walls);
}

bool SectionSnapshot::Matches(const TSection& section) const {
  if (section.IsCurved() != curved || !(section.Values() == values) || section.Altitudes.size() != altitudes.size() ||
      section.Walls.size() != walls.size())
    return false;
  for (size_t i = 0; i < altitudes.size(); ++i)
    if (!(section.Altitudes[i]->Values() == altitudes[i])) return false;
  for (size_t k = 0; k < walls.size(); ++k)
    if (!(section.Walls[k]->Values() == walls[k])) return false;
  return true;
}

TrackState TrackState::Of(const TTrack& track) {
  TrackState state;
  state.values = track.Values();
  int32_t start = 0;
  for (int i = 0; i < track.NumberOfSections(); ++i) {
    const TSection* section = track.Section(i);
    if (section->Start != start) state.startsSetByName.emplace_back(i, section->Start);
    start = wrapAdd(start, section->Length);
  }
  return state;
}

void TrackState::Restore(TTrack& track) const {
  track.RecomputeStarts();
  for (const auto& [i, start] : startsSetByName)
    if (i < track.NumberOfSections()) track.Section(i)->Start = start;
  track.Values() = values;
}

// ---- recording ----

void TTrackPatch::SetTrack(TrackState before, TrackState after) {
  before_ = std::move(before);
  after_ = std::move(after);
}

void TTrackPatch::AddSplice(int at, std::vector<SectionSnapshot> removed, std::vector<SectionSnapshot> inserted) {
  splices_.push_back({at, std::move(removed), std::move(inserted)});
}

bool TTrackPatch::AddSection(int section, const SectionSnapshot& before, const TSection& after) {
  const size_t count = sections_.size() + extents_.size() + altitudes_.size() + walls_.size() + wallLists_.size();
  const SectionValues& values = after.Values();
  if (!(before.values == values)) {
    // A box of its own is all a change of the traces' span does to most sections.
    SectionValues boxed = before.values;
    boxed.Extent = values.Extent;
    if (boxed == values) extents_.push_back({section, 0, before.values.Extent, values.Extent});
    else sections_.push_back({section, 0, before.values, values});
  }
  const size_t altitudes = std::min(before.altitudes.size(), after.Altitudes.size());
  for (size_t i = 0; i < altitudes; ++i)
    AddAltitude(section, static_cast<int>(i), before.altitudes[i], after.Altitudes[i]->Values());
  if (before.walls.size() != after.Walls.size()) {
    // Walls that came or went are kept as whole lists.
    std::vector<WallValues> walls;
    walls.reserve(after.Walls.size());
    for (const auto& wall : after.Walls) walls.push_back(wall->Values());
    wallLists_.push_back({section, 0, before.walls, std::move(walls)});
  } else {
    for (size_t k = 0; k < before.walls.size(); ++k)
      if (!(before.walls[k] == after.Walls[k]->Values()))
        walls_.push_back({section, static_cast<int>(k), before.walls[k], after.Walls[k]->Values()});
  }
  return sections_.size() + extents_.size() + altitudes_.size() + walls_.size() + wallLists_.size() != count;
}

void TTrackPatch::AddAltitude(int section, int index, const AltitudeValues& before, const AltitudeValues& after) {
  if (!(before == after)) altitudes_.push_back({section, index, before, after});
}

void TTrackPatch::AddExtent(int section, const TRect& before, const TRect& after) {
  if (!(before == after)) extents_.push_back({section, 0, before, after});
}

void TTrackPatch::SetTrace(int at, bool added, std::vector<AltitudeValues> altitudes) {
  traceAt_ = at;
  traceAdded_ = added;
  traceAltitudes_ = std::move(altitudes);
}

namespace {

template <typename T>
void ShrinkList(std::vector<T>& list) {
  if (list.capacity() - list.size() > list.size() / 16) list.shrink_to_fit();
}

}  // namespace

void TTrackPatch::Shrink() {
  ShrinkList(sections_);
  ShrinkList(extents_);
  ShrinkList(altitudes_);
  ShrinkList(walls_);
  ShrinkList(wallLists_);
}

bool TTrackPatch::Empty() const {
  return before_ == after_ && splices_.empty() && sections_.empty() && extents_.empty() && altitudes_.empty() &&
         walls_.empty() && wallLists_.empty() && traceAt_ < 0;
}

// ---- applying ----

void TTrackPatch::ApplySplice(TTrack& track, size_t i, bool forward) const {
  const Splice& splice = splices_[i];
  const auto& out = forward ? splice.removed : splice.inserted;
  const auto& in = forward ? splice.inserted : splice.removed;
  auto& sections = track.Sections;
  const auto at = sections.begin() + splice.at;
  sections.erase(at, at + static_cast<long>(out.size()));
  std::vector<std::unique_ptr<TSection>> made;
  made.reserve(in.size());
  for (size_t k = 0; k < in.size(); ++k) made.push_back(in[k].Build(track, splice.at + static_cast<int>(k)));
  sections.insert(sections.begin() + splice.at, std::make_move_iterator(made.begin()),
                  std::make_move_iterator(made.end()));
}

void TTrackPatch::ApplyTrace(TTrack& track, bool forward) const {
  const bool insert = forward == traceAdded_;
  for (size_t s = 0; s < track.Sections.size() && s < traceAltitudes_.size(); ++s) {
    TSection& section = *track.Sections[s];
    auto& list = section.Altitudes;
    if (insert) {
      if (traceAt_ > section.NumberOfAltitudes()) continue;
      auto altitude = std::make_unique<TAltitude>(&section);
      altitude->Values() = traceAltitudes_[s];
      list.insert(list.begin() + traceAt_, std::move(altitude));
    } else {
      if (traceAt_ >= section.NumberOfAltitudes()) continue;
      list.erase(list.begin() + traceAt_);
    }
    for (int i = traceAt_; i < section.NumberOfAltitudes(); ++i) section.Altitude(i)->Number = i;
  }
}

void TTrackPatch::Apply(TTrack& track, bool forward, TTrackChange& change) const {
  const auto section = [&](int s) -> TSection* { return s < track.NumberOfSections() ? track.Section(s) : nullptr; };
  const auto pick = [forward](const auto& c) -> const auto& { return forward ? c.after : c.before; };
  if (forward) {
    if (traceAt_ >= 0) ApplyTrace(track, true);
    for (size_t i = 0; i < splices_.size(); ++i) ApplySplice(track, i, true);
  }
  for (const auto& c : wallLists_)
    if (TSection* s = section(c.section)) SetWalls(*s, pick(c));
  for (const auto& c : sections_)
    if (TSection* s = section(c.section)) s->Values() = pick(c);
  for (const auto& c : extents_)
    if (TSection* s = section(c.section)) s->Extent = pick(c);
  for (const auto& c : altitudes_)
    if (TSection* s = section(c.section); s && c.index < s->NumberOfAltitudes()) s->Altitude(c.index)->Values() = pick(c);
  for (const auto& c : walls_)
    if (TSection* s = section(c.section); s && c.index < s->NumberOfWalls()) s->Wall(c.index)->Values() = pick(c);
  if (!forward) {
    for (size_t i = splices_.size(); i-- > 0;) ApplySplice(track, i, false);
    if (traceAt_ >= 0) ApplyTrace(track, false);
  }
  // The lists are as they were: numbers and record indices follow them.
  const bool structural = !splices_.empty() || !wallLists_.empty() || traceAt_ >= 0;
  const TrackState& state = forward ? after_ : before_;
  if (structural) {
    track.RenumberSections();
    track.Traces = state.values.Traces;  // the altitudes' record indices count them
    track.RecomputeRecordIndices();
  }
  state.Restore(track);
  Describe(forward, change);
}

void TTrackPatch::Describe(bool forward, TTrackChange& change) const {
  for (const Splice& s : splices_) {
    const int removed = static_cast<int>(forward ? s.removed.size() : s.inserted.size());
    const int inserted = static_cast<int>(forward ? s.inserted.size() : s.removed.size());
    change.splices.push_back({s.at, removed, inserted});
  }
  if (!forward) std::reverse(change.splices.end() - static_cast<long>(splices_.size()), change.splices.end());
  for (const auto& c : sections_) change.Touch(c.section);
  for (const auto& c : extents_) change.Touch(c.section);
  for (const auto& c : altitudes_) change.Touch(c.section);
  for (const auto& c : walls_) change.Touch(c.section);
  for (const auto& c : wallLists_) change.TouchWalls(c.section);
  if (traceAt_ >= 0) {
    change.traceAt = traceAt_;
    change.traceAdded = forward == traceAdded_;
  }
  if (!(before_.values.Traces == after_.values.Traces)) change.traces = true;
  if (!(before_ == after_)) change.trackValues = true;
}

// ---- memory ----

size_t HeapBytes(const std::string& s) { return s.capacity() > 15 ? s.capacity() + 1 : 0; }
size_t HeapBytes(const SectionSnapshot& s) { return HeapBytes(s.altitudes) + HeapBytes(s.walls); }
size_t HeapBytes(const TrackState& s) { return HeapBytes(s.values.Traces) + HeapBytes(s.startsSetByName); }

size_t TTrackPatch::HeapBytes() const {
  size_t bytes = history::HeapBytes(before_) + history::HeapBytes(after_) + history::HeapBytes(sections_) +
                 history::HeapBytes(extents_) + history::HeapBytes(altitudes_) + history::HeapBytes(walls_) +
                 history::HeapBytes(wallLists_) + history::HeapBytes(traceAltitudes_) +
                 splices_.capacity() * sizeof(Splice);
  for (const Splice& s : splices_) bytes += history::HeapBytes(s.removed) + history::HeapBytes(s.inserted);
  return bytes;
}

}  // namespace history
}  // namespace meridal
