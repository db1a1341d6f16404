#pragma once
// The property list of a run of several selected sections: how many and how long
// they are, then the rows of the run's current section. Editing one of those
// values sets it on every section of the run that has it; a value the sections
// of the run do not share says so in its comment.
#include <string>

#include "model/section_run.h"
#include "present/rows.h"

namespace meridal {

class TTrack;

// "Sections 3 to 6", or the section's own label for a run of one.
std::string RunLabel(const TTrack& track, TSectionRun run);

// Replaces `rows` by the run's rows, `current` being the selected section.
void FillRunProperties(const TTrack& track, TSectionRun run, int current, RowList& rows);

}  // namespace meridal
