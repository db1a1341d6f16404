// A section's wall edits (remove one, add one) and the track's Copy Walls. The
// wall list stays ordered from right to left at both ends of the section.
#include <cstdint>
#include <memory>

#include "edit/track_edits.h"
#include "model/numbers.h"
#include "model/section.h"
#include "model/track.h"

namespace meridal {

namespace {

// The lateral position of a wall inserted at `at` into an ordered list of `count`
// positions (count >= 1): one strip width beyond the first or last wall, or halfway
// between its two neighbours (integer halving, toward zero). Computed in 64 bits;
// false when the extrapolated position lies beyond the 32-bit range, where it
// would wrap around to the wrong side and break the order. With a single wall
// (only a damaged file has one) there is no strip width and the new wall takes
// the wall's own position.
template <typename Position>
bool NewWallPosition(int count, int at, Position position, int32_t& result) {
  int64_t value;
  if (at == 0) {
    const int64_t first = position(0), second = position(count >= 2 ? 1 : 0);
    value = 2 * first - second;
  } else if (at == count) {
    const int64_t last = position(count - 1), before = position(count >= 2 ? count - 2 : count - 1);
    value = 2 * last - before;
  } else {
    value = (static_cast<int64_t>(position(at - 1)) + position(at)) / 2;
  }
  if (!inInt32Range(value)) return false;
  result = static_cast<int32_t>(value);
  return true;
}

// Replaces the destination's walls by copies of the source's; the record indices
// are left to the caller.
void ReplaceWallsByCopies(const TSection& from, TSection& to) {
  // As many walls already: they take the values in place, and stay the objects
  // the views know.
  if (to.Walls.size() == from.Walls.size()) {
    for (size_t k = 0; k < from.Walls.size(); ++k) to.Walls[k]->Values() = from.Walls[k]->Values();
  } else {
    to.Walls.clear();
    for (const auto& wall : from.Walls) to.Walls.push_back(std::make_unique<TWall>(&to, *wall));
  }
  // Copied by lateral position, so the copies follow the destination's geometry.
  for (int k = 0; k < to.NumberOfWalls(); ++k) to.RecomputeWallPoints(k);
  to.RecomputeExtent();
}

}  // namespace

namespace edit {

bool RemoveChild(TSection& section, int32_t index) {
  const int count = section.NumberOfWalls();
  if (count < 3 || index < 0 || index >= count) return false;
  section.Walls.erase(section.Walls.begin() + index);
  for (int k = index; k < section.NumberOfWalls(); ++k) section.Wall(k)->Number = k;
  if (TTrack* track = section.Track()) track->RecomputeRecordIndices();
  section.RecomputeExtent();
  return true;
}

bool AddChild(TSection& section, int32_t index, bool before) {
  const int count = section.NumberOfWalls();
  // A wall is added beside an existing one; an index outside the list has none.
  if (index < 0 || index >= count) return false;
  const int at = before ? index : index + 1;
  int32_t from = 0, to = 0;
  if (!NewWallPosition(count, at, [&](int k) { return section.Wall(k)->From; }, from) ||
      !NewWallPosition(count, at, [&](int k) { return section.Wall(k)->To; }, to))
    return false;

  auto wall = std::make_unique<TWall>(&section);
  wall->From = from;
  wall->To = to;
  wall->Surface = kSurfaceTarmac;
  section.Walls.insert(section.Walls.begin() + at, std::move(wall));
  section.RecomputeWallPoints(at);
  section.RecomputeExtent();
  for (int k = at; k < section.NumberOfWalls(); ++k) section.Wall(k)->Number = k;
  if (TTrack* track = section.Track()) track->RecomputeRecordIndices();
  return true;
}

bool CopyWalls(TTrack& track, int source, int destination) {
  const int n = track.NumberOfSections();
  if (source < 0 || source >= n || destination < 0 || destination >= n) return false;
  if (source == destination) return true;
  ReplaceWallsByCopies(*track.Section(source), *track.Section(destination));
  track.RecomputeRecordIndices();
  return true;
}

bool CopyWallsToAll(TTrack& track, int source) {
  if (source < 0 || source >= track.NumberOfSections()) return false;
  // Every section in order, the source itself left as it is; the record indices
  // once at the end rather than once a section.
  for (int j = 0; j < track.NumberOfSections(); ++j)
    if (j != source) ReplaceWallsByCopies(*track.Section(source), *track.Section(j));
  track.RecomputeRecordIndices();
  return true;
}

}  // namespace edit
}  // namespace meridal
