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
  const history::Outcome outcome = shell_.Change([&](history::TEditor& e) { return operation(e, *object); });
  if (outcome == history::Outcome::Refused) ShowRefusal(shell_.Messages(), RefusalText(refusal, label));
}

void TEditCommandFlow::Remove() {
  Confirmed("Remove", "Cannot remove", [](history::TEditor& e, TBase& object) { return e.Remove(object); });
}

void TEditCommandFlow::AddBefore() {
  Confirmed("Add before", "Cannot add before", [](history::TEditor& e, TBase& object) { return e.Add(object, true); });
}

void TEditCommandFlow::AddAfter() {
  Confirmed("Add after", "Cannot add after", [](history::TEditor& e, TBase& object) { return e.Add(object, false); });
}

void TEditCommandFlow::ChangeType() {
  Confirmed("Change Type of", "Cannot change type of", [](history::TEditor& e, TBase& object) { return e.ChangeType(object); });
}

void TEditCommandFlow::Split() {
  TBase* object = Selected();
  if (!object) return;
  // The dialog reports a refusal itself and stays open; the split is one step.
  dialogs_.SplitSection(object, [this, object](int32_t firstLength) {
    return shell_.Change([&](history::TEditor& e) { return e.Split(*object, firstLength); }) !=
           history::Outcome::Refused;
  });
}

void TEditCommandFlow::CopyWallsFrom() {
  if (!Selected()) return;
  TTrack& track = *shell_.Track;
  TSection* destination = track.HighlightedSection();
  if (!destination) return;
  const auto source = dialogs_.CopyWallsFrom(destination->PreviousSection()->Number, track.NumberOfSections());
  if (!source) return;
  // A refused copy says nothing and changes nothing.
  const int to = track.SelectedChild;
  shell_.Change([&](history::TEditor& e) { return e.CopyWallsFrom(*source, to); });
}

void TEditCommandFlow::CopyWallsToAll() {
  if (!Selected()) return;
  if (!AskYesNo(shell_.Messages(), "Copy Walls of " + Label() + " to all Sections ?")) return;
  const int source = shell_.Track->SelectedChild;
  shell_.Change([&](history::TEditor& e) { return e.CopyWallsToAll(source); });
}

void TEditCommandFlow::CopyAltitude() {
  TBase* altitude = Selected();
  if (!altitude) return;
  TSection* section = shell_.Track->HighlightedSection();
  if (!section) return;
  if (!AskYesNo(shell_.Messages(), QuestionText("Copy", Label()))) return;
  // Only an altitude of the highlighted section can be the pattern.
  if (altitude->Owner != section) return;
  shell_.Change([&](history::TEditor& e) { return e.CopyAltitude(*altitude); });
}

}  // namespace meridal
