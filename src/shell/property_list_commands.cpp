#include "shell/property_list_commands.h"

#include <cstdint>

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

void TPropertyListCommands::EditRow(TBase* object, const PropertyRow* row) {
  if (!object || !row) return;
  if (!row->Editable()) {
    ShowInformation(shell_.Messages(), "This value can not be edited !");
    return;
  }
  const std::string name = row->Caption;
  // The dialog writes through the history, so that a refusal keeps it open and
  // an accepted value is one step; the shell has refreshed by the time it closes.
  dialogs_.EditValue(object, name, [this, object, name](int32_t value) {
    return shell_.Change([&](history::TEditor& e) { return e.SetValue(*object, name, value); }) !=
           history::Outcome::Refused;
  });
}

bool TPropertyListCommands::TraceRowSelected(const PropertyRow* row) {
  return row != nullptr && NamesTrace(row->Caption);
}

void TPropertyListCommands::RunTraceCommand(TraceCommand command, const std::string& name) {
  if (!shell_.Track) return;
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
  const history::Outcome outcome = shell_.Change([&](history::TEditor& e) {
    return command == TraceCommand::Remove ? e.RemoveTrace(n) : e.AddTrace(n, command == TraceCommand::AddAfter);
  });
  if (outcome == history::Outcome::Refused) refuse();
}

}  // namespace meridal
