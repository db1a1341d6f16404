#pragma once
// The plan view's shaping for the documentation's pictures: a drag of an arc's
// end in progress with its read-out, or an arc being drawn out of the last
// section's end. Real mouse events on the plan view's handles, left unreleased.
namespace meridal {

class TFormMain;

// The plan view maximised and zoomed on the section; the drag (drawArc false:
// the first arc's end; true: a new arc out of the last section's end) under way.
void ShowShaping(TFormMain& window, bool drawArc);

}  // namespace meridal
