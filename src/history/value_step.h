#pragma once
// Setting one value of an object by its property name, in any base: the step keeps
// what the setter changed (the object's section, or every section's point of a
// trace that moved) and the track's own values, before and after.
#include <cstdint>
#include <memory>
#include <string>

#include "history/step.h"

namespace meridal {

class TBase;

namespace history {

class TSetValueStep : public TStep {
 public:
  // Sets the value. Refused: nothing changed and `accepted` is false. Accepted but
  // nothing changed: no step. Otherwise the step that takes it back.
  static std::unique_ptr<TSetValueStep> Do(TTrack& track, TBase& object, const std::string& name, int32_t value,
                                           bool& accepted);

 private:
  TSetValueStep(const TObjectPath& path, const std::string& name);
};

}  // namespace history
}  // namespace meridal
