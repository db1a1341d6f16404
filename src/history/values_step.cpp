#include "history/values_step.h"

#include "model/track.h"

namespace meridal::history {

TValuesStep::TValuesStep(std::string text, const TObjectPath& selection)
    : TStep(std::move(text), selection, selection) {}

std::unique_ptr<TValuesStep> TValuesStep::Do(TTrack& track, std::string text, const TObjectPath& selection,
                                             const Change& change) {
  TrackState trackBefore = TrackState::Of(track);
  std::vector<SectionSnapshot> before;
  before.reserve(track.Sections.size());
  for (const auto& section : track.Sections) before.push_back(SectionSnapshot::Of(*section));
  change(track);
  track.UpdateExtent();

  std::unique_ptr<TValuesStep> step(new TValuesStep(std::move(text), selection));
  TTrackPatch& patch = step->patch_;
  patch.SetTrack(std::move(trackBefore), TrackState::Of(track));
  step->NothingDrawn();
  for (int s = 0; s < track.NumberOfSections() && s < static_cast<int>(before.size()); ++s) {
    const TSection& after = *track.Section(s);
    const SectionSnapshot& was = before[static_cast<size_t>(s)];
    if (patch.AddSection(s, was, after)) {
      step->Touched(was.values.Extent);
      step->Touched(after.Extent);
    }
  }
  if (patch.Empty()) return nullptr;
  patch.Shrink();
  return step;
}

}  // namespace meridal::history
