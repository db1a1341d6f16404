#include "history/child_steps.h"

#include <functional>

#include "edit/track_edits.h"
#include "model/track.h"

namespace meridal::history {

namespace {

std::string TraceName(int n) { return "Trace " + std::to_string(n); }

// Runs an edit of some sections' values and walls and keeps, for those of
// `sections` it altered, what they were and are; the boxes they covered before
// and after are touched. False when the edit refused.
template <typename Edit>
bool Record(TTrack& track, TTrackPatch& patch, const std::vector<int>& sections, Edit edit,
            const std::function<void(const TRect&)>& touched) {
  TrackState trackBefore = TrackState::Of(track);
  std::vector<SectionSnapshot> before;
  before.reserve(sections.size());
  for (int s : sections) before.push_back(SectionSnapshot::Of(*track.Section(s)));
  if (!edit()) return false;
  track.UpdateExtent();
  for (size_t i = 0; i < sections.size(); ++i) {
    const TSection& after = *track.Section(sections[i]);
    if (patch.AddSection(sections[i], before[i], after)) {
      touched(before[i].values.Extent);
      touched(after.Extent);
    }
  }
  patch.SetTrack(std::move(trackBefore), TrackState::Of(track));
  patch.Shrink();
  return true;
}

}  // namespace

// ---- a wall removed or added ----

TWallStep::TWallStep(Kind kind, int section, int wall)
    : TStep(std::string(kind == Kind::Remove      ? "Remove "
                        : kind == Kind::AddBefore ? "Add Wall before "
                                                  : "Add Wall after ") +
                PathName(TObjectPath::Wall(section, wall)),
            TObjectPath::Wall(section, wall), TObjectPath::Wall(section, wall)) {}

std::unique_ptr<TWallStep> TWallStep::DoRemove(TTrack& track, int section, int wall) {
  return Do(track, Kind::Remove, section, wall);
}

std::unique_ptr<TWallStep> TWallStep::DoAdd(TTrack& track, int section, int wall, bool before) {
  return Do(track, before ? Kind::AddBefore : Kind::AddAfter, section, wall);
}

std::unique_ptr<TWallStep> TWallStep::Do(TTrack& track, Kind kind, int section, int wall) {
  if (section < 0 || section >= track.NumberOfSections()) return nullptr;
  std::unique_ptr<TWallStep> step(new TWallStep(kind, section, wall));
  step->SelectWhenDone();
  TSection& s = *track.Section(section);
  const auto edit = [&] {
    return kind == Kind::Remove ? edit::RemoveChild(s, wall) : edit::AddChild(s, wall, kind == Kind::AddBefore);
  };
  if (!Record(track, step->patch_, {section}, edit, [&](const TRect& box) { step->Touched(box); }))
    return nullptr;
  // After a removal the wall that took its place, or the new last one.
  const int selected = kind == Kind::Remove   ? (wall < s.NumberOfWalls() ? wall : s.NumberOfWalls() - 1)
                       : kind == Kind::AddBefore ? wall
                                                 : wall + 1;
  step->SetRedoSelection(TObjectPath::Wall(section, selected));
  return step;
}

// ---- walls copied ----

TCopyWallsStep::TCopyWallsStep(std::string text, int selection)
    : TStep(std::move(text), TObjectPath::Section(selection), TObjectPath::Section(selection)) {}

std::unique_ptr<TCopyWallsStep> TCopyWallsStep::DoFrom(TTrack& track, int source, int destination,
                                                       bool& accepted) {
  accepted = false;
  if (destination < 0 || destination >= track.NumberOfSections()) return nullptr;  // refused
  std::unique_ptr<TCopyWallsStep> step(new TCopyWallsStep("Copy Walls from " + PathName(TObjectPath::Section(source)) +
                                                              " to " + PathName(TObjectPath::Section(destination)),
                                                          destination));
  accepted = Record(track, step->patch_, {destination}, [&] { return edit::CopyWalls(track, source, destination); },
                    [&](const TRect& box) { step->Touched(box); });
  if (!accepted || step->patch_.Empty()) return nullptr;
  return step;
}

std::unique_ptr<TCopyWallsStep> TCopyWallsStep::DoToAll(TTrack& track, int source) {
  if (source < 0 || source >= track.NumberOfSections()) return nullptr;
  std::unique_ptr<TCopyWallsStep> step(
      new TCopyWallsStep("Copy Walls of " + PathName(TObjectPath::Section(source)) + " to all Sections", source));
  std::vector<int> all(static_cast<size_t>(track.NumberOfSections()));
  for (int j = 0; j < track.NumberOfSections(); ++j) all[static_cast<size_t>(j)] = j;
  // Only the sections that really changed are kept (a box may be stale and
  // recomputed even when the walls were the same already).
  Record(track, step->patch_, all, [&] { return edit::CopyWallsToAll(track, source); },
         [&](const TRect& box) { step->Touched(box); });
  if (step->patch_.Empty()) return nullptr;
  return step;
}

// ---- traces ----

TTraceStep::TTraceStep(std::string text) : TStep(std::move(text), TObjectPath::Track(), TObjectPath::Track()) {}

std::unique_ptr<TTraceStep> TTraceStep::DoRemove(TTrack& track, int trace) {
  return Do(track, "Remove " + TraceName(trace), trace, false);
}

std::unique_ptr<TTraceStep> TTraceStep::DoAdd(TTrack& track, int at, bool after) {
  return Do(track, after ? "Add Trace after " + TraceName(at - 1) : "Add Trace before " + TraceName(at), at, true);
}

std::unique_ptr<TTraceStep> TTraceStep::Do(TTrack& track, std::string text, int at, bool added) {
  TrackState trackBefore = TrackState::Of(track);
  std::vector<TRect> extents;
  std::vector<AltitudeValues> removed;
  extents.reserve(track.Sections.size());
  for (const auto& section : track.Sections) {
    extents.push_back(section->Extent);
    if (!added) removed.push_back(at >= 0 && at < section->NumberOfAltitudes() ? section->Altitude(at)->Values()
                                                                               : AltitudeValues{});
  }
  if (!(added ? edit::AddTrace(track, at) : edit::RemoveTrace(track, at))) return nullptr;
  track.UpdateExtent();

  std::unique_ptr<TTraceStep> step(new TTraceStep(std::move(text)));
  TTrackPatch& patch = step->patch_;
  std::vector<AltitudeValues> altitudes = std::move(removed);
  if (added)
    for (const auto& section : track.Sections) altitudes.push_back(section->Altitude(at)->Values());
  patch.SetTrace(at, added, std::move(altitudes));
  for (int s = 0; s < track.NumberOfSections(); ++s)
    patch.AddExtent(s, extents[static_cast<size_t>(s)], track.Section(s)->Extent);
  patch.SetTrack(std::move(trackBefore), TrackState::Of(track));
  patch.Shrink();
  return step;
}

// ---- an altitude's profile copied ----

TCopyAltitudeStep::TCopyAltitudeStep(int section, int altitude)
    : TStep("Copy " + PathName(TObjectPath::Altitude(section, altitude)), TObjectPath::Altitude(section, altitude),
            TObjectPath::Altitude(section, altitude)) {}

std::unique_ptr<TCopyAltitudeStep> TCopyAltitudeStep::Do(TTrack& track, int section, int altitude) {
  if (section < 0 || section >= track.NumberOfSections()) return nullptr;
  TSection& s = *track.Section(section);
  if (altitude < 0 || altitude >= s.NumberOfAltitudes()) return nullptr;
  std::unique_ptr<TCopyAltitudeStep> step(new TCopyAltitudeStep(section, altitude));
  Record(track, step->patch_, {section}, [&] { edit::CopyAltitude(s, altitude); return true; },
         [](const TRect&) {});
  if (step->patch_.Empty()) return nullptr;
  step->NothingDrawn();  // the profiles, not the plan
  return step;
}

}  // namespace meridal::history
