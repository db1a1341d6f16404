#pragma once
// The tree steps the structural edits share. Every edit changes the model first
// where it can and keeps the tree in step through the objects' node handles; a
// headless document (no tree) skips the tree steps and still gets the model edit.
#include "model/track.h"

namespace meridal::edit {

// The tree that shows the track, or nullptr when there is none to keep in step.
ITreeNodes* TreeOf(const TTrack* track);

// Clears the track's TreeEventsEnabled for the lifetime of the guard: deleting a
// node can move the tree's selection, and the selection handler must not reach the
// graph highlight while the model is half changed. Set back to true at the end.
class TreeEventsPaused {
 public:
  explicit TreeEventsPaused(TTrack* track);
  ~TreeEventsPaused();
  TreeEventsPaused(const TreeEventsPaused&) = delete;
  TreeEventsPaused& operator=(const TreeEventsPaused&) = delete;

 private:
  TTrack* track_;
};

// Deletes the object's node, if it has one, and forgets the handle.
void DeleteNode(ITreeNodes* nodes, TBase& object);
// Deletes the nodes of a section's altitudes, of its walls, then its own node, all
// with the tree events paused. Every handle involved is cleared.
void DeleteSectionNodes(TTrack& track, TSection& section);
// Gives a section's altitude `index` its node in its place (before the next
// altitude's node, or before the first wall's: the altitudes come first) and the
// altitudes after it their new labels. Nothing without a tree or a section node.
void AddAltitudeNode(ITreeNodes* nodes, TSection& section, int index);
// Gives a renumbered object's node its new label.
void Relabel(ITreeNodes* nodes, TBase& object);
// Selects the object's node (the selection handler runs at once).
void Select(ITreeNodes* nodes, TBase& object);

}  // namespace meridal::edit
