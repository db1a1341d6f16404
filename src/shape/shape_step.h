#pragma once
// The history steps of shaping by hand: a drag that changed a section (and the
// later sections that followed it), and a section drawn after another. Both are
// made after the change is on the track, from what it was before.
#include <memory>
#include <string>
#include <vector>

#include "history/step.h"

namespace meridal::shape {

class TShapeStep : public history::TStep {
 public:
  // Sections `first` onwards changed from `before` (one snapshot each, in
  // order); the track's own values from `trackBefore`. nullptr when nothing
  // changed. `section` is selected after an undo and a redo.
  static std::unique_ptr<TShapeStep> Changed(std::string text, int section, const TTrack& track, int first,
                                             const std::vector<history::SectionSnapshot>& before,
                                             history::TrackState trackBefore);
  // A section inserted at `at` (nothing else changed), selected after a redo.
  static std::unique_ptr<TShapeStep> Inserted(std::string text, const TTrack& track, int at,
                                              history::TrackState trackBefore);

 private:
  TShapeStep(std::string text, const TObjectPath& undo, const TObjectPath& redo) : TStep(std::move(text), undo, redo) {}
};

}  // namespace meridal::shape
