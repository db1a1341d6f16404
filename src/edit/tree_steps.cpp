#include "edit/tree_steps.h"

namespace meridal::edit {

ITreeNodes* TreeOf(const TTrack* track) {
  // Without the track's own node there is no parent to add new nodes under.
  if (track == nullptr || track->Nodes == nullptr || track->TreeNode == nullptr) return nullptr;
  return track->Nodes;
}

TreeEventsPaused::TreeEventsPaused(TTrack* track) : track_(track) {
  if (track_) track_->TreeEventsEnabled = false;
}

TreeEventsPaused::~TreeEventsPaused() {
  if (track_) track_->TreeEventsEnabled = true;
}

void DeleteNode(ITreeNodes* nodes, TBase& object) {
  if (nodes == nullptr || object.TreeNode == nullptr) return;
  nodes->Delete(object.TreeNode);
  object.TreeNode = nullptr;
}

void DeleteSectionNodes(TTrack& track, TSection& section) {
  ITreeNodes* nodes = TreeOf(&track);
  if (nodes == nullptr) return;
  // The whole sequence runs paused, not only the section's own node: a selected
  // altitude or wall node moves the selection just as well.
  TreeEventsPaused paused(&track);
  for (auto& altitude : section.Altitudes) DeleteNode(nodes, *altitude);
  for (auto& wall : section.Walls) DeleteNode(nodes, *wall);
  DeleteNode(nodes, section);
}

void AddAltitudeNode(ITreeNodes* nodes, TSection& section, int index) {
  if (nodes == nullptr || section.TreeNode == nullptr) return;
  TAltitude& added = *section.Altitude(index);
  const std::string label = added.Label(std::string());
  NodeHandle next = nullptr;
  if (index + 1 < section.NumberOfAltitudes()) next = section.Altitude(index + 1)->TreeNode;
  else if (section.NumberOfWalls() > 0) next = section.Wall(0)->TreeNode;
  added.TreeNode = next ? nodes->Insert(next, label, &added) : nodes->AddChild(section.TreeNode, label, &added);
  nodes->SetImages(added.TreeNode, kNodeImageAltitude, kNodeImageAltitudeSelected);
  for (int i = index + 1; i < section.NumberOfAltitudes(); ++i) Relabel(nodes, *section.Altitude(i));
}

void Relabel(ITreeNodes* nodes, TBase& object) {
  if (nodes == nullptr || object.TreeNode == nullptr) return;
  nodes->SetText(object.TreeNode, object.Label(std::string()));
}

void Select(ITreeNodes* nodes, TBase& object) {
  if (nodes == nullptr || object.TreeNode == nullptr) return;
  nodes->Select(object.TreeNode);
}

}  // namespace meridal::edit
