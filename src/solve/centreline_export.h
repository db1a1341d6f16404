#pragma once
// The track's zero line as a centreline: a point every `step` metres along the
// loop, with the widths to its outermost walls, in the CSV layout the fit reads
// ("# x_m,y_m,w_tr_right_m,w_tr_left_m"), so that a race-line optimiser that
// reads that layout can take a track built here, and a fit of it gives the same
// shape back.
#include <string>

namespace meridal {

class TTrack;

// Empty when the track has no length or `step` is not more than 0.
std::string CentrelineCsv(const TTrack& track, double step);

}  // namespace meridal
