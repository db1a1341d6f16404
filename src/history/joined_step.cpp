#include "history/joined_step.h"

#include "edit/track_edits.h"
#include "history/swap_step.h"
#include "model/track.h"

namespace meridal::history {

namespace {

constexpr size_t kMostBoxes = 16;

}  // namespace

TJoinedStep::TJoinedStep(std::unique_ptr<TStep> inner)
    : TStep(inner->Text(), inner->UndoSelection(), inner->RedoSelection()), inner_(std::move(inner)) {
  SetAnchors(inner_->UndoAnchor(), inner_->RedoAnchor());
  if (inner_->SelectsWhenDone()) SelectWhenDone();
}

std::unique_ptr<TStep> TJoinedStep::Join(TTrack& track, std::unique_ptr<TStep> inner, int first) {
  const int count = track.NumberOfSections();
  if (!inner || first <= 0 || first >= count) return inner;
  TrackState before = TrackState::Of(track);
  std::vector<SectionSnapshot> kept;
  kept.reserve(static_cast<size_t>(count - first));
  std::vector<int> placed;
  int last = first - 1;  // the last section placed anew
  for (int s = first; s < count; ++s) {
    TSection& section = *track.Section(s);
    kept.push_back(SectionSnapshot::Of(section));
    if (!edit::JoinToPrevious(section)) {
      // Put back what was placed, then the change itself.
      for (size_t i = 0; i < kept.size(); ++i) {
        TSection& back = *track.Section(first + static_cast<int>(i));
        back.Values() = kept[i].values;
        kept[i].PutChildren(back);
      }
      before.Restore(track);
      TTrackChange undone;
      inner->Undo(track, undone);
      return nullptr;
    }
    if (!kept.back().Matches(section)) {
      placed.push_back(s);
      last = s;
    }
  }
  if (placed.empty()) return inner;
  kept.resize(static_cast<size_t>(last - first + 1));
  track.UpdateExtent();

  std::unique_ptr<TJoinedStep> step(new TJoinedStep(std::move(inner)));
  // A few sections placed are drawn again where they were and are; more than
  // that, and the plan is drawn anew.
  std::vector<TRect> boxes;
  if (step->inner_->DrawnWithin(boxes) && boxes.size() + 2 * kept.size() <= kMostBoxes) {
    for (const TRect& box : boxes) step->Touched(box);
    for (size_t i = 0; i < kept.size(); ++i) {
      step->Touched(kept[i].values.Extent);
      step->Touched(track.Section(first + static_cast<int>(i))->Extent);
    }
  }
  step->first_ = first;
  step->kept_ = std::move(kept);
  step->before_ = std::move(before);
  step->after_ = TrackState::Of(track);
  step->placed_ = std::move(placed);
  return step;
}

void TJoinedStep::ApplyChange(TTrack& track, bool forward, TTrackChange& change) const {
  TTrackChange swapped;
  if (forward) {
    inner_->Redo(track, change);
    SwapSections(track, first_, kept_, swapped);
    after_.Restore(track);
  } else {
    SwapSections(track, first_, kept_, swapped);
    before_.Restore(track);
    inner_->Undo(track, change);
  }
  for (int s : placed_) change.Touch(s);
  change.trackValues = true;
}

void TJoinedStep::DescribeChange(TTrackChange& change) const {
  change = inner_->Made();
  for (int s : placed_) change.Touch(s);
  change.trackValues = true;
}

size_t TJoinedStep::HeldBytes() const {
  return inner_->Bytes() + HeapBytes(kept_) + HeapBytes(before_) + HeapBytes(after_) + HeapBytes(placed_);
}

}  // namespace meridal::history
