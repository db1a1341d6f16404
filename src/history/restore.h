#pragma once
// The structural changes an undo makes, with the tree kept in step the way the edit
// operations keep it: nodes of removed objects go first (with the tree's events
// paused), new objects get their nodes in place, renumbered ones their labels.
#include <vector>

#include "history/track_state.h"

namespace meridal {

class TSection;
class TTrack;

namespace history {

// Puts a section back at `index` from its recorded state.
TSection& InsertSection(TTrack& track, int index, const SectionState& state);
// Takes the section at `index` out of the track and destroys it.
void DeleteSection(TTrack& track, int index);
// Replaces the section at `index` by one built from its recorded state.
TSection& ReplaceSection(TTrack& track, int index, const SectionState& state);

// Gives a section the walls recorded: in place when it has as many, else new wall
// objects with their nodes. The track's record indices are left to the caller.
void ReplaceWalls(TTrack& track, TSection& section, const std::vector<WallState>& walls);
// Puts an altitude back at `index` of a section.
void InsertAltitude(TTrack& track, TSection& section, int index, const AltitudeState& state);

// Keeps every highlight index within its list after a structural undo or redo.
void ClampSelections(TTrack& track);

}  // namespace history
}  // namespace meridal
