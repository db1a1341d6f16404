#include "transform/rewrite_steps.h"

#include <utility>

#include "model/track.h"
#include "transform/track_transforms.h"

namespace meridal::history {

namespace {

void PutWalls(TSection& section, const std::vector<WallValues>& walls) {
  if (section.Walls.size() != walls.size()) {
    section.Walls.clear();
    for (size_t k = 0; k < walls.size(); ++k) {
      section.Walls.push_back(std::make_unique<TWall>(&section));
      section.Walls.back()->Number = static_cast<int32_t>(k);
    }
  }
  for (size_t k = 0; k < walls.size(); ++k) section.Walls[k]->Values() = walls[k];
}

void PutAltitudes(TSection& section, const std::vector<AltitudeValues>& altitudes) {
  if (section.Altitudes.size() != altitudes.size()) {
    section.Altitudes.clear();
    for (size_t i = 0; i < altitudes.size(); ++i) {
      section.Altitudes.push_back(std::make_unique<TAltitude>(&section));
      section.Altitudes.back()->Number = static_cast<int32_t>(i);
    }
  }
  for (size_t i = 0; i < altitudes.size(); ++i) section.Altitudes[i]->Values() = altitudes[i];
}

// Swaps the track's sections with the kept ones, each in the object that is
// there (a section of the other kind is replaced whole, and told as a splice of
// one): afterwards the track has what was kept and `kept` what the track had.
void Swap(TTrack& track, std::vector<SectionSnapshot>& kept, TTrackChange& change) {
  const int n = track.NumberOfSections();
  for (int s = 0; s < n; ++s) {
    SectionSnapshot& other = kept[static_cast<size_t>(s)];
    TSection& section = *track.Section(s);
    if (section.IsCurved() != other.curved) {
      std::unique_ptr<TSection> made = other.Build(track, s);
      other = SectionSnapshot::Of(section);
      track.Sections[static_cast<size_t>(s)] = std::move(made);
      change.splices.push_back({s, 1, 1});
      continue;
    }
    std::swap(section.Values(), other.values);
    if (section.Altitudes.size() == other.altitudes.size() && section.Walls.size() == other.walls.size()) {
      for (size_t i = 0; i < other.altitudes.size(); ++i) std::swap(section.Altitudes[i]->Values(), other.altitudes[i]);
      for (size_t k = 0; k < other.walls.size(); ++k) std::swap(section.Walls[k]->Values(), other.walls[k]);
    } else {
      SectionSnapshot was = SectionSnapshot::Of(section);
      PutAltitudes(section, other.altitudes);
      PutWalls(section, other.walls);
      if (was.walls.size() != other.walls.size()) change.TouchWalls(s);
      other.altitudes = std::move(was.altitudes);
      other.walls = std::move(was.walls);
    }
    change.Touch(s);
  }
}

// The selection after a reverse: the same object in the section's new place.
TObjectPath ReversedPath(const TObjectPath& path, int sections) {
  if (path.kind == TObjectPath::Kind::Track || path.section < 0) return path;
  return TObjectPath::Section(sections - 1 - path.section);
}

}  // namespace

// ---- the whole track rewritten ----

bool TRewriteStep::Make(TTrack& track, std::string& reason) {
  auto rewrite = transform_(track, reason);
  if (!rewrite) return false;
  before_ = TrackState::Of(track);
  kept_ = std::move(rewrite->sections);
  track.Traces = std::move(rewrite->traces);
  Swap(track, kept_, made_);
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
  after_ = TrackState::Of(track);
  made_.traces = !(before_.values.Traces == after_.values.Traces);
  made_.trackValues = !(before_ == after_);
  return true;
}

void TRewriteStep::Apply(TTrack& track, bool forward, TTrackChange& change) const {
  Swap(track, kept_, change);
  for (const TTrackChange::Splice& splice : change.splices) track.Section(splice.at)->Number = splice.at;
  (forward ? after_ : before_).Restore(track);
  change.traces = made_.traces;
  change.trackValues = made_.trackValues;
}

size_t TRewriteStep::HeldBytes() const {
  return HeapBytes(kept_) + HeapBytes(before_) + HeapBytes(after_) + HeapBytes(made_.splices) +
         HeapBytes(made_.sections) + HeapBytes(made_.wallLists);
}

// ---- reverse ----

TReverseTrackStep::TReverseTrackStep(const TObjectPath& before, const TObjectPath& after)
    : TRewriteStep("Reverse Track", before, after, transform::ReversedTrack) {
  SelectWhenDone();
}

std::unique_ptr<TReverseTrackStep> TReverseTrackStep::Do(TTrack& track, const TObjectPath& selection,
                                                         std::string& reason) {
  std::unique_ptr<TReverseTrackStep> step(
      new TReverseTrackStep(selection, ReversedPath(selection, track.NumberOfSections())));
  if (!step->Make(track, reason)) return nullptr;
  return step;
}

// ---- mirror ----

TMirrorTrackStep::TMirrorTrackStep(const TObjectPath& selection)
    : TRewriteStep("Mirror Track", selection, selection, transform::MirroredTrack) {}

std::unique_ptr<TMirrorTrackStep> TMirrorTrackStep::Do(TTrack& track, const TObjectPath& selection,
                                                       std::string& reason) {
  std::unique_ptr<TMirrorTrackStep> step(new TMirrorTrackStep(selection));
  if (!step->Make(track, reason)) return nullptr;
  return step;
}

}  // namespace meridal::history
