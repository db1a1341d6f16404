#include "history/step.h"

namespace meridal::history {

void TStep::Apply(TTrack& track, bool forward, TTrackChange& change) const {
  ApplyChange(track, forward, change);
  change.local = local_;
  change.boxes = boxes_;
}

TTrackChange TStep::Made() const {
  TTrackChange change;
  DescribeChange(change);
  change.local = local_;
  change.boxes = boxes_;
  return change;
}

}  // namespace meridal::history
