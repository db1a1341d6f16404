#include "cli/document_commands.h"

#include <ostream>

#include "cli/cli_document.h"
#include "cli/cli_session.h"

namespace meridal {

namespace {

const TDocumentCommand kDocumentCommands[] = {
    {"tree", "", nullptr, 0, 0, false, RunTree},
    {"props", "[OBJECT]", nullptr, 0, 1, false, RunProps},
    {"get", "OBJECT NAME", nullptr, 2, 2, false, RunGet},
    {"export", "OUT.trk", nullptr, 1, 1, false, RunExport},
    {"check", "[--max-slope PERCENT]", nullptr, 0, 0, false, RunCheck},
    {"set", "OBJECT NAME TEXT [--base dec|m|deg|curv] [--keep-joined]", nullptr, 3, 3, true, RunSet},
    {"edit", "OBJECT OP [ARG] [--keep-joined]",
     "  OP: remove | add-before | add-after | split LEN | change-type | copy-walls-from N | copy-walls-to-all |"
     " copy-altitude",
     2, 3, true, RunEdit},
    {"trace", "remove|add-before|add-after N", nullptr, 2, 2, true, RunTrace},
    {"profile", "[--samples N]", nullptr, 0, 0, false, RunProfile},
    {"render", "OUT.png [--size WxH] [--select OBJECT] [--view-flags N] [--zoom Z] [--profile] [--slope] [--smooth]",
     nullptr, 1, 1, false, RunRender},
    {"fix", "positions|heights|walls|all|loop [--sections A-B]", nullptr, 1, 1, true, RunFix},
    {"mesh", "OUT.glb|OUT.gltf [--no-textures]", nullptr, 1, 1, false, RunMesh},
    {"copy", "\"section A-B\"", nullptr, 1, 1, false, RunCopy},
    {"paste", "\"section N\" [--keep-joined]", nullptr, 1, 1, true, RunPaste},
    {"reverse", "", nullptr, 0, 0, true, RunReverse},
    {"mirror", "", nullptr, 0, 0, true, RunMirror},
    {"drag", "OBJECT HANDLE X Y [--snap] [--detach]", "  HANDLE: end | radius | heading | move; X, Y in metres",
     4, 4, true, RunDrag},
    {"lap", "[--vehicle V.json] [--line centre|min-curvature] [--csv OUT.csv]", nullptr, 0, 0, false, RunLap},
};

// The one-shot form: FILE first, and written back (or to -o) when it changed.
int RunOneShot(std::string_view name, const CliArgs& args, CliIo io) {
  const TDocumentCommand& command = *FindDocumentCommand(name);
  if (!ExpectArgs(args, command.least + 1, command.most + 1, UsageLine(command, true).c_str(), io)) return 2;
  CliArgs words = args;
  words.positional.erase(words.positional.begin());
  TCliSession session(args.positional[0], command.changes ? args.Get("-o") : std::string(),
                      TCliSession::Mode::OneShot);
  session.AllowInPlace(args.Has("--in-place"));
  // A command that writes its file back holds it from the read to the write, so
  // that two commands on one file each keep the other's change.
  FileLock lock;
  if (command.changes && !LockTarget(lock, args.Get("-o", args.positional[0]), io)) return 1;
  const int code = RunOnSession(command, session, words, io);
  if (code == kFailedAfterChanges) {
    if (session.Changed()) session.SaveToTarget(io);
    return 1;
  }
  if (code != 0 || !session.Changed()) return code;
  return session.SaveToTarget(io) ? 0 : 1;
}

}  // namespace

int RunOneShotCommand(std::string_view name, const CliArgs& args, CliIo io) { return RunOneShot(name, args, io); }

const TDocumentCommand* FindDocumentCommand(std::string_view name) {
  for (const TDocumentCommand& command : kDocumentCommands)
    if (name == command.name) return &command;
  return nullptr;
}

std::string UsageLine(const TDocumentCommand& command, bool oneShot) {
  std::string line = command.name;
  if (oneShot) line += " FILE.mrd";
  if (*command.usage) line += std::string(" ") + command.usage;
  if (oneShot && command.changes) line += " [-o OUT.mrd]";
  return line;
}

int RunOnSession(const TDocumentCommand& command, TCliSession& session, const CliArgs& args, CliIo io) {
  const int code = command.run(session, args, io);
  if (code != kShowUsage) return code;
  io.err << "usage: " << (session.SavesAtOnce() ? "meridal-cli " : "") << UsageLine(command, session.SavesAtOnce())
         << "\n";
  if (command.details) io.err << command.details << "\n";
  return 2;
}

int CommandTree(const CliArgs& args, CliIo io) { return RunOneShot("tree", args, io); }
int CommandProps(const CliArgs& args, CliIo io) { return RunOneShot("props", args, io); }
int CommandGet(const CliArgs& args, CliIo io) { return RunOneShot("get", args, io); }
int CommandExport(const CliArgs& args, CliIo io) { return RunOneShot("export", args, io); }
int CommandCheck(const CliArgs& args, CliIo io) { return RunOneShot("check", args, io); }
int CommandSet(const CliArgs& args, CliIo io) { return RunOneShot("set", args, io); }
int CommandEdit(const CliArgs& args, CliIo io) { return RunOneShot("edit", args, io); }
int CommandTrace(const CliArgs& args, CliIo io) { return RunOneShot("trace", args, io); }
int CommandProfile(const CliArgs& args, CliIo io) { return RunOneShot("profile", args, io); }
int CommandRender(const CliArgs& args, CliIo io) { return RunOneShot("render", args, io); }
int CommandFix(const CliArgs& args, CliIo io) { return RunOneShot("fix", args, io); }
int CommandMesh(const CliArgs& args, CliIo io) { return RunOneShot("mesh", args, io); }
int CommandDrag(const CliArgs& args, CliIo io) { return RunOneShot("drag", args, io); }
int CommandLap(const CliArgs& args, CliIo io) { return RunOneShot("lap", args, io); }

}  // namespace meridal
