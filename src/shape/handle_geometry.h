#pragma once
// Where a section's handles sit, and the value each handle takes when it is let
// go at a point of the plan. Only geometry: nothing here changes the track.
//
//   const TPointD p = HandlePoint(section, Handle::Radius, 0);
//   const TAim aim = AimAt(section, Handle::End, pointer, grab, previousSweep);
//   if (aim.stop == Stop::None) ApplyAim(section, Handle::End, aim);
#include <cstdint>

#include "model/values.h"
#include "shape/shape_rules.h"

namespace meridal {
class TSection;
}

namespace meridal::shape {

// Where a handle is drawn and grabbed. The heading handle lies `headingReach`
// units beyond the end along the end's heading; an arc's radius handle at its
// midpoint. A straight has no radius handle (its end point is given).
TPointD HandlePoint(const TSection& section, Handle handle, double headingReach);
// Whether the section has this handle: every section but the radius of a straight.
bool HasHandle(const TSection& section, Handle handle);

// The value a handle takes: a Length (straight end), a Curvature (arc end), a
// Radius, an Orientation, or a start point (Move). `sweep` is the arc's swept
// angle in radians, unwrapped along the drag.
struct TAim {
  Stop stop = Stop::None;
  int64_t value = 0;
  double sweep = 0;
  TPointD start;
};

// The value of `handle` let go at `p`. `grab` is where the move began (a move
// keeps the start where the pointer was against it); `previousSweep` is the sweep
// the arc's end had a moment ago, so that the angle follows the pointer round
// rather than jumping by a turn; pass the section's own sweep at first. No
// snapping here.
TAim AimAt(const TSection& section, Handle handle, TPointD p, TPointD grab, double previousSweep);
// The same with the value rounded to the grid or the angle step.
TAim SnapAim(const TSection& section, Handle handle, const TAim& aim, const TSnapRules& rules);
// Puts the value in place through the section's setters, as Edit Value would;
// false, with nothing changed, when a setter refuses.
bool ApplyAim(TSection& section, Handle handle, const TAim& aim);

// What a number typed during a drag of the handle gives: a length (a straight's
// Length, an arc's radius), an angle (an arc's sweep, the heading), or nothing
// (a moved section).
enum class Typed { None, Length, Angle };
Typed TypedKind(const TSection& section, Handle handle);
// The value a typed number gives the handle, exactly: `value` is in track units
// for a length and in radians for an angle. A sweep keeps the arc's side (its
// magnitude is what counts); a heading is the start's heading itself. A stop,
// as for a pointer, when the section cannot take it.
TAim TypedAim(const TSection& section, Handle handle, double value);

// The Length an arc of this curvature and radius takes: nearest(angle * radius).
int64_t ArcLength(int64_t curvature, double radius);

}  // namespace meridal::shape
