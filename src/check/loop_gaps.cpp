#include "check/loop_gaps.h"

#include "model/track.h"

namespace meridal {

std::vector<LoopGap> LoopGaps(TTrack& track) {
  std::vector<LoopGap> gaps;
  for (int i = 0; i < track.NumberOfSections(); ++i) {
    TSection* section = track.Section(i);
    const LoopGap gap{i, section->OrientationMismatch(), section->LongitudinalGap(), section->LateralGap()};
    if (gap.orientationMismatch != 0 || gap.longitudinalGap != 0 || gap.lateralGap != 0) gaps.push_back(gap);
  }
  return gaps;
}

}  // namespace meridal
