#pragma once
// Drawing a new section out of a section's end: a straight along the end's
// heading to the pointer, or an arc that leaves the end tangentially and passes
// through the pointer. The new section is made as Add After makes one (a copy
// placed at the end, with its walls running on and its heights ramping to the
// next start), of the kind asked for, and then given its length, or its radius
// and sweep, through its setters.
//
//   const TDrawAim aim = AimDraw(track, 9, DrawKind::Arc, pointer, rules);
//   auto step = DrawSection(track, 9, aim);   // "Draw Arc after Section 9"
#include <memory>
#include <string>

#include "history/step.h"
#include "model/values.h"
#include "shape/shape_rules.h"

namespace meridal {
class TTrack;
}

namespace meridal::shape {

enum class DrawKind { Straight, Arc };

struct TDrawAim {
  DrawKind kind = DrawKind::Straight;
  Stop stop = Stop::None;
  int64_t length = 0;     // a straight's Length
  int64_t radius = 0;     // an arc's Radius (signed: left positive)
  int64_t curvature = 0;  // an arc's Curvature
  bool landed = false;    // snapped onto the next section's start
};

// Whether a new section may be drawn out of the end of section `section`: from
// the last section's end, and from any end whose next section does not start
// there (within a unit).
bool MayDrawFrom(const TTrack& track, int section);
// What a new section drawn out of section `section`'s end to `p` would be. With
// snapping on, an end that comes within reach of the next start lands on it
// where the kind of section can, and otherwise lengths and radii go to the grid
// and an arc's sweep to the angle step.
TDrawAim AimDraw(const TTrack& track, int section, DrawKind kind, TPointD p, const TSnapRules& rules);
// The section being drawn given a typed value exactly: a straight its Length
// (`value` in units), an arc its sweep (`value` in radians, its magnitude; the
// arc keeps the side and the radius the pointer gave `current`, and stops when
// it has none yet).
TDrawAim TypedDraw(const TDrawAim& current, double value);
// The drawn section inserted after `section` as one step, or nullptr with the
// track unchanged (and `stop` saying why) when a setter refuses.
std::unique_ptr<history::TStep> DrawSection(TTrack& track, int section, const TDrawAim& aim, Stop& stop);
// "Draw Straight after Section 9", "Draw Arc after Section 9".
std::string DrawText(DrawKind kind, int section);
// "Straight 12.50 m", "Arc R 40.00 m · Sweep 35.0°".
std::string DrawReadout(const TDrawAim& aim);

}  // namespace meridal::shape
