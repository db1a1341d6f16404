#pragma once
// The colours of a lap's speeds, one scale for the plan and the 3D view: blue
// where the car is slowest, through cyan, green and yellow, to red where it is
// fastest.
//
//   TColor c = SpeedColour(v, lap.lowestSpeed, lap.topSpeed);
#include "platform/canvas.h"

namespace meridal {

// The colour of `speed` on the scale from `lowest` to `top`, clamped to its ends;
// the scale's middle when the two are equal.
TColor SpeedColour(double speed, double lowest, double top);

}  // namespace meridal
