#include "history/value_step.h"

#include "model/track.h"

namespace meridal::history {

namespace {

std::vector<AltitudeValues> TraceAltitudes(const TTrack& track, int trace) {
  std::vector<AltitudeValues> altitudes;
  altitudes.reserve(track.Sections.size());
  for (const auto& section : track.Sections)
    altitudes.push_back(trace < section->NumberOfAltitudes() ? section->Altitude(trace)->Values() : AltitudeValues{});
  return altitudes;
}

}  // namespace

TSetValueStep::TSetValueStep(const TObjectPath& path, const std::string& name)
    : TStep("Set " + name + " of " + PathName(path), path, path) {}

std::unique_ptr<TSetValueStep> TSetValueStep::Do(TTrack& track, TBase& object, const std::string& name,
                                                 int32_t value, bool& accepted) {
  const TObjectPath path = PathOf(object);
  TrackState trackBefore = TrackState::Of(track);
  const bool onTrack = path.kind == TObjectPath::Kind::Track;
  const int trace = onTrack ? track.TraceIndexOfName(name) : -1;
  std::vector<AltitudeValues> points;
  SectionSnapshot section;
  if (trace >= 0) points = TraceAltitudes(track, trace);
  if (!onTrack) section = SectionSnapshot::Of(*track.Section(path.section));

  accepted = object.SetValue(name, value);
  if (!accepted) return nullptr;
  track.UpdateExtent();

  std::unique_ptr<TSetValueStep> step(new TSetValueStep(path, name));
  TTrackPatch& patch = step->patch_;
  patch.SetTrack(std::move(trackBefore), TrackState::Of(track));
  if (!onTrack) patch.AddSection(path.section, section, *track.Section(path.section));
  for (size_t s = 0; s < points.size(); ++s) {
    const TSection& after = *track.Sections[s];
    if (trace < after.NumberOfAltitudes()) patch.AddAltitude(static_cast<int>(s), trace, points[s], after.Altitude(trace)->Values());
  }
  if (patch.Empty()) return nullptr;
  patch.Shrink();
  if (!onTrack) {
    step->Touched(section.values.Extent);
    step->Touched(track.Section(path.section)->Extent);
  } else if (trace < 0) {
    step->NothingDrawn();  // the track's length
  }
  return step;
}

}  // namespace meridal::history
