#include "shell/property_list_commands.h"

#include <cstdint>

#include "document/document.h"
#include "model/track.h"
#include "present/value_text.h"
#include "shell/document_shell.h"
#include "shell/shell_dialogs.h"
#include "shell/shell_texts.h"
#include "shell/shell_windows.h"

namespace meridal {

namespace {

bool NamesTrace(const std::string& name) { return name.compare(0, 5, "Trace") == 0; }

}  // namespace

void TPropertyListCommands::EditRow(const TBase* object, const PropertyRow* row) {
  if (!object || !row || !shell_.Document()) return;
  if (!row->Editable()) {
    ShowInformation(shell_.Messages(), "This value can not be edited !");
    return;
  }
  const std::string name = row->Caption;
  // The dialog writes through the history, so that a refusal keeps it open and
  // an accepted value is one step; the shell has refreshed by the time it closes.
  TDocument& document = *shell_.Document();
  const TObjectPath path = PathOf(*object);
  // A section's value with a run of several selected goes to every one of them.
  const bool run = path.kind == TObjectPath::Kind::Section && document.SelectedRun().Count() > 1;
  dialogs_.EditValue(object, name, [&document, path, name, run](int32_t value) {
    const history::Outcome outcome = run ? document.SetValueOnRun(name, value) : document.SetValue(path, name, value);
    return outcome != history::Outcome::Refused;
  });
}

bool TPropertyListCommands::TraceRowSelected(const PropertyRow* row) {
  return row != nullptr && NamesTrace(row->Caption);
}

void TPropertyListCommands::RunTraceCommand(TraceCommand command, const std::string& name) {
  if (!shell_.Document()) return;
  const char* refusal = command == TraceCommand::Remove ? "Cannot remove" : "Cannot add";
  const auto refuse = [&] { ShowRefusal(shell_.Messages(), RefusalText(refusal, name)); };
  if (!NamesTrace(name)) return refuse();
  // The number follows "Trace" and one separator, in its canonical form.
  const auto number = ParseCanonicalDecimal(name.size() > 6 ? name.substr(6) : std::string());
  if (!number) return refuse();
  const char* question = command == TraceCommand::Remove      ? "Remove"
                         : command == TraceCommand::AddBefore ? "Add new trace before"
                                                              : "Add new trace after";
  if (!AskYesNo(shell_.Messages(), QuestionText(question, name))) return;

  const int n = *number;
  TDocument& document = *shell_.Document();
  const history::Outcome outcome =
      command == TraceCommand::Remove ? document.RemoveTrace(n) : document.AddTrace(n, command == TraceCommand::AddAfter);
  if (outcome == history::Outcome::Refused) refuse();
}

}  // namespace meridal
