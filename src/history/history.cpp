#include "history/history.h"

#include "model/track.h"

namespace meridal::history {

void THistory::Push(std::unique_ptr<TStep> step) {
  // The steps that were undone are gone, and so is a clean state among them.
  for (size_t i = index_; i < steps_.size(); ++i) stepBytes_ -= steps_[i]->Bytes();
  steps_.erase(steps_.begin() + static_cast<long>(index_), steps_.end());
  if (clean_ > static_cast<long>(index_)) clean_ = -1;
  stepBytes_ += step->Bytes();
  steps_.push_back(std::move(step));
  index_ = steps_.size();
  Trim();
}

void THistory::Trim() {
  // The newest step always stays, however large: it is what the user just did.
  // Only steps before the position go: those after it are the way forward (a
  // lower limit set while steps are undone must not cut the redo off midway).
  size_t drop = 0;
  size_t bytes = stepBytes_;
  while (drop < index_ && steps_.size() - drop > 1 && (steps_.size() - drop > limit_ || bytes > byteLimit_))
    bytes -= steps_[drop++]->Bytes();
  if (drop == 0) return;
  steps_.erase(steps_.begin(), steps_.begin() + static_cast<long>(drop));
  stepBytes_ = bytes;
  index_ = index_ >= drop ? index_ - drop : 0;
  clean_ = clean_ >= static_cast<long>(drop) ? clean_ - static_cast<long>(drop) : -1;
  dropped_ += drop;
}

void THistory::SetLimits(size_t limit, size_t byteLimit) {
  limit_ = limit < 1 ? 1 : limit;
  byteLimit_ = byteLimit;
  Trim();
}

const TStep* THistory::Undo(TTrack& track, TTrackChange& change) {
  if (!CanUndo()) return nullptr;
  const TStep* step = steps_[--index_].get();
  step->Undo(track, change);
  return step;
}

const TStep* THistory::Redo(TTrack& track, TTrackChange& change) {
  if (!CanRedo()) return nullptr;
  const TStep* step = steps_[index_++].get();
  step->Redo(track, change);
  return step;
}

void THistory::Clear() {
  steps_.clear();
  index_ = 0;
  clean_ = 0;
  stepBytes_ = 0;
  dropped_ = 0;
}

size_t THistory::Bytes() const { return sizeof(*this) + steps_.capacity() * sizeof(steps_[0]) + stepBytes_; }

}  // namespace meridal::history
