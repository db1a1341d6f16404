#pragma once
// The track check kept up to date from a change: only the joints the change
// touched are checked again, the other problems are kept (renumbered past
// sections that came or went, and past traces that came or went). The list
// comes out exactly as CheckTrack would give it.
//
//   std::vector<TTrackProblem> problems = CheckTrack(track);
//   ... an edit announces `change` ...
//   UpdateCheck(track, change, problems);
#include <vector>

#include "check/track_check.h"
#include "history/track_change.h"

namespace meridal {

void UpdateCheck(const TTrack& track, const TTrackChange& change, std::vector<TTrackProblem>& problems,
                 const TCheckLimits& limits = {});

}  // namespace meridal
