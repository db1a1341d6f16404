// A section's wall edits (remove one, add one) and the track's Copy Walls. The
// wall list stays ordered from right to left at both ends of the section.
#include <cstdint>
#include <memory>

#include "edit/tree_steps.h"
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

}  // namespace

bool TSection::RemoveChild(int32_t index) {
  const int count = NumberOfWalls();
  if (count < 3 || index < 0 || index >= count) return false;
  TTrack* track = Track();
  ITreeNodes* nodes = edit::TreeOf(track);
  {
    edit::TreeEventsPaused paused(track);
    edit::DeleteNode(nodes, *Wall(index));
  }
  Walls.erase(Walls.begin() + index);
  for (int k = index; k < NumberOfWalls(); ++k) {
    Wall(k)->Number = k;
    edit::Relabel(nodes, *Wall(k));
  }
  if (track) track->RecomputeRecordIndices();
  RecomputeExtent();
  SelectedChild = index < NumberOfWalls() ? index : NumberOfWalls() - 1;
  edit::Select(nodes, *Wall(SelectedChild));
  return true;
}

bool TSection::AddChild(int32_t index, bool before) {
  const int count = NumberOfWalls();
  // A wall is added beside an existing one; an index outside the list has none.
  if (index < 0 || index >= count) return false;
  const int at = before ? index : index + 1;
  int32_t from = 0, to = 0;
  if (!NewWallPosition(count, at, [&](int k) { return Wall(k)->From; }, from) ||
      !NewWallPosition(count, at, [&](int k) { return Wall(k)->To; }, to))
    return false;

  auto wall = std::make_unique<TWall>(this);
  wall->From = from;
  wall->To = to;
  wall->Surface = kSurfaceTarmac;
  Walls.insert(Walls.begin() + at, std::move(wall));
  RecomputeWallPoints(at);
  RecomputeExtent();
  for (int k = at; k < NumberOfWalls(); ++k) Wall(k)->Number = k;

  TTrack* track = Track();
  ITreeNodes* nodes = edit::TreeOf(track);
  if (nodes && TreeNode) {
    // The wall nodes are rebuilt in order, in one update of the tree.
    nodes->BeginUpdate();
    {
      edit::TreeEventsPaused paused(track);
      for (auto& w : Walls) edit::DeleteNode(nodes, *w);
    }
    for (auto& w : Walls) w->AddToTree(*nodes, TreeNode);
    nodes->EndUpdate();
  }
  if (track) track->RecomputeRecordIndices();
  // Selected once the model is complete and the tree events are back, so that the
  // graph highlight follows the tree to the new wall.
  edit::Select(nodes, *Wall(at));
  return true;
}

namespace {

// Replaces the destination's walls by copies of the source's, nodes included; the
// record indices are left to the caller.
void ReplaceWallsByCopies(TTrack& track, const TSection& from, TSection& to) {
  ITreeNodes* nodes = edit::TreeOf(&track);
  if (nodes) nodes->BeginUpdate();
  {
    edit::TreeEventsPaused paused(&track);
    for (auto& wall : to.Walls) edit::DeleteNode(nodes, *wall);
    to.Walls.clear();
    // Copied by lateral position, so the copies follow the destination's geometry.
    for (const auto& wall : from.Walls) to.Walls.push_back(std::make_unique<TWall>(&to, *wall));
    for (int k = 0; k < to.NumberOfWalls(); ++k) {
      if (nodes && to.TreeNode) to.Wall(k)->AddToTree(*nodes, to.TreeNode);
      to.RecomputeWallPoints(k);
    }
    to.RecomputeExtent();
  }
  if (nodes) nodes->EndUpdate();
  // A highlighted wall past the new last one becomes the last one.
  if (to.SelectedChild >= to.NumberOfWalls()) to.SelectedChild = to.NumberOfWalls() - 1;
}

}  // namespace

bool TTrack::CopyWalls(int source, int destination) {
  if (source < 0 || source >= NumberOfSections() || destination < 0 || destination >= NumberOfSections())
    return false;
  if (source == destination) return true;
  ReplaceWallsByCopies(*this, *Section(source), *Section(destination));
  RecomputeRecordIndices();
  return true;
}

bool TTrack::CopyWallsToAll(int source) {
  if (source < 0 || source >= NumberOfSections()) return false;
  // Every section in order, the source itself left as it is; the record indices
  // once at the end rather than once a section.
  for (int j = 0; j < NumberOfSections(); ++j)
    if (j != source) ReplaceWallsByCopies(*this, *Section(source), *Section(j));
  RecomputeRecordIndices();
  return true;
}

}  // namespace meridal
