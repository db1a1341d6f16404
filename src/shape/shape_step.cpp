#include "shape/shape_step.h"

#include "model/track.h"

namespace meridal::shape {

using history::SectionSnapshot;
using history::TrackState;

std::unique_ptr<TShapeStep> TShapeStep::Changed(std::string text, int section, const TTrack& track, int first,
                                                std::vector<SectionSnapshot> before, TrackState trackBefore) {
  const TObjectPath path = TObjectPath::Section(section);
  std::unique_ptr<TShapeStep> step(new TShapeStep(std::move(text), path, path));
  step->NothingDrawn();
  TTrackChange made;
  for (size_t i = 0; i < before.size(); ++i) {
    const int s = first + static_cast<int>(i);
    if (s >= track.NumberOfSections()) break;
    if (!before[i].Matches(*track.Section(s))) {
      made.Touch(s);
      step->Touched(before[i].values.Extent);
      step->Touched(track.Section(s)->Extent);
    }
  }
  if (made.sections.empty() && trackBefore == TrackState::Of(track)) return nullptr;
  step->Keep(first, std::move(before), std::move(trackBefore), track, std::move(made));
  return step;
}

std::unique_ptr<TDrawStep> TDrawStep::Inserted(std::string text, const TTrack& track, int at,
                                               TrackState trackBefore) {
  std::unique_ptr<TDrawStep> step(
      new TDrawStep(std::move(text), TObjectPath::Section(at - 1), TObjectPath::Section(at)));
  step->SelectWhenDone();
  step->patch_.AddSplice(at, {}, {SectionSnapshot::Of(*track.Section(at))});
  step->patch_.SetTrack(std::move(trackBefore), TrackState::Of(track));
  step->Touched(track.Section(at)->Extent);
  return step;
}

}  // namespace meridal::shape
