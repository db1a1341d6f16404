#include "history/restore.h"

#include "edit/tree_steps.h"
#include "model/track.h"

namespace meridal::history {

namespace {

void RelabelSectionsFrom(TTrack& track, int first) {
  ITreeNodes* nodes = edit::TreeOf(&track);
  if (nodes == nullptr) return;
  for (int s = first; s < track.NumberOfSections(); ++s) edit::Relabel(nodes, *track.Section(s));
}

// The section's place in the list has changed: numbers, starts and record indices.
void Renumbered(TTrack& track) {
  track.RenumberSections();
  track.RecomputeStarts();
  track.RecomputeRecordIndices();
}

}  // namespace

TSection& InsertSection(TTrack& track, int index, const SectionState& state) {
  track.Sections.insert(track.Sections.begin() + index, state.Build(track, index));
  Renumbered(track);
  TSection& section = *track.Section(index);
  if (ITreeNodes* nodes = edit::TreeOf(&track)) {
    // The section's node goes before the node of the section after it.
    section.AddToTree(*nodes, track.TreeNode);
    RelabelSectionsFrom(track, index + 1);
  }
  if (track.SelectedChild >= index) ++track.SelectedChild;
  return section;
}

void DeleteSection(TTrack& track, int index) {
  edit::DeleteSectionNodes(track, *track.Section(index));
  if (track.SelectedChild == index) track.SelectChild(-1);
  else if (track.SelectedChild > index) --track.SelectedChild;
  track.Sections.erase(track.Sections.begin() + index);
  Renumbered(track);
  RelabelSectionsFrom(track, index);
}

TSection& ReplaceSection(TTrack& track, int index, const SectionState& state) {
  edit::DeleteSectionNodes(track, *track.Section(index));
  track.Sections[static_cast<size_t>(index)] = state.Build(track, index);
  TSection& section = *track.Section(index);
  if (ITreeNodes* nodes = edit::TreeOf(&track)) section.AddToTree(*nodes, track.TreeNode);
  Renumbered(track);
  return section;
}

void ReplaceWalls(TTrack& track, TSection& section, const std::vector<WallState>& walls) {
  if (static_cast<size_t>(section.NumberOfWalls()) == walls.size()) {
    // As many walls as recorded: their values go back in place, the nodes stay.
    for (size_t k = 0; k < walls.size(); ++k) walls[k].ApplyTo(*section.Walls[k]);
    return;
  }
  ITreeNodes* nodes = edit::TreeOf(&track);
  if (nodes) nodes->BeginUpdate();
  {
    edit::TreeEventsPaused paused(&track);
    for (auto& wall : section.Walls) edit::DeleteNode(nodes, *wall);
    section.Walls.clear();
    for (const WallState& state : walls) {
      auto wall = std::make_unique<TWall>(&section);
      state.ApplyTo(*wall);
      wall->Number = section.NumberOfWalls();
      section.Walls.push_back(std::move(wall));
      if (nodes && section.TreeNode) section.Walls.back()->AddToTree(*nodes, section.TreeNode);
    }
  }
  if (nodes) nodes->EndUpdate();
}

void InsertAltitude(TTrack& track, TSection& section, int index, const AltitudeState& state) {
  auto altitude = std::make_unique<TAltitude>(&section);
  state.ApplyTo(*altitude);
  section.Altitudes.insert(section.Altitudes.begin() + index, std::move(altitude));
  for (int i = index; i < section.NumberOfAltitudes(); ++i) section.Altitude(i)->Number = i;
  edit::AddAltitudeNode(edit::TreeOf(&track), section, index);
}

void ClampSelections(TTrack& track) {
  if (track.SelectedChild >= track.NumberOfSections()) track.SelectedChild = -1;
  for (auto& section : track.Sections) {
    if (section->SelectedChild >= section->NumberOfWalls()) section->SelectedChild = section->NumberOfWalls() - 1;
    if (section->SelectedItem >= section->NumberOfAltitudes()) section->SelectedItem = section->NumberOfAltitudes() - 1;
  }
}

}  // namespace meridal::history
