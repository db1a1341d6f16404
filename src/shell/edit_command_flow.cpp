#include "shell/edit_command_flow.h"

#include "model/track.h"
#include "shell/document_shell.h"
#include "shell/shell_dialogs.h"
#include "shell/shell_texts.h"
#include "shell/shell_windows.h"

namespace meridal {

TBase* TEditCommandFlow::Selected() const {
  if (!shell_.Track) return nullptr;
  return shell_.Windows().SelectedObject();
}

std::string TEditCommandFlow::Label() const { return shell_.Windows().SelectedLabel(); }

template <typename Operation>
void TEditCommandFlow::Confirmed(const char* question, const char* refusal, Operation operation) {
  TBase* object = Selected();
  if (!object) return;
  const std::string label = Label();
  if (!AskYesNo(shell_.Messages(), QuestionText(question, label))) return;
  if (operation(*object)) shell_.CommonRefresh();
  else ShowRefusal(shell_.Messages(), RefusalText(refusal, label));
}

void TEditCommandFlow::Remove() {
  Confirmed("Remove", "Cannot remove", [](TBase& object) { return object.Remove(); });
}

void TEditCommandFlow::AddBefore() {
  Confirmed("Add before", "Cannot add before", [](TBase& object) { return object.Add(true); });
}

void TEditCommandFlow::AddAfter() {
  Confirmed("Add after", "Cannot add after", [](TBase& object) { return object.Add(false); });
}

void TEditCommandFlow::ChangeType() {
  Confirmed("Change Type of", "Cannot change type of", [](TBase& object) { return object.ChangeType(); });
}

void TEditCommandFlow::Split() {
  TBase* object = Selected();
  if (!object) return;
  // The dialog splits the section itself and reports a refusal itself.
  if (!dialogs_.SplitSection(object)) return;
  shell_.CommonRefresh();
}

void TEditCommandFlow::CopyWallsFrom() {
  if (!Selected()) return;
  TTrack& track = *shell_.Track;
  TSection* destination = track.HighlightedSection();
  if (!destination) return;
  const auto source = dialogs_.CopyWallsFrom(destination->PreviousSection()->Number, track.NumberOfSections());
  if (!source) return;
  // A refused copy says nothing and changes nothing.
  if (track.CopyWalls(*source, track.SelectedChild)) shell_.CommonRefresh();
}

void TEditCommandFlow::CopyWallsToAll() {
  if (!Selected()) return;
  if (!AskYesNo(shell_.Messages(), "Copy Walls of " + Label() + " to all Sections ?")) return;
  TTrack& track = *shell_.Track;
  const int source = track.SelectedChild;
  for (int i = 0; i < track.NumberOfSections(); ++i) track.CopyWalls(source, i);
  shell_.CommonRefresh();
}

void TEditCommandFlow::CopyAltitude() {
  TBase* altitude = Selected();
  if (!altitude) return;
  TSection* section = shell_.Track->HighlightedSection();
  if (!section) return;
  if (!AskYesNo(shell_.Messages(), QuestionText("Copy", Label()))) return;
  // Only an altitude of this section can be the pattern.
  if (altitude->Number < 0 || altitude->Number >= section->NumberOfAltitudes()) return;
  section->CopyAltitude(altitude->Number);
  shell_.Windows().RepaintGraph();
  shell_.MarkModified();
}

}  // namespace meridal
