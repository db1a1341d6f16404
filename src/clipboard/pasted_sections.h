#pragma once
// Sections copied from one track made ready to join another after one of its
// sections: the first starts where that section ends, with its end heading, and
// each of the others where the one before it ends, so that they follow joined.
// They keep their kind, lengths, arcs (curvature and radius) and walls. Their
// altitude profiles are taken at the target's trace positions from the source's
// (linear between the two source traces either side, the outer trace's beyond
// them; a trace at a source trace's position takes its profile as it is), then
// each trace's heights are shifted so that the first section starts at the
// height where the target section ends.
#include <memory>
#include <string>
#include <vector>

namespace meridal {

class TSection;
class TTrack;

namespace clipboard {

// The sections of `source`, owned by `target` but not yet in its list, placed
// after section `after`. False with the reason, and nothing made, when a value
// would not fit 32 bits: a point beyond the plan, a height, the track's length or
// the counts its files keep.
bool FitPastedSections(TTrack& target, int after, const TTrack& source,
                       std::vector<std::unique_ptr<TSection>>& made, std::string& reason);

}  // namespace clipboard
}  // namespace meridal
