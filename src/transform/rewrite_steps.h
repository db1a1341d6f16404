#pragma once
// Reverse Track and Mirror Track as history steps: the whole track made anew by
// a transform (see transform/track_transforms.h). Nearly every value changes:
// the step keeps the sections on one side of the change and swaps them on Undo
// and Redo (see history/swap_step.h). A section that changes its kind (reversing
// puts arcs where straights were) is told to the views as a splice of one.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "history/swap_step.h"
#include "transform/track_rewrite.h"

namespace meridal::history {

class TRewriteStep : public TSwapStep {
 public:
  using Transform = std::optional<transform::TTrackRewrite> (*)(const TTrack&, std::string&);

 protected:
  using TSwapStep::TSwapStep;
  // Runs the transform on the track and puts the result in place; false, with the
  // reason and nothing changed, when it is refused.
  bool Make(TTrack& track, Transform transform, std::string& reason);
};

class TReverseTrackStep : public TRewriteStep {
 public:
  // Refused (nullptr, nothing changed) with the reason. A selected section stays
  // selected in its new place.
  static std::unique_ptr<TReverseTrackStep> Do(TTrack& track, const TObjectPath& selection, std::string& reason);

 private:
  TReverseTrackStep(const TObjectPath& before, const TObjectPath& after);
};

class TMirrorTrackStep : public TRewriteStep {
 public:
  static std::unique_ptr<TMirrorTrackStep> Do(TTrack& track, const TObjectPath& selection, std::string& reason);

 private:
  explicit TMirrorTrackStep(const TObjectPath& selection);
};

}  // namespace meridal::history
