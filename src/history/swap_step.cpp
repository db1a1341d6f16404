#include "history/swap_step.h"

#include <utility>

#include "model/track.h"

namespace meridal::history {

void TSwapStep::Keep(int first, std::vector<SectionSnapshot> before, TrackState trackBefore, const TTrack& track,
                     TTrackChange made) {
  first_ = first;
  kept_ = std::move(before);
  before_ = std::move(trackBefore);
  after_ = TrackState::Of(track);
  made_ = std::move(made);
  made_.traces = !(before_.values.Traces == after_.values.Traces);
  made_.trackValues = !(before_ == after_);
}

void TSwapStep::ApplyChange(TTrack& track, bool forward, TTrackChange& change) const {
  TTrackChange swapped;
  SwapSections(track, first_, kept_, swapped);
  (forward ? after_ : before_).Restore(track);
  change = made_;
}

size_t TSwapStep::HeldBytes() const {
  return HeapBytes(kept_) + HeapBytes(before_) + HeapBytes(after_) + HeapBytes(made_.splices) +
         HeapBytes(made_.sections) + HeapBytes(made_.wallLists);
}

void SwapSections(TTrack& track, int first, std::vector<SectionSnapshot>& kept, TTrackChange& change) {
  for (size_t i = 0; i < kept.size() && first + static_cast<int>(i) < track.NumberOfSections(); ++i) {
    const int s = first + static_cast<int>(i);
    SectionSnapshot& other = kept[i];
    TSection& section = *track.Section(s);
    if (section.IsCurved() != other.curved) {
      std::unique_ptr<TSection> made = other.Build(track, s);
      other = SectionSnapshot::Of(section);
      track.Sections[static_cast<size_t>(s)] = std::move(made);
      change.splices.push_back({s, 1, 1});
      continue;
    }
    std::swap(section.Values(), other.values);
    if (section.Altitudes.size() == other.altitudes.size() && section.Walls.size() == other.walls.size()) {
      for (size_t a = 0; a < other.altitudes.size(); ++a) std::swap(section.Altitudes[a]->Values(), other.altitudes[a]);
      for (size_t k = 0; k < other.walls.size(); ++k) std::swap(section.Walls[k]->Values(), other.walls[k]);
    } else {
      SectionSnapshot was = SectionSnapshot::Of(section);
      other.PutChildren(section);
      if (was.walls.size() != other.walls.size()) change.TouchWalls(s);
      other.altitudes = std::move(was.altitudes);
      other.walls = std::move(was.walls);
    }
    change.Touch(s);
  }
}

}  // namespace meridal::history
