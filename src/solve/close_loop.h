#pragma once
// Close Loop: the smallest change of the sections' free values (the lengths of
// straights, the sweep angles and radii of arcs) that makes the circuit meet
// itself, the last section ending where section 0 starts, with its heading.
//
// Planning and applying are apart, so that a dialog can show what would change
// before anything does: PlanCloseLoop works on a copy and leaves the track as it
// is; ApplyCloseLoop makes the plan one "Close Loop" step of the history.
//
//   const TLoopPlan plan = PlanCloseLoop(editor.Track(), {0, -1});
//   if (!plan.closes) report(plan.refusal);
//   else ApplyCloseLoop(editor, plan);
//
// "Smallest" is a weighted least-squares sense in which each value's change
// counts relative to the value itself: a metre more on a 20 m straight costs as
// much as ten on a 200 m one. Sections before the range keep their places;
// sections after it keep their shape and move as a whole with the joints.
#include <cstdint>
#include <string>
#include <vector>

#include "history/editor.h"

namespace meridal {

class TTrack;

// Sections `first` to `last`, both included; a `last` of -1 stands for the last
// section.
struct TLoopRange {
  int first = 0;
  int last = -1;
};

// One free value the plan changes: "Length", "Curvature" or "Radius".
struct TLoopValue {
  int section = 0;
  std::string name;
  int32_t before = 0, after = 0;
};

struct TLoopPlan {
  bool closes = false;  // false: refused, and `refusal` says why
  std::string refusal;
  bool alreadyClosed = false;  // nothing to do: the end meets the start already
  std::vector<TLoopValue> values;
  int largest = -1;  // the value that changes most for its size, an index into `values`
  // Where the chain of sections ends against section 0's start, before: the
  // distance in track units and the heading in 32-bit orientation units.
  double gapBefore = 0;
  int32_t turnBefore = 0;
  // The solution before rounding to stored integers: how far it misses, in track
  // units (the numerical solver's own residual).
  double residualSolved = 0;
  // The loop's own joint after rounding and joining, in track units: the larger
  // of its longitudinal and lateral gaps before they are rounded for the rows.
  double residualAfter = 0;
  // The first section placed anew when joining: those before it keep their places.
  int steerFrom = 1;
  // Every joint, the loop's own among them, reads as joined once the values are
  // set and the sections joined.
  bool joined = false;
  // The joins take a radius or a length a unit or two different where no start
  // reads as joined: `values` lists those too, and `set` holds the values set
  // before joining.
  bool nudge = false;
  std::vector<TLoopValue> set;
};

// The plan for sections `range`; the track is not changed.
TLoopPlan PlanCloseLoop(const TTrack& track, TLoopRange range = {});

// Sets the plan's values and joins every section to its predecessor from section
// 1 on, as one step named "Close Loop". Changed, or Refused for a plan that does
// not close, or Unchanged when there is nothing to do.
history::Outcome ApplyCloseLoop(history::TEditor& editor, const TLoopPlan& plan);

// The plan's values and joins on a track outside any history (a track being
// built): an arc whose start cannot be read as joined may take a radius a unit or
// two different.
bool ApplyLoopPlan(TTrack& track, const TLoopPlan& plan);

// "Section 3: length 50 m → 50.012345 m, changed".
std::string LoopValueText(const TLoopValue& value);
// "Loop closed: gap 1.2 m, turn 0.5 ° before; 0.01 mm after rounding"; a
// residual over one stored unit is said so.
std::string LoopSummaryText(const TLoopPlan& plan);

// Parses "A-B" (section numbers) into a range; false for anything else.
bool ParseLoopRange(const std::string& text, TLoopRange& range);

}  // namespace meridal
