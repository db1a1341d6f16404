#pragma once
// Reverse Track and Mirror Track as history steps: the whole track made anew by
// a transform (see transform/track_transforms.h). Nearly every value changes, so
// keeping them all before and after would double the track in the history and
// take longer than the transform itself. The step keeps one side instead: the
// sections as the track had them before, while the step is done, and as the step
// made them, while it is undone. Undo and Redo swap the two, value by value in
// the objects that are there; a section that changes its kind (reversing puts
// arcs where straights were) is replaced whole and told to the views as a splice
// of one.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "history/step.h"
#include "transform/track_rewrite.h"

namespace meridal::history {

class TRewriteStep : public TStep {
 public:
  using Transform = std::optional<transform::TTrackRewrite> (*)(const TTrack&, std::string&);

 protected:
  TRewriteStep(std::string text, const TObjectPath& before, const TObjectPath& after, Transform transform)
      : TStep(std::move(text), before, after), transform_(transform) {}
  // Runs the transform on the track and puts the result in place; false, with the
  // reason and nothing changed, when it is refused.
  bool Make(TTrack& track, std::string& reason);

 private:
  void Apply(TTrack& track, bool forward, TTrackChange& change) const override;
  TTrackChange Made() const override { return made_; }
  size_t HeldBytes() const override;

  Transform transform_;
  // The side of the change the track does not have at the moment; Undo and Redo
  // trade it for the other, which is why it changes under a const step.
  mutable std::vector<SectionSnapshot> kept_;
  TrackState before_, after_;
  TTrackChange made_;
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
