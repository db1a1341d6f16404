#pragma once
// The texts a drag shows beside the pointer: the value the handle holds and its
// change since the press, the loop's closure, and how values snap.
//
//   "Length 78.54 m (+3.20 m)"
//   "Sweep 92.5° (+2.5°) · R 50.00 m"
//   "Loop open by 0.12 m, 0.3°"   or   "Loop closed"
//   "Snap 0.5 m, 5°"
#include <string>

namespace meridal {
class TTrack;
}

namespace meridal::shape {

class TShapeDrag;

// The handle's value and its change since the press.
std::string ValueText(const TTrack& track, const TShapeDrag& drag);
// The gap between the last section's end and section 0's start, along and across
// section 0's heading, and the mismatch of its heading. "Loop closed" only when
// every joint of the track meets; with section 0's joint closed and another
// open, the largest gap and its section.
std::string LoopText(const TTrack& track);
// The closure a section being drawn out of section `section`'s end would make,
// its end at (endX, endY) heading `endOrientation`: against section 0's start
// for the last section ("Loop open by 3.20 m, 12.0°", "Loop closed"), against
// the next start otherwise ("Next start open by …", "Next start met").
std::string DrawnLoopText(const TTrack& track, int section, double endX, double endY, int32_t endOrientation);
// "Snap 0.5 m, 5°", "Snap on the next start", "Snap off".
std::string SnapText(const TShapeDrag& drag);
// The three, one to a line.
std::string DragReadout(const TTrack& track, const TShapeDrag& drag);

}  // namespace meridal::shape
