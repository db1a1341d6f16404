#pragma once
// TEditor: every change of a document goes through here, so that each becomes one
// step of the document's history. A change the track refuses changes nothing and
// adds nothing; one that changes nothing adds no step either.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "history/history.h"
#include "model/object_path.h"

namespace meridal {

class TBase;
class TTrack;

namespace history {

enum class Outcome {
  Refused,    // the track refused: nothing changed
  Unchanged,  // accepted, but nothing changed: no step
  Changed,    // done, and one step more in the history
};

class TEditor {
 public:
  TEditor(TTrack& track, THistory& history) : track_(track), history_(history) {}

  // A value by its property name, as the Edit Value dialog writes it.
  Outcome SetValue(TBase& object, const std::string& name, int32_t value);
  // Remove, Add Before and Add After of a section or a wall.
  Outcome Remove(TBase& object);
  Outcome Add(TBase& object, bool before);
  Outcome Split(TBase& section, int32_t firstLength);
  Outcome ChangeType(TBase& section);
  Outcome CopyWallsFrom(int source, int destination);
  Outcome CopyWallsToAll(int source);
  Outcome CopyAltitude(TBase& altitude);
  // Remove Trace n; Add Before trace n (after = false) or Add After it (true).
  Outcome RemoveTrace(int n);
  Outcome AddTrace(int n, bool after);
  // Any change of values across sections (see TValuesStep), as one step.
  Outcome ChangeValues(std::string text, const TObjectPath& selection, const std::function<void(TTrack&)>& change);

  // A step made by an operation of its own (a run's values, a paste, reverse,
  // mirror, a drag let go), kept like every other: nullptr is Unchanged when `accepted`, else
  // Refused.
  Outcome Record(std::unique_ptr<TStep> step, bool accepted = true);

  // Keep Joined: the change that `change` makes also places the sections from
  // `first` on as Join All Positions places them, each where the one before it
  // ends, in the same step; only the loop's closure at section 0 may open. The
  // change is refused whole when a section cannot be placed so.
  Outcome KeepingJoined(int first, const std::function<Outcome(TEditor&)>& change);

  TTrack& Track() const { return track_; }
  THistory& History() const { return history_; }

 private:
  // Keeps a step that was done, or reports why there is none.
  template <typename Step>
  Outcome Keep(std::unique_ptr<Step> step, bool accepted = true);

  TTrack& track_;
  THistory& history_;
  int joinFrom_ = -1;  // while KeepingJoined runs: the first section to place
};

}  // namespace history
}  // namespace meridal
