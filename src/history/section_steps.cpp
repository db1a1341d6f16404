#include "history/section_steps.h"

#include "history/restore.h"
#include "model/track.h"

namespace meridal::history {

namespace {

std::string SectionName(int index) { return PathName(TObjectPath::Section(index)); }

}  // namespace

// ---- remove ----

TRemoveSectionStep::TRemoveSectionStep(int index) : TStep("Remove " + SectionName(index)), index_(index) {}

std::unique_ptr<TRemoveSectionStep> TRemoveSectionStep::Do(TTrack& track, int section) {
  if (section < 0 || section >= track.NumberOfSections()) return nullptr;
  std::unique_ptr<TRemoveSectionStep> step(new TRemoveSectionStep(section));
  step->removed_ = SectionState::Of(*track.Section(section));
  step->track_ = TrackScalars::Of(track);
  if (!track.RemoveChild(section)) return nullptr;
  step->redoSelection_ = TObjectPath::Section(track.SelectedChild);
  step->Touched(step->removed_.header.Extent);
  return step;
}

void TRemoveSectionStep::Undo(TTrack& track) {
  InsertSection(track, index_, removed_);
  track_.Restore(track);
}

void TRemoveSectionStep::Redo(TTrack& track) { track.RemoveChild(index_); }

size_t TRemoveSectionStep::Bytes() const {
  return sizeof(*this) + TextBytes() + BoxBytes() + removed_.Bytes() - sizeof(removed_) + track_.Bytes() - sizeof(track_);
}

// ---- add ----

TAddSectionStep::TAddSectionStep(int index, bool before)
    : TStep(std::string("Add Section ") + (before ? "before " : "after ") + SectionName(index)),
      index_(index),
      before_(before),
      added_(before ? index : index + 1) {}

std::unique_ptr<TAddSectionStep> TAddSectionStep::Do(TTrack& track, int section, bool before) {
  std::unique_ptr<TAddSectionStep> step(new TAddSectionStep(section, before));
  step->track_ = TrackScalars::Of(track);
  if (!track.AddChild(section, before)) return nullptr;
  step->Touched(track.Section(step->added_)->Extent);
  return step;
}

void TAddSectionStep::Undo(TTrack& track) {
  DeleteSection(track, added_);
  track_.Restore(track);
}

void TAddSectionStep::Redo(TTrack& track) { track.AddChild(index_, before_); }

// ---- split ----

TSplitSectionStep::TSplitSectionStep(int index, int32_t firstLength)
    : TStep("Split " + SectionName(index)), index_(index), firstLength_(firstLength) {}

std::unique_ptr<TSplitSectionStep> TSplitSectionStep::Do(TTrack& track, int section, int32_t firstLength) {
  if (section < 0 || section >= track.NumberOfSections()) return nullptr;
  std::unique_ptr<TSplitSectionStep> step(new TSplitSectionStep(section, firstLength));
  step->before_ = SectionState::Of(*track.Section(section));
  step->track_ = TrackScalars::Of(track);
  if (!track.SplitChild(section, firstLength)) return nullptr;
  step->Touched(step->before_.header.Extent);
  step->Touched(track.Section(section)->Extent);
  step->Touched(track.Section(section + 1)->Extent);
  return step;
}

void TSplitSectionStep::Undo(TTrack& track) {
  DeleteSection(track, index_ + 1);
  TSection& first = *track.Section(index_);
  // The first part is the section itself, shortened, with its walls ending at the
  // split point: its values go back in place and its nodes stay.
  before_.header.ApplyTo(first);
  for (int i = 0; i < first.NumberOfAltitudes() && i < static_cast<int>(before_.altitudes.size()); ++i)
    before_.altitudes[static_cast<size_t>(i)].ApplyTo(*first.Altitude(i));
  for (int k = 0; k < first.NumberOfWalls() && k < static_cast<int>(before_.walls.size()); ++k)
    before_.walls[static_cast<size_t>(k)].ApplyTo(*first.Wall(k));
  track_.Restore(track);
}

void TSplitSectionStep::Redo(TTrack& track) { track.SplitChild(index_, firstLength_); }

size_t TSplitSectionStep::Bytes() const {
  return sizeof(*this) + TextBytes() + BoxBytes() + before_.Bytes() - sizeof(before_) + track_.Bytes() - sizeof(track_);
}

// ---- change type ----

TChangeTypeStep::TChangeTypeStep(int index) : TStep("Change Type of " + SectionName(index)), index_(index) {}

std::unique_ptr<TChangeTypeStep> TChangeTypeStep::Do(TTrack& track, int section) {
  if (section < 0 || section >= track.NumberOfSections()) return nullptr;
  std::unique_ptr<TChangeTypeStep> step(new TChangeTypeStep(section));
  step->before_ = SectionState::Of(*track.Section(section));
  step->track_ = TrackScalars::Of(track);
  if (!track.ChangeChildType(section)) return nullptr;
  step->Touched(step->before_.header.Extent);
  step->Touched(track.Section(section)->Extent);
  return step;
}

void TChangeTypeStep::Undo(TTrack& track) {
  ReplaceSection(track, index_, before_);
  track_.Restore(track);
}

void TChangeTypeStep::Redo(TTrack& track) { track.ChangeChildType(index_); }

size_t TChangeTypeStep::Bytes() const {
  return sizeof(*this) + TextBytes() + BoxBytes() + before_.Bytes() - sizeof(before_) + track_.Bytes() - sizeof(track_);
}

}  // namespace meridal::history
