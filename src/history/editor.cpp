#include "history/editor.h"

#include <cstdint>

#include "history/child_steps.h"
#include "history/joined_step.h"
#include "history/section_steps.h"
#include "history/value_step.h"
#include "history/values_step.h"
#include "model/length_limit.h"
#include "model/track.h"

namespace meridal::history {

template <typename Step>
Outcome TEditor::Keep(std::unique_ptr<Step> step, bool accepted) {
  if (!step) return accepted ? Outcome::Unchanged : Outcome::Refused;
  // Length and Start are 32-bit: a track longer than that would wrap in every file.
  // A change that makes it so (or longer still) is taken back and refused.
  if (!WithinLengthLimit(track_)) {
    const int64_t length = TotalSectionLength(track_);
    TTrackChange change;
    step->Undo(track_, change);
    // A track that was too long already may still be shortened.
    if (length > TotalSectionLength(track_)) return Outcome::Refused;
    step->Redo(track_, change);
  }
  if (joinFrom_ >= 0) {
    std::unique_ptr<TStep> joined = TJoinedStep::Join(track_, std::move(step), joinFrom_);
    if (!joined) return Outcome::Refused;
    history_.Push(std::move(joined));
    return Outcome::Changed;
  }
  history_.Push(std::move(step));
  return Outcome::Changed;
}

Outcome TEditor::KeepingJoined(int first, const std::function<Outcome(TEditor&)>& change) {
  const int was = joinFrom_;
  joinFrom_ = first;
  const Outcome outcome = change(*this);
  joinFrom_ = was;
  return outcome;
}

Outcome TEditor::Record(std::unique_ptr<TStep> step, bool accepted) { return Keep(std::move(step), accepted); }

Outcome TEditor::SetValue(TBase& object, const std::string& name, int32_t value) {
  bool accepted = false;
  auto step = TSetValueStep::Do(track_, object, name, value, accepted);
  return Keep(std::move(step), accepted);
}

Outcome TEditor::Remove(TBase& object) {
  if (auto* wall = dynamic_cast<TWall*>(&object))
    return Keep(TWallStep::DoRemove(track_, wall->Section()->Number, wall->Number), false);
  if (dynamic_cast<TSection*>(&object)) return Keep(TRemoveSectionStep::Do(track_, object.Number), false);
  return Outcome::Refused;
}

Outcome TEditor::Add(TBase& object, bool before) {
  if (auto* wall = dynamic_cast<TWall*>(&object))
    return Keep(TWallStep::DoAdd(track_, wall->Section()->Number, wall->Number, before), false);
  if (dynamic_cast<TSection*>(&object)) return Keep(TAddSectionStep::Do(track_, object.Number, before), false);
  return Outcome::Refused;
}

Outcome TEditor::Split(TBase& section, int32_t firstLength) {
  if (!dynamic_cast<TSection*>(&section)) return Outcome::Refused;
  return Keep(TSplitSectionStep::Do(track_, section.Number, firstLength), false);
}

Outcome TEditor::ChangeType(TBase& section) {
  if (!dynamic_cast<TSection*>(&section)) return Outcome::Refused;
  return Keep(TChangeTypeStep::Do(track_, section.Number), false);
}

Outcome TEditor::CopyWallsFrom(int source, int destination) {
  bool accepted = false;
  auto step = TCopyWallsStep::DoFrom(track_, source, destination, accepted);
  return Keep(std::move(step), accepted);
}

Outcome TEditor::CopyWallsToAll(int source) {
  const bool accepted = source >= 0 && source < track_.NumberOfSections();
  return Keep(TCopyWallsStep::DoToAll(track_, source), accepted);
}

Outcome TEditor::CopyAltitude(TBase& altitude) {
  auto* a = dynamic_cast<TAltitude*>(&altitude);
  if (!a) return Outcome::Refused;
  return Keep(TCopyAltitudeStep::Do(track_, a->Section()->Number, a->Number));
}

Outcome TEditor::RemoveTrace(int n) { return Keep(TTraceStep::DoRemove(track_, n), false); }

Outcome TEditor::AddTrace(int n, bool after) {
  // No trace comes after the largest number a row can name.
  if (after && n == INT32_MAX) return Outcome::Refused;
  return Keep(TTraceStep::DoAdd(track_, after ? n + 1 : n, after), false);
}

Outcome TEditor::ChangeValues(std::string text, const TObjectPath& selection,
                              const std::function<void(TTrack&)>& change) {
  return Keep(TValuesStep::Do(track_, std::move(text), selection, change));
}

}  // namespace meridal::history
