#pragma once
// One change of a document, as the history keeps it: it can be taken back (Undo)
// and done again (Redo), it names itself for the menus, and it says which object
// to select afterwards. A step keeps only what its change altered, so that a long
// history of small edits stays small however large the track is.
#include <cstddef>
#include <string>
#include <vector>

#include "model/base.h"  // TRect
#include "model/object_path.h"

namespace meridal {

class TTrack;

namespace history {

class TStep {
 public:
  explicit TStep(std::string text) : text_(std::move(text)) {}
  virtual ~TStep() = default;
  TStep(const TStep&) = delete;
  TStep& operator=(const TStep&) = delete;

  // Each runs on the track exactly as the step left it (Undo) or found it (Redo),
  // and keeps the track's tree in step.
  virtual void Undo(TTrack& track) = 0;
  virtual void Redo(TTrack& track) = 0;
  // The object the step changed, to be selected after Undo and after Redo.
  virtual TObjectPath UndoSelection() const = 0;
  virtual TObjectPath RedoSelection() const { return UndoSelection(); }
  // Memory the step holds, for the history's accounting and the benchmarks.
  virtual size_t Bytes() const = 0;

  // "Set Length of Section 3", "Remove Section 3", "Add Trace after Trace 1".
  const std::string& Text() const { return text_; }

  // The boxes of the plan the change touched, as they were before it and as they
  // are after it: the drawing needs to be done again there alone, whichever way
  // the step goes. False when the change may show anywhere.
  bool DrawnWithin(std::vector<TRect>& boxes) const {
    if (!local_) return false;
    boxes = boxes_;
    return true;
  }

 protected:
  size_t TextBytes() const { return text_.capacity() > 15 ? text_.capacity() + 1 : 0; }
  size_t BoxBytes() const { return boxes_.capacity() * sizeof(TRect); }
  // The change shows inside this box (of a section before or after it).
  void Touched(const TRect& box) {
    local_ = true;
    boxes_.push_back(box);
  }
  // The change shows nowhere in the plan (a height profile, the track's length).
  void NothingDrawn() { local_ = true; }

 private:
  std::string text_;
  std::vector<TRect> boxes_;
  bool local_ = false;
};

}  // namespace history
}  // namespace meridal
