#pragma once
// The commands that work on one document, each written once against a session:
// the one-shot form (`meridal-cli set FILE ...`) opens the file, runs the command
// and writes the file back when it changed; a batch runs the same command on the
// document it holds in memory. Their positional words come after FILE.
#include <cstddef>
#include <string>
#include <string_view>

#include "cli/cli.h"

namespace meridal {

class TCliSession;

// What a command returns when its words do not fit its usage line; the caller
// prints the line (and the details) and exits 2.
inline constexpr int kShowUsage = -2;
// What a command returns when it failed in part but kept what it did: the one-shot
// form saves that, then exits 1.
inline constexpr int kFailedAfterChanges = -3;

struct TDocumentCommand {
  const char* name;
  const char* usage;    // the words after the name (and FILE): "OBJECT NAME TEXT [--base dec|m|deg|curv]"
  const char* details;  // more usage lines after a bad word, or nullptr
  size_t least, most;   // how many positional words
  bool changes;         // a one-shot run takes -o and writes the changed document back
  int (*run)(TCliSession& session, const CliArgs& args, CliIo io);
};

int RunTree(TCliSession& session, const CliArgs& args, CliIo io);
int RunProps(TCliSession& session, const CliArgs& args, CliIo io);
int RunGet(TCliSession& session, const CliArgs& args, CliIo io);
int RunExport(TCliSession& session, const CliArgs& args, CliIo io);
int RunCheck(TCliSession& session, const CliArgs& args, CliIo io);
int RunSet(TCliSession& session, const CliArgs& args, CliIo io);
int RunEdit(TCliSession& session, const CliArgs& args, CliIo io);
int RunTrace(TCliSession& session, const CliArgs& args, CliIo io);
int RunProfile(TCliSession& session, const CliArgs& args, CliIo io);
int RunRender(TCliSession& session, const CliArgs& args, CliIo io);
int RunFix(TCliSession& session, const CliArgs& args, CliIo io);
int RunMesh(TCliSession& session, const CliArgs& args, CliIo io);
int RunCopy(TCliSession& session, const CliArgs& args, CliIo io);
int RunPaste(TCliSession& session, const CliArgs& args, CliIo io);
int RunReverse(TCliSession& session, const CliArgs& args, CliIo io);
int RunMirror(TCliSession& session, const CliArgs& args, CliIo io);
int RunDrag(TCliSession& session, const CliArgs& args, CliIo io);
int RunLap(TCliSession& session, const CliArgs& args, CliIo io);

// The document command of that name, or nullptr.
const TDocumentCommand* FindDocumentCommand(std::string_view name);
// The usage line: "set FILE.mrd OBJECT NAME TEXT ... [-o OUT.mrd]" for the
// one-shot form, "set OBJECT NAME TEXT ..." in a batch.
std::string UsageLine(const TDocumentCommand& command, bool oneShot);
// The one-shot form of the document command of that name: FILE first, and FILE
// (or -o OUT) written back when the command changed it.
int RunOneShotCommand(std::string_view name, const CliArgs& args, CliIo io);
// Runs a command whose positional words are counted already, printing its usage
// when it asks for that (exit 2).
int RunOnSession(const TDocumentCommand& command, TCliSession& session, const CliArgs& args, CliIo io);

}  // namespace meridal
