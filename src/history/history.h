#pragma once
// THistory: the steps of one document in order, the current position among them
// and the position at which the document was last saved or opened. Undo takes
// back the step before the position, Redo does the one after it again; a new step
// after an undo drops the steps that were undone. The document is modified exactly
// when the position is not the clean one.
//
// The history keeps at most a number of steps and a number of bytes; beyond
// either, the oldest steps are forgotten. A document whose saved position was
// forgotten stays modified until it is saved again.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "history/step.h"

namespace meridal {

class TTrack;

namespace history {

class THistory {
 public:
  static constexpr size_t kDefaultLimit = 1000;
  static constexpr size_t kDefaultByteLimit = size_t{256} << 20;
  explicit THistory(size_t limit = kDefaultLimit, size_t byteLimit = kDefaultByteLimit)
      : limit_(limit < 1 ? 1 : limit), byteLimit_(byteLimit) {}

  // A step that has just been done on the document.
  void Push(std::unique_ptr<TStep> step);

  bool CanUndo() const { return index_ > 0; }
  bool CanRedo() const { return index_ < steps_.size(); }
  // The step taken back or done again (what it changed added to `change`), or
  // nullptr when there is none.
  const TStep* Undo(TTrack& track, TTrackChange& change);
  const TStep* Redo(TTrack& track, TTrackChange& change);

  size_t Count() const { return steps_.size(); }
  // How many steps are done: the steps before the position.
  size_t Index() const { return index_; }
  const TStep& Step(size_t i) const { return *steps_[i]; }
  // The texts for the menus: "Undo Set Length of Section 3" names the step.
  std::string UndoText() const { return CanUndo() ? steps_[index_ - 1]->Text() : std::string(); }
  std::string RedoText() const { return CanRedo() ? steps_[index_]->Text() : std::string(); }

  // The document is saved (or was just opened) as it stands.
  void SetClean() { clean_ = static_cast<long>(index_); }
  // A document that matches no file, as an import gives: modified at every position.
  void SetNeverClean() { clean_ = -1; }
  bool IsClean() const { return clean_ == static_cast<long>(index_); }
  // The position of the clean state, or -1 when no position is clean.
  long CleanIndex() const { return clean_; }
  // How many of the oldest steps were forgotten to keep within the limits.
  size_t Dropped() const { return dropped_; }
  void SetLimits(size_t limit, size_t byteLimit);

  // An empty history (New, Open): nothing to undo, and clean.
  void Clear();
  size_t Bytes() const;

 private:
  void Trim();

  std::vector<std::unique_ptr<TStep>> steps_;
  size_t index_ = 0;
  long clean_ = 0;
  size_t limit_;
  size_t byteLimit_;
  size_t stepBytes_ = 0;  // the steps' own Bytes(), summed
  size_t dropped_ = 0;
};

}  // namespace history
}  // namespace meridal
