#pragma once
// What a drag of the plan view's handles may do: the handles, how values snap,
// and why a handle stops. Everything here is in track units and radians unless a
// name says otherwise.
#include <cstdint>
#include <string>

#include "model/values.h"

namespace meridal::shape {

// The handles of the selected section.
enum class Handle {
  End,      // a straight's length, an arc's sweep
  Radius,   // an arc's radius, about its midpoint
  Heading,  // the section turned about its start
  Move,     // the whole section moved
};

// "End", "Radius", "Heading", "Move"; the command line's words are these in lower case.
const char* HandleName(Handle handle);
// The handle named by a command-line word, case-insensitive; false when none is.
bool HandleOfWord(const std::string& word, Handle& handle);

// Why a handle stops at its last valid value.
enum class Stop {
  None,
  LengthBelowOne,  // the section would shrink below one unit
  OutsideRange,    // a stored value (or the track's length) would leave 32 bits
  Refused,         // the value is one that Edit Value refuses
  LaterSections,   // a later section could not follow the dragged one
};

// "Drag stopped: Length below 1" and so on; empty for None.
std::string StopText(Stop stop);

// How values snap while dragging.
struct TSnapRules {
  bool on = true;
  double reach = 0;   // units: how near a start the dragged end must come to land on it
  double grid = 0;    // units: lengths and radii in multiples of this
  double angle = 1;   // degrees: sweeps and headings in multiples of this
};

// The grid steps a drag may take, in metres: 0.1, 0.5, 1, 5, 10, 50 ...
// The smallest step of at least `minimumPixels` at this zoom.
double GridMetres(double pixelsPerUnit, double minimumPixels = 12);
// The command line's rules: the end lands on a start within 0.5 m, the grid is
// 0.5 m and angles go in whole degrees.
TSnapRules CommandLineSnap(bool on);
// The angle steps the read-out offers in turn: 1, 5 and 15 degrees.
double NextAngleStep(double degrees);

// Rounds `value` (units) to a multiple of `step` metres, exactly as the stored
// unit allows: nearest(k * step * units per metre).
int64_t SnapToGrid(double value, double stepUnits);
// Rounds an angle (radians) to a multiple of `stepDegrees`.
double SnapAngle(double radians, double stepDegrees);

// The end of a dragged section lands on a start when it comes within this many
// units of it after the snapped value is applied: the stored values are whole
// units, so an end can only be put on a point to within a unit or so.
constexpr double kLandsExactly = 2.0;

}  // namespace meridal::shape
