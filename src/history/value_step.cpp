#include "history/value_step.h"

#include "model/track.h"

namespace meridal::history {

namespace {

std::vector<std::pair<int32_t, int32_t>> TracePoints(const TTrack& track, int trace) {
  std::vector<std::pair<int32_t, int32_t>> points;
  points.reserve(track.Sections.size());
  for (const auto& section : track.Sections) {
    const TAltitude* a = trace < section->NumberOfAltitudes() ? section->Altitude(trace) : nullptr;
    points.emplace_back(a ? a->X : 0, a ? a->Y : 0);
  }
  return points;
}

}  // namespace

TSetValueStep::TSetValueStep(const TObjectPath& path, std::string name, int32_t value)
    : TStep("Set " + name + " of " + PathName(path)), path_(path), name_(std::move(name)), value_(value) {}

std::unique_ptr<TSetValueStep> TSetValueStep::Do(TTrack& track, TBase& object, const std::string& name,
                                                 int32_t value, bool& accepted) {
  const TObjectPath path = PathOf(object);
  std::unique_ptr<TSetValueStep> step(new TSetValueStep(path, name, value));
  step->track_ = TrackScalars::Of(track);
  const bool onTrack = path.kind == TObjectPath::Kind::Track;
  SectionState section;
  if (onTrack) {
    step->trace_ = track.TraceIndexOfName(name);
    if (step->trace_ >= 0) step->tracePoints_ = TracePoints(track, step->trace_);
  } else {
    section = SectionState::Of(*track.Section(path.section));
  }

  accepted = object.AccessValue(name, value, true) != 0;
  if (!accepted) return nullptr;
  track.UpdateExtent();

  bool changed = !(TrackScalars::Of(track) == step->track_);
  if (!onTrack) changed = SectionDelta::Between(section, *track.Section(path.section), step->section_) || changed;
  if (step->trace_ >= 0) changed = changed || TracePoints(track, step->trace_) != step->tracePoints_;
  if (!changed) return nullptr;
  if (!onTrack) {
    step->Touched(step->section_.before.Extent);
    step->Touched(track.Section(path.section)->Extent);
  } else if (step->trace_ < 0) {
    step->NothingDrawn();  // the track's length
  }
  return step;
}

void TSetValueStep::Undo(TTrack& track) {
  if (path_.kind != TObjectPath::Kind::Track) section_.Restore(*track.Section(path_.section));
  for (size_t s = 0; s < tracePoints_.size() && s < track.Sections.size(); ++s) {
    TSection& section = *track.Sections[s];
    if (trace_ < section.NumberOfAltitudes()) {
      section.Altitude(trace_)->X = tracePoints_[s].first;
      section.Altitude(trace_)->Y = tracePoints_[s].second;
    }
  }
  track_.Restore(track);
}

void TSetValueStep::Redo(TTrack& track) {
  if (TBase* object = Resolve(track, path_)) object->AccessValue(name_, value_, true);
}

size_t TSetValueStep::Bytes() const {
  return sizeof(*this) + TextBytes() + BoxBytes() + (name_.capacity() > 15 ? name_.capacity() + 1 : 0) +
         (track_.Bytes() - sizeof(track_)) + (section_.Bytes() - sizeof(section_)) + VectorBytes(tracePoints_);
}

}  // namespace meridal::history
