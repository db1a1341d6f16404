#include "history/section_steps.h"

#include "edit/track_edits.h"
#include "model/track.h"

namespace meridal::history {

namespace {

std::string SectionName(int index) { return PathName(TObjectPath::Section(index)); }

// Runs a structural edit of the sections from `at` to `at + count - 1` and keeps
// them, and the `made` sections that stand there after it, in the step's patch.
template <typename Edit>
bool Splice(TTrack& track, TTrackPatch& patch, int at, int count, int made, Edit edit) {
  TrackState trackBefore = TrackState::Of(track);
  std::vector<SectionSnapshot> removed;
  for (int s = at; s < at + count; ++s) removed.push_back(SectionSnapshot::Of(*track.Section(s)));
  if (!edit()) return false;
  track.UpdateExtent();
  std::vector<SectionSnapshot> inserted;
  for (int s = at; s < at + made; ++s) inserted.push_back(SectionSnapshot::Of(*track.Section(s)));
  patch.AddSplice(at, std::move(removed), std::move(inserted));
  patch.SetTrack(std::move(trackBefore), TrackState::Of(track));
  return true;
}

bool IsSection(const TTrack& track, int section) { return section >= 0 && section < track.NumberOfSections(); }

}  // namespace

// ---- remove ----

TRemoveSectionStep::TRemoveSectionStep(int index)
    : TStep("Remove " + SectionName(index), TObjectPath::Section(index), TObjectPath::Section(index)) {}

std::unique_ptr<TRemoveSectionStep> TRemoveSectionStep::Do(TTrack& track, int section) {
  if (!IsSection(track, section)) return nullptr;
  std::unique_ptr<TRemoveSectionStep> step(new TRemoveSectionStep(section));
  const TRect box = track.Section(section)->Extent;
  step->SelectWhenDone();
  if (!Splice(track, step->patch_, section, 1, 0, [&] { return edit::RemoveChild(track, section); })) return nullptr;
  // The section that took its place, or the first one when it was the last.
  step->SetRedoSelection(TObjectPath::Section(section < track.NumberOfSections() ? section : 0));
  step->Touched(box);
  return step;
}

// ---- add ----

TAddSectionStep::TAddSectionStep(int index, bool before)
    : TStep(std::string("Add Section ") + (before ? "before " : "after ") + SectionName(index),
            TObjectPath::Section(index), TObjectPath::Section(before ? index : index + 1)) {}

std::unique_ptr<TAddSectionStep> TAddSectionStep::Do(TTrack& track, int section, bool before) {
  if (!IsSection(track, section)) return nullptr;
  std::unique_ptr<TAddSectionStep> step(new TAddSectionStep(section, before));
  const int added = before ? section : section + 1;
  step->SelectWhenDone();
  if (!Splice(track, step->patch_, added, 0, 1, [&] { return edit::AddChild(track, section, before); }))
    return nullptr;
  step->Touched(track.Section(added)->Extent);
  return step;
}

// ---- split ----

TSplitSectionStep::TSplitSectionStep(int index)
    : TStep("Split " + SectionName(index), TObjectPath::Section(index), TObjectPath::Section(index + 1)) {}

std::unique_ptr<TSplitSectionStep> TSplitSectionStep::Do(TTrack& track, int section, int32_t firstLength) {
  if (!IsSection(track, section)) return nullptr;
  std::unique_ptr<TSplitSectionStep> step(new TSplitSectionStep(section));
  const TRect box = track.Section(section)->Extent;
  step->SelectWhenDone();
  if (!Splice(track, step->patch_, section, 1, 2, [&] { return edit::SplitChild(track, section, firstLength); }))
    return nullptr;
  step->Touched(box);
  step->Touched(track.Section(section)->Extent);
  step->Touched(track.Section(section + 1)->Extent);
  return step;
}

// ---- change type ----

TChangeTypeStep::TChangeTypeStep(int index)
    : TStep("Change Type of " + SectionName(index), TObjectPath::Section(index), TObjectPath::Section(index)) {}

std::unique_ptr<TChangeTypeStep> TChangeTypeStep::Do(TTrack& track, int section) {
  if (!IsSection(track, section)) return nullptr;
  std::unique_ptr<TChangeTypeStep> step(new TChangeTypeStep(section));
  const TRect box = track.Section(section)->Extent;
  step->SelectWhenDone();
  if (!Splice(track, step->patch_, section, 1, 1, [&] { return edit::ChangeChildType(track, section); }))
    return nullptr;
  step->Touched(box);
  step->Touched(track.Section(section)->Extent);
  return step;
}

}  // namespace meridal::history
