#pragma once
// Joining a chain of sections so that the loop closes at the last joint too.
//
// Rounding the start of each section to stored integers leaves up to half a unit
// at every joint, and these add up along the loop: joining each section to its
// predecessor in turn leaves the loop's own joint a few units open. The join
// here looks, at each joint, at the placements within half a unit of the
// predecessor's end that the check still reads as joined, and takes the one that
// brings the end of the whole chain closest to section 0's start.
#include <functional>
#include <memory>

namespace meridal {

class TSection;
class TTrack;

// A copy of every section, altitude and wall with all their values, for trying a
// change without touching the document.
std::unique_ptr<TTrack> CopyTrack(const TTrack& track);

// Joins sections 1 to NS - 1 to their predecessors (heading first, then the
// start). A section before `steerFrom` that meets its predecessor already is
// left where it is; from `steerFrom` on every section is placed anew, steering
// the loop's end onto section 0's start. From `nudgeFrom` on an arc whose start
// cannot be read as joined may take a radius a unit or two different. False when
// a section refused to be placed (a position beyond the plan).
bool JoinSteered(TTrack& track, int steerFrom, int nudgeFrom);

// Places `section` at its predecessor's end so that the check reads it as
// joined: the plain placement first, then the stored starts within half a unit
// of it, then, if none reads as joined, a length or radius a unit or two
// different. False, and the section back at the plain placement, when none joins.
bool PlaceJoined(TSection& section);

// How far the last section's end misses section 0's start, in section 0's
// heading: the longitudinal and lateral gaps before they are rounded.
struct TSeam {
  double along = 0, across = 0;
  int32_t turn = 0;  // the orientation mismatch
};
TSeam LoopSeam(const TTrack& track);

}  // namespace meridal
