#pragma once
// The track's structural edits: sections removed, added, split and retyped, walls
// removed, added and copied, traces removed and added, an altitude's profile
// copied. Each either refuses and changes nothing, or leaves the objects numbered
// in list order with their starts and file record indices recomputed. They know
// nothing of views or of the history: a document runs them as steps and tells its
// views what changed.
#include <cstdint>

namespace meridal {

class TBase;
class TSection;
class TTrack;

namespace edit {

// ---- sections ----
// Removes section n (a track keeps at least one).
bool RemoveChild(TTrack& track, int32_t n);
// Inserts a copy of section n before or after it, joined to the section before it.
bool AddChild(TTrack& track, int32_t n, bool before);
// Splits section n into two of firstLength and the rest.
bool SplitChild(TTrack& track, int32_t n, int32_t firstLength);
// Whether SplitChild would take that length, without changing anything.
bool SplitAccepted(const TTrack& track, int32_t n, int32_t firstLength);
// Turns a straight into an arc of the same length and an arc into a straight.
bool ChangeChildType(TTrack& track, int32_t n);
// Places a section where the one before it ends, with its end heading, as Join
// All Positions does: the heading first, then the start (the gaps are measured
// along the heading). A section already joined is left alone.
bool JoinToPrevious(TSection& section);

// ---- walls of a section ----
// Removes wall k (a section keeps at least two).
bool RemoveChild(TSection& section, int32_t k);
// Adds a wall beside wall k.
bool AddChild(TSection& section, int32_t k, bool before);
// Replaces the walls of `destination` by copies of those of `source`.
bool CopyWalls(TTrack& track, int source, int destination);
// CopyWalls from `source` to every section in order (the menu's Copy Walls To All).
bool CopyWallsToAll(TTrack& track, int source);

// ---- traces and altitudes ----
bool RemoveTrace(TTrack& track, int n);
// A trace inserted at n (n = the number of traces: after the last).
bool AddTrace(TTrack& track, int n);
// Copies one altitude's profile to every altitude of its section.
void CopyAltitude(TSection& section, int index);

// ---- the operations of an object, forwarded to its owner with its number ----
bool Remove(TBase& object);
bool Add(TBase& object, bool before);
bool Split(TBase& object, int32_t firstLength);
bool ChangeType(TBase& object);

}  // namespace edit
}  // namespace meridal
