#pragma once
// The selection the views draw, as a path, read from where the model keeps its
// highlight today: the track's SelectedChild (the section), that section's
// SelectedChild (a wall) or SelectedItem (an altitude). The drawing takes the
// selection as a path and reads no highlight field itself; this one function is
// where a path is made from the fields, until the document keeps the selection.
#include "model/object_path.h"

namespace meridal {

class TTrack;

// The highlighted wall, else the highlighted altitude, else the highlighted
// section, else the track (nothing highlighted). Indices out of range count as
// not highlighted.
TObjectPath HighlightPath(const TTrack& track);

}  // namespace meridal
