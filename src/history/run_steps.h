#pragma once
// Changes of a run of selected sections as history steps: one value set on every
// section of the run that has it, and the run removed. Each is one step however
// long the run is.
#include <cstdint>
#include <memory>
#include <string>

#include "model/section_run.h"
#include "history/step.h"

namespace meridal::history {

// "Set Length of 4 Sections": the value by its name on each section of the run
// that has it (an arc's Curvature and Radius only on arcs).
class TRunValueStep : public TStep {
 public:
  // Refused whole, with nothing changed and `accepted` false, when no section of
  // the run has the value or any one of them refuses it. `current` and `anchor`
  // are the run's ends as selected, to be selected again after an undo or a redo.
  static std::unique_ptr<TRunValueStep> Do(TTrack& track, TSectionRun run, int current, int anchor,
                                           const std::string& name, int32_t value, bool& accepted);

 private:
  TRunValueStep(std::string text, int current, int anchor);
};

// "Remove 4 Sections" (or "Cut 4 Sections"): the run taken out of the track.
class TRemoveRunStep : public TStep {
 public:
  // nullptr, with nothing changed, when the run would take every section.
  static std::unique_ptr<TRemoveRunStep> Do(TTrack& track, TSectionRun run, int current, int anchor,
                                            const std::string& verb);

 private:
  TRemoveRunStep(std::string text, int current, int anchor, int after);
};

// "3 Sections", or the section's own name for a run of one: "Section 5".
std::string RunName(TSectionRun run);

}  // namespace meridal::history
