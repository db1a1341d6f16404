#pragma once
// The history steps of shaping by hand: a drag that changed a section (and the
// later sections that followed it), and a section drawn after another. Both are
// made after the change is on the track, from what it was before.
#include <memory>
#include <string>
#include <vector>

#include "history/swap_step.h"

namespace meridal::shape {

// A drag keeps the sections as they were and swaps them on Undo and Redo: with
// the later sections kept joined, it changes thousands of them at once.
class TShapeStep : public history::TSwapStep {
 public:
  // Sections `first` onwards changed from `before` (one snapshot each, in
  // order); the track's own values from `trackBefore`. nullptr when nothing
  // changed. `section` is selected after an undo and a redo.
  static std::unique_ptr<TShapeStep> Changed(std::string text, int section, const TTrack& track, int first,
                                             std::vector<history::SectionSnapshot> before,
                                             history::TrackState trackBefore);

 private:
  using TSwapStep::TSwapStep;
};

class TDrawStep : public history::TStep {
 public:
  // A section inserted at `at` (nothing else changed), selected after a redo.
  static std::unique_ptr<TDrawStep> Inserted(std::string text, const TTrack& track, int at,
                                             history::TrackState trackBefore);

 private:
  using TStep::TStep;
};

}  // namespace meridal::shape
