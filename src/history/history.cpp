#include "history/history.h"

#include "edit/tree_steps.h"
#include "history/restore.h"
#include "model/track.h"

namespace meridal::history {

namespace {

// The object the step changed becomes the selected one, as after any edit.
void SelectChanged(TTrack& track, const TObjectPath& path) {
  if (TBase* object = Resolve(track, path)) edit::Select(edit::TreeOf(&track), *object);
}

}  // namespace

void THistory::Push(std::unique_ptr<TStep> step) {
  // The steps that were undone are gone, and so is a clean state among them.
  steps_.erase(steps_.begin() + static_cast<long>(index_), steps_.end());
  if (clean_ > static_cast<long>(index_)) clean_ = -1;
  steps_.push_back(std::move(step));
  index_ = steps_.size();
  if (steps_.size() > limit_) {
    const size_t drop = steps_.size() - limit_;
    steps_.erase(steps_.begin(), steps_.begin() + static_cast<long>(drop));
    index_ -= drop;
    clean_ = clean_ >= static_cast<long>(drop) ? clean_ - static_cast<long>(drop) : -1;
  }
}

const TStep* THistory::Undo(TTrack& track) {
  if (!CanUndo()) return nullptr;
  TStep* step = steps_[--index_].get();
  step->Undo(track);  // puts the track's extent back as well
  ClampSelections(track);
  SelectChanged(track, step->UndoSelection());
  return step;
}

const TStep* THistory::Redo(TTrack& track) {
  if (!CanRedo()) return nullptr;
  TStep* step = steps_[index_++].get();
  step->Redo(track);
  track.UpdateExtent();  // as after the change itself
  SelectChanged(track, step->RedoSelection());
  return step;
}

const TStep* THistory::GoTo(TTrack& track, size_t index) {
  const TStep* last = nullptr;
  while (index_ > index && CanUndo()) last = Undo(track);
  while (index_ < index && CanRedo()) last = Redo(track);
  return last;
}

void THistory::Clear() {
  steps_.clear();
  index_ = 0;
  clean_ = 0;
}

size_t THistory::Bytes() const {
  size_t bytes = sizeof(*this) + steps_.capacity() * sizeof(steps_[0]);
  for (const auto& step : steps_) bytes += step->Bytes();
  return bytes;
}

}  // namespace meridal::history
