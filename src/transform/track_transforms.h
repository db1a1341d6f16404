#pragma once
// Reverse and Mirror: the whole track made anew, each as plain values computed
// from the track as it stands (the track itself is not touched; the history puts
// the result in place as one step). Every stored value of the result comes from
// exact integer steps that are their own inverses, so that reversing twice, or
// mirroring twice, gives back every stored value exactly. A value that would not
// fit 32 bits refuses the whole transform: nothing, and the reason.
#include <optional>
#include <string>

#include "transform/track_rewrite.h"

namespace meridal {

class TTrack;

namespace transform {

// The track run the other way over the same ground. The start line stays where
// it is: section k is the former section n - 1 - k run backwards, starting where
// that one ended with its end heading turned by 180 degrees; an arc keeps its
// centre and radius and sweeps the other way. Lengths are kept. Traces and walls
// mirror (see lateral_flip.h); each height profile runs backwards with its trace.
std::optional<TTrackRewrite> ReversedTrack(const TTrack& track, std::string& reason);

// The track reflected across the line through section 0's start along its
// heading: left turns become right turns, each section keeps its place in the
// list, its length and its heights, traces and walls mirror as in Reverse (From
// stays at the start). Section 0's start and heading stay; its stored points turn
// half about the mirror's centre, the others' are mirrored by TLatticeMirror.
std::optional<TTrackRewrite> MirroredTrack(const TTrack& track, std::string& reason);

}  // namespace transform
}  // namespace meridal
