#pragma once
// Where the track's loop is not closed: every section whose start does not meet
// the previous section's end, in position or in heading. The command line's
// check lists them; the editor counts them after an export.
#include <cstdint>
#include <vector>

namespace meridal {

class TTrack;

struct LoopGap {
  int section = 0;  // the section whose start is off
  int32_t orientationMismatch = 0;
  int32_t longitudinalGap = 0;
  int32_t lateralGap = 0;
};

std::vector<LoopGap> LoopGaps(TTrack& track);

}  // namespace meridal
