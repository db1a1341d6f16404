#pragma once
// A step that keeps one side of its change rather than both: a run of sections
// as the track does not have them at the moment (as they were before the step
// while it is done, as the step made them while it is undone), and the track's
// own values either side. Undo and Redo swap the kept sections with the track's,
// value by value in the objects that are there. It serves changes of thousands
// of sections at once (a whole track reversed, the sections after a dragged one
// moved with it), where keeping every value before and after would double them
// in the history and take longer than the change itself.
#include <vector>

#include "history/step.h"

namespace meridal::history {

class TSwapStep : public TStep {
 protected:
  using TStep::TStep;
  // The change is made: the track's sections from `first` on were `before`, and
  // its own values `trackBefore`; `made` says which sections changed and how.
  void Keep(int first, std::vector<SectionSnapshot> before, TrackState trackBefore, const TTrack& track,
            TTrackChange made);

 private:
  void ApplyChange(TTrack& track, bool forward, TTrackChange& change) const override;
  void DescribeChange(TTrackChange& change) const override { change = made_; }
  size_t HeldBytes() const override;

  int first_ = 0;
  // Undo and Redo trade the kept side for the track's, which is why it changes
  // under a const step.
  mutable std::vector<SectionSnapshot> kept_;
  TrackState before_, after_;
  TTrackChange made_;
};

// Swaps the track's sections from `first` on with `kept`, each in the object
// that is there: a section of the other kind is replaced whole (and told in
// `change` as a splice of one), and one whose walls came or went has them made
// again. Afterwards the track has what was kept, and `kept` what the track had.
void SwapSections(TTrack& track, int first, std::vector<SectionSnapshot>& kept, TTrackChange& change);

}  // namespace meridal::history
