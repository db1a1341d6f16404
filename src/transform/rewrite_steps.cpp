#include "transform/rewrite_steps.h"

#include <algorithm>

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

// Puts a rewritten track in place of the old one, section by section in the
// objects that are there (a section of the other kind replaced whole), derives
// every section's geometry again as a file's reader does, and keeps what changed
// in the patch.
void PutInPlace(TTrack& track, transform::TTrackRewrite&& rewrite, TTrackPatch& patch) {
  TrackState trackBefore = TrackState::Of(track);
  const int n = track.NumberOfSections();
  std::vector<SectionSnapshot> before;
  before.reserve(static_cast<size_t>(n));
  for (const auto& section : track.Sections) before.push_back(SectionSnapshot::Of(*section));
  std::vector<bool> replaced(static_cast<size_t>(n), false);

  track.Traces = std::move(rewrite.traces);
  for (int s = 0; s < n; ++s) {
    SectionSnapshot& made = rewrite.sections[static_cast<size_t>(s)];
    if (track.Section(s)->IsCurved() != made.curved) {
      track.Sections[static_cast<size_t>(s)] = made.Build(track, s);
      replaced[static_cast<size_t>(s)] = true;
    } else {
      TSection& section = *track.Section(s);
      section.Values() = made.values;
      PutAltitudes(section, made.altitudes);
      PutWalls(section, made.walls);
    }
    TSection& section = *track.Section(s);
    section.Number = s;
    section.RecomputeExportWords();
    section.RecomputeDerived();
  }
  track.RecomputeRecordIndices();
  track.RecomputeStarts();
  track.UpdateExtent();

  // A reverse or a mirror changes nearly every value: room for all of them at once.
  size_t altitudes = 0, walls = 0;
  for (int s = 0; s < n; ++s) {
    const TSection& now = *track.Section(s);
    altitudes += std::min(before[static_cast<size_t>(s)].altitudes.size(), now.Altitudes.size());
    walls += before[static_cast<size_t>(s)].walls.size();
  }
  patch.Reserve(static_cast<size_t>(n), altitudes, walls);
  for (int s = 0; s < n; ++s) {
    const TSection& now = *track.Section(s);
    if (replaced[static_cast<size_t>(s)])
      patch.AddSplice(s, {std::move(before[static_cast<size_t>(s)])}, {SectionSnapshot::Of(now)});
    else
      patch.AddSection(s, before[static_cast<size_t>(s)], now);
  }
  patch.SetTrack(std::move(trackBefore), TrackState::Of(track));
  patch.Shrink();
}

// The selection after a reverse: the same object in the section's new place.
TObjectPath ReversedPath(const TObjectPath& path, int sections) {
  if (path.kind == TObjectPath::Kind::Track || path.section < 0) return path;
  return TObjectPath::Section(sections - 1 - path.section);
}

}  // namespace

// ---- reverse ----

TReverseTrackStep::TReverseTrackStep(const TObjectPath& before, const TObjectPath& after)
    : TStep("Reverse Track", before, after) {
  SelectWhenDone();
}

std::unique_ptr<TReverseTrackStep> TReverseTrackStep::Do(TTrack& track, const TObjectPath& selection,
                                                         std::string& reason) {
  auto rewrite = transform::ReversedTrack(track, reason);
  if (!rewrite) return nullptr;
  std::unique_ptr<TReverseTrackStep> step(
      new TReverseTrackStep(selection, ReversedPath(selection, track.NumberOfSections())));
  PutInPlace(track, std::move(*rewrite), step->patch_);
  return step;
}

// ---- mirror ----

TMirrorTrackStep::TMirrorTrackStep(const TObjectPath& selection) : TStep("Mirror Track", selection, selection) {}

std::unique_ptr<TMirrorTrackStep> TMirrorTrackStep::Do(TTrack& track, const TObjectPath& selection,
                                                       std::string& reason) {
  auto rewrite = transform::MirroredTrack(track, reason);
  if (!rewrite) return nullptr;
  std::unique_ptr<TMirrorTrackStep> step(new TMirrorTrackStep(selection));
  PutInPlace(track, std::move(*rewrite), step->patch_);
  return step;
}

}  // namespace meridal::history
