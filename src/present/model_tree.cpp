// How each kind of object appears in the tree, its label, and the Edit commands it
// allows.
#include "model/curved_section.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "platform/edit_commands.h"
#include "present/format.h"

namespace meridal {

namespace {

// Sets the eight command items (the separators are left alone).
void EnableItems(IEditCommands& menu, bool structural, bool sectionOnly, bool copyAltitude) {
  menu.SetEnabled(kEditRemove, structural);
  menu.SetEnabled(kEditAddBefore, structural);
  menu.SetEnabled(kEditAddAfter, structural);
  menu.SetEnabled(kEditSplit, sectionOnly);
  menu.SetEnabled(kEditChangeType, sectionOnly);
  menu.SetEnabled(kEditCopyWallsFrom, sectionOnly);
  menu.SetEnabled(kEditCopyWallsToAll, sectionOnly);
  menu.SetEnabled(kEditCopyAltitude, copyAltitude);
}

}  // namespace

// ---- labels ----
// "%s %i" of the kind's word and the number (and "%s %i %s" with the section's
// kind), put together without a format string: a trace edit relabels tens of
// thousands of nodes.

std::string TStraightSection::Label(const std::string&) const {
  return "Section " + std::to_string(Number) + " (straight)";
}
std::string TCurvedSection::Label(const std::string&) const { return "Section " + std::to_string(Number) + " (curved)"; }
std::string TWall::Label(const std::string&) const { return "Wall " + std::to_string(Number); }
std::string TAltitude::Label(const std::string&) const { return "Altitude " + std::to_string(Number); }

// ---- the tree ----

void TTrack::AddToTree(ITreeNodes& nodes, NodeHandle parent) {
  Nodes = &nodes;
  TreeNode = nodes.AddChild(parent, "Track", this);
  nodes.SetImages(TreeNode, kNodeImageTrack, kNodeImageTrackSelected);
  nodes.BeginUpdate();
  // From the last section to the first: each inserts itself before its successor.
  for (int i = NumberOfSections() - 1; i >= 0; --i) Section(i)->AddToTree(nodes, TreeNode);
  nodes.EndUpdate();
}

void TSection::AddToTree(ITreeNodes& nodes, NodeHandle parent) {
  const std::string label = Label(std::string());
  TTrack* track = Track();
  const bool last = Number == track->NumberOfSections() - 1;
  TSection* next = last ? nullptr : NextSection();
  if (last || next->TreeNode == nullptr) TreeNode = nodes.AddChild(parent, label, this);
  else TreeNode = nodes.Insert(next->TreeNode, label, this);
  nodes.SetImages(TreeNode, kNodeImageSection, kNodeImageSectionSelected);
  for (int i = NumberOfAltitudes() - 1; i >= 0; --i) Altitude(i)->AddToTree(nodes, TreeNode);
  for (int k = 0; k < NumberOfWalls(); ++k) Wall(k)->AddToTree(nodes, TreeNode);
}

void TAltitude::AddToTree(ITreeNodes& nodes, NodeHandle parent) {
  TreeNode = nodes.AddChildFirst(parent, Label(std::string()), this);
  nodes.SetImages(TreeNode, kNodeImageAltitude, kNodeImageAltitudeSelected);
}

void TWall::AddToTree(ITreeNodes& nodes, NodeHandle parent) {
  TreeNode = nodes.AddChild(parent, Label(std::string()), this);
  nodes.SetImages(TreeNode, kNodeImageWall, kNodeImageWallSelected);
}

// ---- Edit commands ----

void TTrack::EnableCommands(IEditCommands& menu) { EnableItems(menu, false, false, false); }
void TSection::EnableCommands(IEditCommands& menu) { EnableItems(menu, true, true, false); }
void TWall::EnableCommands(IEditCommands& menu) { EnableItems(menu, true, false, false); }
void TAltitude::EnableCommands(IEditCommands& menu) { EnableItems(menu, false, false, true); }

}  // namespace meridal
