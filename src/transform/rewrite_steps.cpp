#include "transform/rewrite_steps.h"

#include <utility>

#include "model/track.h"
#include "transform/track_transforms.h"

namespace meridal::history {

namespace {

// The selection after a reverse: the same object in the section's new place.
TObjectPath ReversedPath(const TObjectPath& path, int sections) {
  if (path.kind == TObjectPath::Kind::Track || path.section < 0) return path;
  return TObjectPath::Section(sections - 1 - path.section);
}

}  // namespace

// ---- the whole track rewritten ----

bool TRewriteStep::Make(TTrack& track, Transform transform, std::string& reason) {
  auto rewrite = transform(track, reason);
  if (!rewrite) return false;
  TrackState before = TrackState::Of(track);
  std::vector<SectionSnapshot> sections = std::move(rewrite->sections);
  track.Traces = std::move(rewrite->traces);
  TTrackChange made;
  SwapSections(track, 0, sections, made);
  // The geometry each section derives from its values, worked out again as after
  // reading a file; so are the starts and the record indices.
  for (int s = 0; s < track.NumberOfSections(); ++s) {
    TSection& section = *track.Section(s);
    section.Number = s;
    section.RecomputeExportWords();
    section.RecomputeDerived();
  }
  track.RecomputeRecordIndices();
  track.RecomputeStarts();
  track.UpdateExtent();
  Keep(0, std::move(sections), std::move(before), track, std::move(made));
  return true;
}

// ---- reverse ----

TReverseTrackStep::TReverseTrackStep(const TObjectPath& before, const TObjectPath& after)
    : TRewriteStep("Reverse Track", before, after) {
  SelectWhenDone();
}

std::unique_ptr<TReverseTrackStep> TReverseTrackStep::Do(TTrack& track, const TObjectPath& selection,
                                                         std::string& reason) {
  std::unique_ptr<TReverseTrackStep> step(
      new TReverseTrackStep(selection, ReversedPath(selection, track.NumberOfSections())));
  if (!step->Make(track, transform::ReversedTrack, reason)) return nullptr;
  return step;
}

// ---- mirror ----

TMirrorTrackStep::TMirrorTrackStep(const TObjectPath& selection)
    : TRewriteStep("Mirror Track", selection, selection) {}

std::unique_ptr<TMirrorTrackStep> TMirrorTrackStep::Do(TTrack& track, const TObjectPath& selection,
                                                       std::string& reason) {
  std::unique_ptr<TMirrorTrackStep> step(new TMirrorTrackStep(selection));
  if (!step->Make(track, transform::MirroredTrack, reason)) return nullptr;
  return step;
}

}  // namespace meridal::history
