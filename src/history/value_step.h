#pragma once
// Setting one value of an object by its property name, in any base: the step keeps
// the values the setter changed (the object's section, or every trace point when a
// trace moves) and the track's own values; Redo sets the value again.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "history/step.h"
#include "history/track_state.h"

namespace meridal {

class TBase;

namespace history {

class TSetValueStep : public TStep {
 public:
  // Sets the value. Refused: nothing changed and `accepted` is false. Accepted but
  // nothing changed: no step. Otherwise the step that takes it back.
  static std::unique_ptr<TSetValueStep> Do(TTrack& track, TBase& object, const std::string& name, int32_t value,
                                           bool& accepted);

  void Undo(TTrack& track) override;
  void Redo(TTrack& track) override;
  TObjectPath UndoSelection() const override { return path_; }
  size_t Bytes() const override;

 private:
  TSetValueStep(const TObjectPath& path, std::string name, int32_t value);

  TObjectPath path_;
  std::string name_;
  int32_t value_;
  TrackScalars track_;
  // A value of a section, a wall or an altitude: what it changed in the section.
  SectionDelta section_;
  // A trace of the track: that trace's point in every section, as (X, Y).
  std::vector<std::pair<int32_t, int32_t>> tracePoints_;
  int trace_ = -1;
};

}  // namespace history
}  // namespace meridal
