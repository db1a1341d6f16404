#pragma once
// One change of a document, as the history keeps it: the values it altered,
// before and after, so that it can be taken back (Undo) and done again (Redo)
// by putting them in place; its name for the menus; the object to select
// afterwards; and the boxes of the plan it touched. A step keeps only what its
// change altered, so a long history of small edits stays small however large the
// track is. One small class for each kind of change makes its step (see
// value_step.h, values_step.h, section_steps.h, child_steps.h).
#include <cstddef>
#include <string>
#include <vector>

#include "history/track_patch.h"
#include "model/object_path.h"

namespace meridal {

class TTrack;

namespace history {

class TStep {
 public:
  TStep(std::string text, const TObjectPath& undoSelection, const TObjectPath& redoSelection)
      : text_(std::move(text)), undoSelection_(undoSelection), redoSelection_(redoSelection) {}
  virtual ~TStep() = default;
  TStep(const TStep&) = delete;
  TStep& operator=(const TStep&) = delete;

  // Each runs on the track exactly as the step left it (Undo) or found it (Redo),
  // and adds what it changed to `change`.
  void Undo(TTrack& track, TTrackChange& change) const { Apply(track, false, change); }
  void Redo(TTrack& track, TTrackChange& change) const { Apply(track, true, change); }
  // The object the step changed, to be selected after Undo and after Redo.
  const TObjectPath& UndoSelection() const { return undoSelection_; }
  const TObjectPath& RedoSelection() const { return redoSelection_; }
  // The other end of the run of sections selected with it, or -1: the selected
  // section alone.
  int UndoAnchor() const { return undoAnchor_; }
  int RedoAnchor() const { return redoAnchor_; }
  // Whether the change itself, when first made, selects what it made (a section
  // or a wall added, the one after a removed one); other changes keep the
  // selection where it was.
  bool SelectsWhenDone() const { return selectsWhenDone_; }
  // Memory the step holds, for the history's accounting and the benchmarks.
  size_t Bytes() const { return sizeof(*this) + HeapBytes(text_) + HeapBytes(boxes_) + HeldBytes(); }

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
  // What the change did, as the views are told after it was made.
  TTrackChange Made() const;

 protected:
  // The change shows inside this box (of a section before or after it).
  void Touched(const TRect& box) {
    local_ = true;
    boxes_.push_back(box);
  }
  // The change shows nowhere in the plan (a height profile, the track's length).
  void NothingDrawn() { local_ = true; }
  void SetRedoSelection(const TObjectPath& path) { redoSelection_ = path; }
  void SelectWhenDone() { selectsWhenDone_ = true; }
  void SetAnchors(int undoAnchor, int redoAnchor) {
    undoAnchor_ = undoAnchor;
    redoAnchor_ = redoAnchor;
  }

  // Takes the change back (forward false) or makes it again, and tells what it
  // did to the track; by default from the values the patch keeps. A step that
  // keeps its change otherwise says so in all three.
  virtual void ApplyChange(TTrack& track, bool forward, TTrackChange& change) const {
    patch_.Apply(track, forward, change);
  }
  virtual void DescribeChange(TTrackChange& change) const { patch_.Describe(true, change); }
  virtual size_t HeldBytes() const { return patch_.HeapBytes(); }

  TTrackPatch patch_;

 private:
  void Apply(TTrack& track, bool forward, TTrackChange& change) const;

  std::string text_;
  TObjectPath undoSelection_, redoSelection_;
  int undoAnchor_ = -1, redoAnchor_ = -1;
  std::vector<TRect> boxes_;
  bool local_ = false;
  bool selectsWhenDone_ = false;
};

}  // namespace history
}  // namespace meridal
