#pragma once
// A change of values across any number of sections, made by one command (the
// track check's fixes: join positions, match heights, match walls): no section,
// wall or altitude comes or goes. The step keeps, for each section the change
// touched, what it altered there, and the track's own values once; Redo runs the
// change again.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "history/step.h"
#include "history/track_state.h"

namespace meridal::history {

class TValuesStep : public TStep {
 public:
  // What the change calls before it alters section s for the first time.
  using Touch = std::function<void(int section)>;
  using Change = std::function<void(TTrack& track, const Touch& touch)>;

  // Runs the change; no step when it altered nothing. `selection` is the object to
  // select after an undo or a redo.
  static std::unique_ptr<TValuesStep> Do(TTrack& track, std::string text, const TObjectPath& selection,
                                         Change change);

  void Undo(TTrack& track) override;
  void Redo(TTrack& track) override;
  TObjectPath UndoSelection() const override { return selection_; }
  size_t Bytes() const override;

 private:
  TValuesStep(std::string text, const TObjectPath& selection, Change change);

  TObjectPath selection_;
  Change change_;
  TrackScalars track_;
  std::vector<std::pair<int, SectionDelta>> sections_;
};

}  // namespace meridal::history
