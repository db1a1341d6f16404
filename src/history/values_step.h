#pragma once
// A change of values across any number of sections, made by one command (the
// track check's fixes: join positions, match heights, match walls; closing the
// loop): no section, wall or altitude comes or goes. The step keeps, for each
// section the change altered, its values before and after.
#include <functional>
#include <memory>
#include <string>

#include "history/step.h"

namespace meridal::history {

class TValuesStep : public TStep {
 public:
  using Change = std::function<void(TTrack& track)>;

  // Runs the change; no step when it altered nothing. `selection` is the object to
  // select after an undo or a redo.
  static std::unique_ptr<TValuesStep> Do(TTrack& track, std::string text, const TObjectPath& selection,
                                         const Change& change);

 private:
  TValuesStep(std::string text, const TObjectPath& selection);
};

}  // namespace meridal::history
