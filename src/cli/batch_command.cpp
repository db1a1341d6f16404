// batch FILE: commands from standard input, one a line, on one document held in
// memory; the document is written back once, at the end, when it changed.
#include <istream>
#include <ostream>
#include <sstream>

#include "cli/cli_document.h"
#include "cli/cli_session.h"
#include "cli/document_commands.h"
#include "cli/words.h"
#include "files/safety/shown_text.h"
#include "model/track.h"

namespace meridal {

namespace {

int RunUndo(TCliSession& session, const CliArgs&, CliIo io) {
  if (session.Document(io)->Undo()) return 0;
  io.err << "Nothing to undo\n";
  return 1;
}

int RunRedo(TCliSession& session, const CliArgs&, CliIo io) {
  if (session.Document(io)->Redo()) return 0;
  io.err << "Nothing to redo\n";
  return 1;
}

// One line a state, the opened one first (as the History window shows it), the
// state the document is in marked with "*".
int RunHistory(TCliSession& session, const CliArgs&, CliIo io) {
  const history::THistory& steps = session.Document(io)->History();
  for (size_t row = 0; row <= steps.Count(); ++row)
    io.out << (row == steps.Index() ? "* " : "  ")
           << (row > 0 ? steps.Step(row - 1).Text() : steps.Dropped() > 0 ? "older steps dropped" : "<opened>") << '\n';
  return 0;
}

int RunSave(TCliSession& session, const CliArgs& args, CliIo io) {
  const bool saved = args.positional.empty() ? session.SaveToTarget(io) : session.SaveTo(args.positional[0], io);
  return saved ? 0 : 1;
}

// keep-joined on|off: Keep Joined for the lines that follow.
int RunKeepJoined(TCliSession& session, const CliArgs& args, CliIo io) {
  const std::string& word = args.positional[0];
  if (word != "on" && word != "off") return kShowUsage;
  if (!session.Document(io)) return 1;
  session.KeepJoined = word == "on";
  return 0;
}

// The commands only a batch has: they need the history a batch keeps.
const TDocumentCommand kBatchCommands[] = {
    {"undo", "", nullptr, 0, 0, false, RunUndo},
    {"redo", "", nullptr, 0, 0, false, RunRedo},
    {"history", "", nullptr, 0, 0, false, RunHistory},
    {"save", "[OUT]", nullptr, 0, 1, false, RunSave},
    {"keep-joined", "on|off", nullptr, 1, 1, false, RunKeepJoined},
};

const TDocumentCommand* FindBatchCommand(const std::string& name) {
  for (const TDocumentCommand& command : kBatchCommands)
    if (name == command.name) return &command;
  return FindDocumentCommand(name);
}

// Runs one line: its exit code, 0 for a blank line or a comment.
int RunLine(TCliSession& session, const std::string& line, CliIo io) {
  const TWords split = SplitWords(line);
  if (!split.error.empty()) {
    io.err << "meridal-cli: " << split.error << "\n";
    return 2;
  }
  if (split.words.empty()) return 0;
  const TDocumentCommand* command = FindBatchCommand(split.words[0]);
  if (!command) {
    io.err << "meridal-cli: unknown command '" << ShownPath(split.words[0]) << "'\n";
    return 2;
  }
  CliArgs args;
  if (!ParseWords(split.words, 1, args, io)) return 2;
  if (args.Has("-o")) {
    io.err << "meridal-cli: -o does not apply inside a batch: 'save OUT' writes the document elsewhere\n";
    return 2;
  }
  if (args.positional.size() < command->least || args.positional.size() > command->most) {
    io.err << "usage: " << UsageLine(*command, false) << "\n";
    return 2;
  }
  return RunOnSession(*command, session, args, io);
}

// Every line of what a command said on stderr, marked with the batch's line number.
void ReportLine(const std::string& said, long number, std::ostream& err) {
  std::istringstream lines(said);
  for (std::string text; std::getline(lines, text);) err << "line " << number << ": " << text << '\n';
}

}  // namespace

int CommandBatch(const CliArgs& args, CliIo io) {
  if (!ExpectArgs(args, 1, 1, "batch FILE [-o OUT] [--keep-going] [--in-place]", io)) return 2;
  if (!io.in) {
    io.err << "meridal-cli: there is no standard input to read\n";
    return 2;
  }
  TCliSession session(args.positional[0], args.Get("-o"), TCliSession::Mode::Batch);
  session.AllowInPlace(args.Has("--in-place"));
  FileLock lock;  // the target, from the first read to the last write
  if (!LockTarget(lock, args.Get("-o", args.positional[0]), io)) return 1;
  TDocument* document = session.Document(io);
  if (!document) return 1;
  const bool keepGoing = args.Has("--keep-going");
  bool failed = false;
  std::string line;
  for (long number = 1; std::getline(*io.in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // a script written on Windows
    std::ostringstream said;
    const size_t steps = document->History().Index();
    const int code = RunLine(session, line, CliIo{io.out, said});
    if (code != 0 && said.str().empty()) said << "meridal-cli: the command failed\n";
    ReportLine(said.str(), number, io.err);
    // Standard output failed (RunCli says why): the rest would be lost as well,
    // and the document is not written.
    if (!io.out) return 1;
    if (code == 0) continue;
    failed = true;
    // A failing line changes nothing, even one that did part of its work (a fix
    // with a refused value).
    if (document->History().Index() > steps) document->GoTo(steps);
    if (!keepGoing) return 1;  // the document is not written
  }
  if (io.in->bad()) {
    io.err << "meridal-cli: standard input could not be read to its end; nothing was saved\n";
    return 1;
  }
  if (!io.out.flush()) return 1;  // nothing is saved after output that was lost
  if (session.Changed() && !session.SaveToTarget(io)) return 1;
  return failed ? 1 : 0;
}

}  // namespace meridal
