#pragma once
// The highlight the plan's drawing shows: the selected section, and its selected
// wall or altitude, as the section objects' highlight fields.
#include "model/object_path.h"

namespace meridal {

class TTrack;

// Marks the object at `path` (and nothing else) as highlighted.
void SetHighlight(const TTrack& track, const TObjectPath& path);

}  // namespace meridal
