#pragma once
// The plan view's shaping for the documentation's pictures: a drag of an arc's
// end in progress with its read-out, an arc being drawn out of the last
// section's end, or a straight drawn from there with its length being typed.
// Real mouse events and keys on the plan view, the drag left unreleased.
#include "ui/screenshot.h"

namespace meridal {

class TFormMain;

// The plan view maximised and zoomed on the section; the scene (Drag: the first
// arc's end; DrawArc, DrawStraight: drawing out of the last section's end, the
// tool chosen by its key) under way.
void ShowShaping(TFormMain& window, ScreenshotView scene);

}  // namespace meridal
