#include "history/values_step.h"

#include <map>

#include "model/track.h"

namespace meridal::history {

TValuesStep::TValuesStep(std::string text, const TObjectPath& selection, Change change)
    : TStep(std::move(text)), selection_(selection), change_(std::move(change)) {}

std::unique_ptr<TValuesStep> TValuesStep::Do(TTrack& track, std::string text, const TObjectPath& selection,
                                             Change change) {
  std::unique_ptr<TValuesStep> step(new TValuesStep(std::move(text), selection, std::move(change)));
  step->track_ = TrackScalars::Of(track);
  std::map<int, SectionState> before;
  const Touch touch = [&](int s) {
    if (s >= 0 && s < track.NumberOfSections() && !before.count(s)) before.emplace(s, SectionState::Of(*track.Section(s)));
  };
  step->change_(track, touch);
  track.UpdateExtent();
  for (const auto& [s, state] : before) {
    SectionDelta delta;
    if (SectionDelta::Between(state, *track.Section(s), delta)) step->sections_.emplace_back(s, std::move(delta));
  }
  if (step->sections_.empty() && TrackScalars::Of(track) == step->track_) return nullptr;
  step->sections_.shrink_to_fit();
  step->NothingDrawn();
  for (const auto& [s, delta] : step->sections_) {
    step->Touched(delta.before.Extent);
    step->Touched(track.Section(s)->Extent);
  }
  return step;
}

void TValuesStep::Undo(TTrack& track) {
  for (const auto& [s, delta] : sections_) delta.Restore(*track.Section(s));
  track_.Restore(track);
}

void TValuesStep::Redo(TTrack& track) {
  change_(track, [](int) {});
}

size_t TValuesStep::Bytes() const {
  size_t bytes = sizeof(*this) + TextBytes() + BoxBytes() + track_.Bytes() - sizeof(track_) + VectorBytes(sections_);
  for (const auto& [s, delta] : sections_) bytes += delta.Bytes() - sizeof(delta);
  return bytes;
}

}  // namespace meridal::history
