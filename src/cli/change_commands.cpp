// Commands that change a track: set, edit, trace (named apart from the Edit
// menu's layout in platform/edit_commands.h). A refused change prints the
// system's refusal on stderr, exits 1 and writes nothing.
#include <array>
#include <ostream>

#include "present/object_labels.h"
#include "cli/cli_document.h"
#include "cli/cli_session.h"
#include "cli/document_commands.h"
#include "files/unkept_values.h"
#include "files/safety/shown_text.h"
#include "model/track.h"
#include "platform/edit_commands.h"
#include "shell/shell_texts.h"
#include "present/value_names.h"
#include "present/typed_value.h"

namespace meridal {

namespace {

struct CommandStates : IEditCommands {
  std::array<bool, kEditCommandCount> enabled{};
  void SetEnabled(int index, bool on) override { enabled.at(static_cast<size_t>(index)) = on; }
};

// The Edit command an operation corresponds to, so an object allows exactly what
// its Edit menu would.
struct EditOp {
  const char* name;
  int command;
  const char* refusal;  // "%s %s !" with the object's label
  bool takesArgument;
};

const EditOp kEditOps[] = {
    {"remove", kEditRemove, "Cannot remove", false},
    {"add-before", kEditAddBefore, "Cannot add before", false},
    {"add-after", kEditAddAfter, "Cannot add after", false},
    {"split", kEditSplit, nullptr, true},
    {"change-type", kEditChangeType, "Cannot change type of", false},
    {"copy-walls-from", kEditCopyWallsFrom, nullptr, true},
    {"copy-walls-to-all", kEditCopyWallsToAll, nullptr, false},
    {"copy-altitude", kEditCopyAltitude, nullptr, false},
};

int Refuse(CliIo io, const std::string& message) {
  io.err << message << "\n";
  return 1;
}

// The refusal of an edit the track did not take; an edit that changed nothing is
// no failure.
int Reported(history::Outcome outcome, CliIo io, const std::string& refusal) {
  return outcome == history::Outcome::Refused ? Refuse(io, refusal) : 0;
}

// Runs one edit operation on an object whose Edit menu allows it.
int ApplyEdit(TDocument& document, const TBase& object, const EditOp& op, const std::string& argument, CliIo io) {
  const std::string refusal = op.refusal ? RefusalText(op.refusal, Label(object)) : std::string();
  const TObjectPath path = PathOf(object);
  switch (op.command) {
    case kEditRemove: return Reported(document.Remove(path), io, refusal);
    case kEditAddBefore:
    case kEditAddAfter: return Reported(document.Add(path, op.command == kEditAddBefore), io, refusal);
    case kEditChangeType: return Reported(document.ChangeType(path), io, refusal);
    case kEditSplit: {
      const TTypedValue length = ReadTypedValue(argument, "Length of first part", ValueKind::Length, ValueBase::Decimal);
      if (!length.value) return Refuse(io, WithReason("Input not valid !", length.refusal));
      return Reported(document.Split(path, *length.value), io, "Input not valid ! Range Error!");
    }
    case kEditCopyWallsFrom: {
      auto source = ParseCanonicalDecimal(argument);
      if (!source) return Refuse(io, "Input not valid !");
      if (*source < 0 || *source >= document.Track().NumberOfSections())
        return Refuse(io, "Input not valid ! Range Error !");
      return Reported(document.CopyWallsFrom(*source, object.Number), io, "Input not valid ! Range Error !");
    }
    case kEditCopyWallsToAll: return Reported(document.CopyWallsToAll(object.Number), io, "Input not valid !");
    case kEditCopyAltitude: return Reported(document.CopyAltitude(path), io, "Input not valid !");
  }
  return 0;
}

}  // namespace

int RunSet(TCliSession& session, const CliArgs& args, CliIo io) {
  auto base = ValueBaseByName(args.Get("--base", "dec"));
  if (!base) {
    io.err << "meridal-cli: --base takes dec, m, deg or curv\n";
    return 2;
  }
  TDocument* document = session.Document(io);
  if (!document) return 1;
  const TBase* object = FindObject(document->Track(), args.positional[0], io);
  if (!object) return 1;
  if (!HasValueNamed(*object, args.positional[1])) return Refuse(io, NoValueNamedText(*object, ShownPath(args.positional[1])));
  const std::string& name = args.positional[1];
  const TTypedValue typed = ReadTypedValue(args.positional[2], name, ValueKindOf(name), *base);
  if (!typed.value) return Refuse(io, WithReason("Input not valid !", typed.refusal));
  // A one-shot command saves at once: a value the file does not keep would be
  // gone. A batch keeps it, and refuses to save it where it would be lost.
  if (session.SavesAtOnce()) {
    if (const std::string unkept = UnkeptValueReason(*object, name, session.TargetFormat()); !unkept.empty())
      return Refuse(io, unkept);
  } else if (!UnkeptValueReason(*object, name).empty()) {
    session.NoteUnkeptValue(name);
  }
  session.KeepJoinedFor(args);
  return Reported(document->SetValue(PathOf(*object), name, *typed.value), io, "Input not valid ! Range Error!");
}

int RunEdit(TCliSession& session, const CliArgs& args, CliIo io) {
  const EditOp* op = nullptr;
  for (const EditOp& candidate : kEditOps)
    if (args.positional[1] == candidate.name) op = &candidate;
  if (!op || (args.positional.size() == 3) != op->takesArgument) return kShowUsage;
  TDocument* document = session.Document(io);
  if (!document) return 1;
  const TBase* object = FindObject(document->Track(), args.positional[0], io);
  if (!object) return 1;
  CommandStates states;
  EnableCommands(*object, states);
  if (!states.enabled[static_cast<size_t>(op->command)]) {
    io.err << "meridal-cli: " << op->name << " does not apply to " << ShownPath(args.positional[0]) << "\n";
    return 1;
  }
  session.KeepJoinedFor(args);
  return ApplyEdit(*document, *object, *op, op->takesArgument ? args.positional[2] : "", io);
}

int RunTrace(TCliSession& session, const CliArgs& args, CliIo io) {
  const std::string& op = args.positional[0];
  if (op != "remove" && op != "add-before" && op != "add-after") return kShowUsage;
  TDocument* document = session.Document(io);
  if (!document) return 1;
  const std::string refusal = RefusalText(op == "remove" ? "Cannot remove" : "Cannot add", "Trace " + args.positional[1]);
  auto n = ParseCanonicalDecimal(args.positional[1]);
  if (!n) return Refuse(io, refusal);
  return Reported(op == "remove" ? document->RemoveTrace(*n) : document->AddTrace(*n, op == "add-after"), io, refusal);
}

}  // namespace meridal
