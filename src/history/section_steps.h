#pragma once
// The structural edits of sections as history steps: remove, add before or after,
// split, change type. Each Do runs the edit and keeps the sections it replaced and
// the ones it made.
#include <cstdint>
#include <memory>

#include "history/step.h"

namespace meridal::history {

class TRemoveSectionStep : public TStep {
 public:
  // nullptr when the track refuses.
  static std::unique_ptr<TRemoveSectionStep> Do(TTrack& track, int section);

 private:
  explicit TRemoveSectionStep(int index);
};

class TAddSectionStep : public TStep {
 public:
  static std::unique_ptr<TAddSectionStep> Do(TTrack& track, int section, bool before);

 private:
  TAddSectionStep(int index, bool before);
};

class TSplitSectionStep : public TStep {
 public:
  static std::unique_ptr<TSplitSectionStep> Do(TTrack& track, int section, int32_t firstLength);

 private:
  explicit TSplitSectionStep(int index);
};

class TChangeTypeStep : public TStep {
 public:
  static std::unique_ptr<TChangeTypeStep> Do(TTrack& track, int section);

 private:
  explicit TChangeTypeStep(int index);
};

}  // namespace meridal::history
