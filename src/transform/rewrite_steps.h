#pragma once
// Reverse Track and Mirror Track as history steps: the whole track made anew by
// a transform (see transform/track_transforms.h). The step keeps what changed of
// every section, as values before and after; a section that changes its kind
// (reversing puts arcs where straights were) is kept whole, as a splice of one.
#include <memory>
#include <string>

#include "history/step.h"

namespace meridal::history {

class TReverseTrackStep : public TStep {
 public:
  // Refused (nullptr, nothing changed) with the reason. A selected section stays
  // selected in its new place.
  static std::unique_ptr<TReverseTrackStep> Do(TTrack& track, const TObjectPath& selection, std::string& reason);

 private:
  TReverseTrackStep(const TObjectPath& before, const TObjectPath& after);
};

class TMirrorTrackStep : public TStep {
 public:
  static std::unique_ptr<TMirrorTrackStep> Do(TTrack& track, const TObjectPath& selection, std::string& reason);

 private:
  explicit TMirrorTrackStep(const TObjectPath& selection);
};

}  // namespace meridal::history
