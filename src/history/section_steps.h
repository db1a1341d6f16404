#pragma once
// The structural edits of sections as history steps: remove, add before or after,
// split, change type. Each Do runs the track's own operation (which refuses or
// keeps the tree in step) and keeps what its undo needs; Redo runs it again.
#include <cstdint>
#include <memory>

#include "history/step.h"
#include "history/track_state.h"

namespace meridal::history {

class TRemoveSectionStep : public TStep {
 public:
  // nullptr when the track refuses.
  static std::unique_ptr<TRemoveSectionStep> Do(TTrack& track, int section);
  void Undo(TTrack& track) override;
  void Redo(TTrack& track) override;
  TObjectPath UndoSelection() const override { return TObjectPath::Section(index_); }
  TObjectPath RedoSelection() const override { return redoSelection_; }
  size_t Bytes() const override;

 private:
  explicit TRemoveSectionStep(int index);
  int index_;
  SectionState removed_;
  TrackScalars track_;
  TObjectPath redoSelection_;
};

class TAddSectionStep : public TStep {
 public:
  static std::unique_ptr<TAddSectionStep> Do(TTrack& track, int section, bool before);
  void Undo(TTrack& track) override;
  void Redo(TTrack& track) override;
  TObjectPath UndoSelection() const override { return TObjectPath::Section(index_); }
  TObjectPath RedoSelection() const override { return TObjectPath::Section(added_); }
  size_t Bytes() const override { return sizeof(*this) + TextBytes() + BoxBytes() + track_.Bytes() - sizeof(track_); }

 private:
  TAddSectionStep(int index, bool before);
  int index_;
  bool before_;
  int added_;
  TrackScalars track_;
};

class TSplitSectionStep : public TStep {
 public:
  static std::unique_ptr<TSplitSectionStep> Do(TTrack& track, int section, int32_t firstLength);
  void Undo(TTrack& track) override;
  void Redo(TTrack& track) override;
  TObjectPath UndoSelection() const override { return TObjectPath::Section(index_); }
  TObjectPath RedoSelection() const override { return TObjectPath::Section(index_ + 1); }
  size_t Bytes() const override;

 private:
  TSplitSectionStep(int index, int32_t firstLength);
  int index_;
  int32_t firstLength_;
  SectionState before_;
  TrackScalars track_;
};

class TChangeTypeStep : public TStep {
 public:
  static std::unique_ptr<TChangeTypeStep> Do(TTrack& track, int section);
  void Undo(TTrack& track) override;
  void Redo(TTrack& track) override;
  TObjectPath UndoSelection() const override { return TObjectPath::Section(index_); }
  size_t Bytes() const override;

 private:
  explicit TChangeTypeStep(int index);
  int index_;
  SectionState before_;
  TrackScalars track_;
};

}  // namespace meridal::history
