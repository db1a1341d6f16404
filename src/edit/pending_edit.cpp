// Placeholder bodies until the structural edits land; this file goes then.
#include "model/track.h"

namespace meridal {
bool TTrack::RemoveChild(int32_t) { return false; }
bool TTrack::AddChild(int32_t, bool) { return false; }
bool TTrack::SplitChild(int32_t, int32_t) { return false; }
bool TTrack::ChangeChildType(int32_t) { return false; }
bool TSection::RemoveChild(int32_t) { return false; }
bool TSection::AddChild(int32_t, bool) { return false; }
bool TTrack::CopyWalls(int, int) { return false; }
bool TTrack::RemoveTrace(int) { return false; }
bool TTrack::AddTrace(int) { return false; }
void TSection::CopyAltitude(int) {}
void TSection::RemoveAltitude(int) {}
void TSection::InsertAltitude(int) {}
}  // namespace meridal
