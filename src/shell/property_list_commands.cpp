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
  if (!dialogs_.EditValue(object, row->Caption)) return;
  shell_.CommonRefresh();
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

  TTrack& track = *shell_.Track;
  const int n = *number;
  bool done = false;
  switch (command) {
    case TraceCommand::Remove: done = track.RemoveTrace(n); break;
    case TraceCommand::AddBefore: done = track.AddTrace(n); break;
    // No trace comes after the largest number a row can name.
    case TraceCommand::AddAfter: done = n < INT32_MAX && track.AddTrace(n + 1); break;
  }
  if (!done) return refuse();
  shell_.CommonRefresh();
}

}  // namespace meridal
