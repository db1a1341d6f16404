// Commands that change a track: set, edit, trace. A refused change prints the
// system's refusal on stderr, exits 1 and writes nothing.
#include <array>
#include <ostream>

#include "cli/cli_document.h"
#include "files/unkept_values.h"
#include "model/track.h"
#include "platform/edit_commands.h"
#include "shell/shell_texts.h"
#include "present/value_text.h"

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

// Saves the changed track where -o says (in the format its name tells), or in
// place in the format FILE was read in.
int SaveChanged(TTrack& track, const CliArgs& args, TrackFormat readAs, CliIo io) {
  track.UpdateExtent();
  if (args.Has("-o")) return SaveTrack(track, args.Get("-o"), io) ? 0 : 1;
  return SaveTrack(track, args.positional[0], io, readAs) ? 0 : 1;
}

int Refuse(CliIo io, const std::string& message) {
  io.err << message << "\n";
  return 1;
}

// Runs one edit operation on an object whose Edit menu allows it.
int ApplyEdit(TTrack& track, TBase& object, const EditOp& op, const std::string& argument, CliIo io) {
  const std::string label = object.Label(std::string());
  auto* section = dynamic_cast<TSection*>(&object);
  switch (op.command) {
    case kEditRemove:
      if (!object.Remove()) return Refuse(io, RefusalText(op.refusal, label));
      break;
    case kEditAddBefore:
    case kEditAddAfter:
      if (!object.Add(op.command == kEditAddBefore))
        return Refuse(io, RefusalText(op.refusal, label));
      break;
    case kEditChangeType:
      if (!object.ChangeType()) return Refuse(io, RefusalText(op.refusal, label));
      break;
    case kEditSplit: {
      auto length = ParseValue(argument, ValueBase::Decimal);
      if (!length) return Refuse(io, "Input not valid !");
      if (!object.Split(*length)) return Refuse(io, "Input not valid ! Range Error!");
      break;
    }
    case kEditCopyWallsFrom: {
      auto source = ParseCanonicalDecimal(argument);
      if (!source) return Refuse(io, "Input not valid !");
      if (*source < 0 || *source >= track.NumberOfSections()) return Refuse(io, "Input not valid ! Range Error !");
      track.CopyWalls(*source, section->Number);
      break;
    }
    case kEditCopyWallsToAll:
      for (int j = 0; j < track.NumberOfSections(); ++j) track.CopyWalls(section->Number, j);
      break;
    case kEditCopyAltitude: {
      auto* altitude = static_cast<TAltitude*>(&object);
      altitude->Section()->CopyAltitude(altitude->Number);
      break;
    }
  }
  return 0;
}

}  // namespace

int CommandSet(const CliArgs& args, CliIo io) {
  if (!ExpectArgs(args, 4, 4, "set FILE.mrd OBJECT NAME TEXT [--base dec|m|deg|curv] [-o OUT.mrd]", io)) return 2;
  auto base = ValueBaseByName(args.Get("--base", "dec"));
  if (!base) {
    io.err << "meridal-cli: --base takes dec, m, deg or curv\n";
    return 2;
  }
  TrackFormat readAs = TrackFormat::Project;
  auto track = LoadTrack(args.positional[0], io, &readAs);
  if (!track) return 1;
  TBase* object = FindObject(*track, args.positional[1], io);
  if (!object) return 1;
  auto value = ParseValue(args.positional[3], *base);
  if (!value) return Refuse(io, "Input not valid !");
  // The file is saved at once: a value it does not keep would be gone.
  if (const std::string unkept = UnkeptValueReason(*object, args.positional[2]); !unkept.empty())
    return Refuse(io, unkept);
  if (!object->AccessValue(args.positional[2], *value, true)) return Refuse(io, "Input not valid ! Range Error!");
  return SaveChanged(*track, args, readAs, io);
}

int CommandEdit(const CliArgs& args, CliIo io) {
  const char* usage = "edit FILE.mrd OBJECT OP [ARG] [-o OUT.mrd]";
  if (!ExpectArgs(args, 3, 4, usage, io)) return 2;
  const EditOp* op = nullptr;
  for (const EditOp& candidate : kEditOps)
    if (args.positional[2] == candidate.name) op = &candidate;
  if (!op || (args.positional.size() == 4) != op->takesArgument) {
    io.err << "usage: meridal-cli " << usage
           << "\n  OP: remove | add-before | add-after | split LEN | change-type |"
              " copy-walls-from N | copy-walls-to-all | copy-altitude\n";
    return 2;
  }
  TrackFormat readAs = TrackFormat::Project;
  auto track = LoadTrack(args.positional[0], io, &readAs);
  if (!track) return 1;
  TBase* object = FindObject(*track, args.positional[1], io);
  if (!object) return 1;
  CommandStates states;
  object->EnableCommands(states);
  if (!states.enabled[static_cast<size_t>(op->command)]) {
    io.err << "meridal-cli: " << op->name << " does not apply to " << args.positional[1] << "\n";
    return 1;
  }
  const int result = ApplyEdit(*track, *object, *op, op->takesArgument ? args.positional[3] : "", io);
  return result != 0 ? result : SaveChanged(*track, args, readAs, io);
}

int CommandTrace(const CliArgs& args, CliIo io) {
  const char* usage = "trace FILE.mrd remove|add-before|add-after N [-o OUT.mrd]";
  if (!ExpectArgs(args, 3, 3, usage, io)) return 2;
  const std::string& op = args.positional[1];
  if (op != "remove" && op != "add-before" && op != "add-after") {
    io.err << "usage: meridal-cli " << usage << "\n";
    return 2;
  }
  TrackFormat readAs = TrackFormat::Project;
  auto track = LoadTrack(args.positional[0], io, &readAs);
  if (!track) return 1;
  const std::string name = "Trace " + args.positional[2];
  const char* refusal = op == "remove" ? "Cannot remove" : "Cannot add";
  auto n = ParseCanonicalDecimal(args.positional[2]);
  bool done = false;
  if (n) {
    if (op == "remove") done = track->RemoveTrace(*n);
    else if (op == "add-before") done = track->AddTrace(*n);
    else done = *n < 2147483647 && track->AddTrace(*n + 1);
  }
  if (!done) return Refuse(io, RefusalText(refusal, name));
  return SaveChanged(*track, args, readAs, io);
}

}  // namespace meridal
