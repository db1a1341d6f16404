#include "shell/edit_command_flow.h"

#include "document/document.h"
#include "model/track.h"
#include "present/object_labels.h"
#include "present/run_rows.h"
#include "shell/document_shell.h"
#include "shell/shell_dialogs.h"
#include "shell/shell_texts.h"

namespace meridal {

const TBase* TEditCommandFlow::Selected() const {
  TDocument* document = shell_.Document();
  return document ? document->SelectedObject() : nullptr;
}

std::string TEditCommandFlow::Label() const {
  const TBase* object = Selected();
  return object ? meridal::Label(*object) : std::string();
}

template <typename Operation>
void TEditCommandFlow::Confirmed(const char* question, const char* refusal, Operation operation) {
  if (!Selected()) return;
  TDocument& document = *shell_.Document();
  const std::string label = Label();
  if (!AskYesNo(shell_.Messages(), QuestionText(question, label))) return;
  const history::Outcome outcome = operation(document, document.Selection());
  if (outcome == history::Outcome::Refused) ShowRefusal(shell_.Messages(), RefusalText(refusal, label));
}

void TEditCommandFlow::Remove() {
  // A run of several sections goes as one step.
  if (TDocument* document = shell_.Document(); document && document->SelectedRun().Count() > 1) {
    const std::string label = RunLabel(document->Track(), document->SelectedRun());
    if (!AskYesNo(shell_.Messages(), QuestionText("Remove", label))) return;
    if (document->RemoveRun() == history::Outcome::Refused)
      ShowRefusal(shell_.Messages(), RefusalText("Cannot remove", label));
    return;
  }
  Confirmed("Remove", "Cannot remove", [](TDocument& d, const TObjectPath& path) { return d.Remove(path); });
}

void TEditCommandFlow::AddBefore() {
  Confirmed("Add before", "Cannot add before", [](TDocument& d, const TObjectPath& path) { return d.Add(path, true); });
}

void TEditCommandFlow::AddAfter() {
  Confirmed("Add after", "Cannot add after", [](TDocument& d, const TObjectPath& path) { return d.Add(path, false); });
}

void TEditCommandFlow::ChangeType() {
  Confirmed("Change Type of", "Cannot change type of",
            [](TDocument& d, const TObjectPath& path) { return d.ChangeType(path); });
}

void TEditCommandFlow::Split() {
  const TBase* object = Selected();
  if (!object) return;
  TDocument& document = *shell_.Document();
  const TObjectPath path = document.Selection();
  // The dialog reports a refusal itself and stays open; the split is one step.
  dialogs_.SplitSection(object, [&document, path](int32_t firstLength) {
    return document.Split(path, firstLength) != history::Outcome::Refused;
  });
}

void TEditCommandFlow::CopyWallsFrom() {
  if (!Selected()) return;
  TDocument& document = *shell_.Document();
  const TTrack& track = document.Track();
  const int to = document.Selection().section;
  if (to < 0) return;
  const auto source = dialogs_.CopyWallsFrom(track.Section(to)->PreviousSection()->Number, track.NumberOfSections());
  if (!source) return;
  // A refused copy says nothing and changes nothing.
  document.CopyWallsFrom(*source, to);
}

void TEditCommandFlow::CopyWallsToAll() {
  if (!Selected()) return;
  TDocument& document = *shell_.Document();
  const int source = document.Selection().section;
  if (source < 0) return;
  if (!AskYesNo(shell_.Messages(), "Copy Walls of " + Label() + " to all Sections ?")) return;
  document.CopyWallsToAll(source);
}

void TEditCommandFlow::CopyAltitude() {
  if (!Selected()) return;
  TDocument& document = *shell_.Document();
  // Only an altitude of the highlighted section can be the pattern.
  if (document.Selection().kind != TObjectPath::Kind::Altitude) return;
  if (!AskYesNo(shell_.Messages(), QuestionText("Copy", Label()))) return;
  document.CopyAltitude(document.Selection());
}

}  // namespace meridal
