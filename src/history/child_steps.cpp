#include "history/child_steps.h"

#include "edit/tree_steps.h"
#include "history/restore.h"
#include "model/track.h"

namespace meridal::history {

namespace {

std::vector<WallState> WallsOf(const TSection& section) {
  std::vector<WallState> walls;
  walls.reserve(section.Walls.size());
  for (const auto& wall : section.Walls) walls.push_back(WallState::Of(*wall));
  return walls;
}

std::vector<AltitudeState> AltitudesOf(const TSection& section) {
  std::vector<AltitudeState> altitudes;
  altitudes.reserve(section.Altitudes.size());
  for (const auto& altitude : section.Altitudes) altitudes.push_back(AltitudeState::Of(*altitude));
  return altitudes;
}

std::string TraceName(int n) { return "Trace " + std::to_string(n); }

}  // namespace

// ---- a wall removed or added ----

TWallStep::TWallStep(Kind kind, int section, int wall)
    : TStep(std::string(kind == Kind::Remove ? "Remove " : kind == Kind::AddBefore ? "Add Wall before " : "Add Wall after ") +
            PathName(TObjectPath::Wall(section, wall))),
      kind_(kind),
      section_(section),
      wall_(wall) {}

std::unique_ptr<TWallStep> TWallStep::DoRemove(TTrack& track, int section, int wall) {
  return Do(track, Kind::Remove, section, wall);
}

std::unique_ptr<TWallStep> TWallStep::DoAdd(TTrack& track, int section, int wall, bool before) {
  return Do(track, before ? Kind::AddBefore : Kind::AddAfter, section, wall);
}

std::unique_ptr<TWallStep> TWallStep::Do(TTrack& track, Kind kind, int section, int wall) {
  if (section < 0 || section >= track.NumberOfSections()) return nullptr;
  std::unique_ptr<TWallStep> step(new TWallStep(kind, section, wall));
  TSection& s = *track.Section(section);
  step->walls_ = WallsOf(s);
  step->extent_ = s.Extent;
  step->track_ = TrackScalars::Of(track);
  if (!step->Apply(track)) return nullptr;
  step->Touched(step->extent_);
  step->Touched(s.Extent);
  step->redoSelection_ = kind == Kind::Remove ? TObjectPath::Wall(section, s.SelectedChild)
                                              : TObjectPath::Wall(section, kind == Kind::AddBefore ? wall : wall + 1);
  return step;
}

void TWallStep::Undo(TTrack& track) {
  TSection& section = *track.Section(section_);
  ReplaceWalls(track, section, walls_);
  section.Extent = extent_;
  track.RecomputeRecordIndices();
  track_.Restore(track);
}

bool TWallStep::Apply(TTrack& track) {
  TSection& section = *track.Section(section_);
  if (kind_ == Kind::Remove) return section.RemoveChild(wall_);
  return section.AddChild(wall_, kind_ == Kind::AddBefore);
}

void TWallStep::Redo(TTrack& track) { Apply(track); }

size_t TWallStep::Bytes() const {
  return sizeof(*this) + TextBytes() + BoxBytes() + VectorBytes(walls_) + track_.Bytes() - sizeof(track_);
}

// ---- walls copied ----

TCopyWallsStep::TCopyWallsStep(std::string text, int source, int selection)
    : TStep(std::move(text)), source_(source), selection_(selection) {}

std::unique_ptr<TCopyWallsStep> TCopyWallsStep::DoFrom(TTrack& track, int source, int destination,
                                                       bool& accepted) {
  accepted = false;
  if (destination < 0 || destination >= track.NumberOfSections()) return nullptr;  // refused
  std::unique_ptr<TCopyWallsStep> step(new TCopyWallsStep(
      "Copy Walls from " + PathName(TObjectPath::Section(source)) + " to " + PathName(TObjectPath::Section(destination)),
      source, destination));
  step->track_ = TrackScalars::Of(track);
  TSection& to = *track.Section(destination);
  Replaced replaced{destination, WallsOf(to), to.Extent};
  accepted = track.CopyWalls(source, destination);
  if (!accepted || (replaced.walls == WallsOf(to) && replaced.extent == to.Extent)) return nullptr;
  step->Touched(replaced.extent);
  step->Touched(to.Extent);
  step->replaced_.push_back(std::move(replaced));
  return step;
}

std::unique_ptr<TCopyWallsStep> TCopyWallsStep::DoToAll(TTrack& track, int source) {
  if (source < 0 || source >= track.NumberOfSections()) return nullptr;
  std::unique_ptr<TCopyWallsStep> step(new TCopyWallsStep(
      "Copy Walls of " + PathName(TObjectPath::Section(source)) + " to all Sections", source, source));
  step->track_ = TrackScalars::Of(track);
  std::vector<Replaced> all;
  all.reserve(track.Sections.size());
  for (int j = 0; j < track.NumberOfSections(); ++j) all.push_back({j, WallsOf(*track.Section(j)), track.Section(j)->Extent});
  track.CopyWallsToAll(source);
  // Only the sections that really changed are kept (a box may be stale and
  // recomputed even when the walls were the same already).
  for (Replaced& r : all) {
    const TSection& to = *track.Section(r.section);
    if (!(r.walls == WallsOf(to)) || !(r.extent == to.Extent)) {
      step->Touched(r.extent);
      step->Touched(to.Extent);
      step->replaced_.push_back(std::move(r));
    }
  }
  if (step->replaced_.empty()) return nullptr;
  step->replaced_.shrink_to_fit();
  return step;
}

void TCopyWallsStep::Undo(TTrack& track) {
  ITreeNodes* nodes = edit::TreeOf(&track);
  if (nodes) nodes->BeginUpdate();
  for (const Replaced& r : replaced_) {
    TSection& section = *track.Section(r.section);
    ReplaceWalls(track, section, r.walls);
    section.Extent = r.extent;
  }
  if (nodes) nodes->EndUpdate();
  track.RecomputeRecordIndices();
  track_.Restore(track);
}

void TCopyWallsStep::Redo(TTrack& track) {
  if (selection_ != source_) track.CopyWalls(source_, selection_);
  else track.CopyWallsToAll(source_);
}

size_t TCopyWallsStep::Bytes() const {
  size_t bytes = sizeof(*this) + TextBytes() + BoxBytes() + VectorBytes(replaced_) + track_.Bytes() - sizeof(track_);
  for (const Replaced& r : replaced_) bytes += VectorBytes(r.walls);
  return bytes;
}

// ---- traces ----

TTraceStep::TTraceStep(std::string text, bool remove, int trace)
    : TStep(std::move(text)), remove_(remove), trace_(trace) {}

std::unique_ptr<TTraceStep> TTraceStep::DoRemove(TTrack& track, int trace) {
  std::unique_ptr<TTraceStep> step(new TTraceStep("Remove " + TraceName(trace), true, trace));
  step->track_ = TrackScalars::Of(track);
  if (trace >= 0 && trace < track.NumberOfTraces()) {
    step->altitudes_.reserve(track.Sections.size());
    for (const auto& section : track.Sections)
      step->altitudes_.push_back(trace < section->NumberOfAltitudes() ? AltitudeState::Of(*section->Altitude(trace))
                                                                      : AltitudeState{});
  }
  step->extents_.reserve(track.Sections.size());
  for (const auto& section : track.Sections) step->extents_.push_back(section->Extent);
  if (!track.RemoveTrace(trace)) return nullptr;
  return step;
}

std::unique_ptr<TTraceStep> TTraceStep::DoAdd(TTrack& track, int at, bool after) {
  const std::string text = after ? "Add Trace after " + TraceName(at - 1) : "Add Trace before " + TraceName(at);
  std::unique_ptr<TTraceStep> step(new TTraceStep(text, false, at));
  step->track_ = TrackScalars::Of(track);
  step->extents_.reserve(track.Sections.size());
  for (const auto& section : track.Sections) step->extents_.push_back(section->Extent);
  if (!track.AddTrace(at)) return nullptr;
  return step;
}

void TTraceStep::Undo(TTrack& track) {
  ITreeNodes* nodes = edit::TreeOf(&track);
  if (nodes) nodes->BeginUpdate();
  for (int s = 0; s < track.NumberOfSections(); ++s) {
    TSection& section = *track.Section(s);
    if (remove_) InsertAltitude(track, section, trace_, altitudes_[static_cast<size_t>(s)]);
    else section.RemoveAltitude(trace_);
    section.Extent = extents_[static_cast<size_t>(s)];
  }
  if (nodes) nodes->EndUpdate();
  track_.Restore(track);
  track.RecomputeRecordIndices();
}

void TTraceStep::Redo(TTrack& track) {
  if (remove_) track.RemoveTrace(trace_);
  else track.AddTrace(trace_);
}

size_t TTraceStep::Bytes() const {
  return sizeof(*this) + TextBytes() + BoxBytes() + VectorBytes(altitudes_) + VectorBytes(extents_) + track_.Bytes() -
         sizeof(track_);
}

// ---- an altitude's profile copied ----

TCopyAltitudeStep::TCopyAltitudeStep(int section, int altitude)
    : TStep("Copy " + PathName(TObjectPath::Altitude(section, altitude))), section_(section), altitude_(altitude) {}

std::unique_ptr<TCopyAltitudeStep> TCopyAltitudeStep::Do(TTrack& track, int section, int altitude) {
  if (section < 0 || section >= track.NumberOfSections()) return nullptr;
  TSection& s = *track.Section(section);
  if (altitude < 0 || altitude >= s.NumberOfAltitudes()) return nullptr;
  std::unique_ptr<TCopyAltitudeStep> step(new TCopyAltitudeStep(section, altitude));
  step->before_ = AltitudesOf(s);
  s.CopyAltitude(altitude);
  if (step->before_ == AltitudesOf(s)) return nullptr;
  step->NothingDrawn();  // the profiles, not the plan
  return step;
}

void TCopyAltitudeStep::Undo(TTrack& track) {
  TSection& section = *track.Section(section_);
  for (int i = 0; i < section.NumberOfAltitudes() && i < static_cast<int>(before_.size()); ++i)
    before_[static_cast<size_t>(i)].ApplyTo(*section.Altitude(i));
}

void TCopyAltitudeStep::Redo(TTrack& track) { track.Section(section_)->CopyAltitude(altitude_); }

}  // namespace meridal::history
