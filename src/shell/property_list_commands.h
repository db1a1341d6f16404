#pragma once
// What the tree window's property list does: editing a value by double-click,
// and the trace rows' popup commands (remove, add before, add after).
#include <string>

#include "present/rows.h"

namespace meridal {

class IShellDialogs;
class TBase;
class TDocumentShell;

enum class TraceCommand { Remove, AddBefore, AddAfter };

class TPropertyListCommands {
 public:
  TPropertyListCommands(TDocumentShell& shell, IShellDialogs& dialogs) : shell_(shell), dialogs_(dialogs) {}

  // Edits the value of a row of `object` (row nullptr: no row selected).
  void EditRow(const TBase* object, const PropertyRow* row);

  // Whether the popup's items apply: a row is selected and names a trace.
  static bool TraceRowSelected(const PropertyRow* row);

  // Runs a trace command on the row named `name` ("Trace 3").
  void RunTraceCommand(TraceCommand command, const std::string& name);

 private:
  TDocumentShell& shell_;
  IShellDialogs& dialogs_;
};

}  // namespace meridal
