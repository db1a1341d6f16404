// fix: the track check's fixes on a document, and what they changed, one line
// each. A value the track refuses is listed on stderr and the command fails; what
// the fixes did all the same is kept (and saved by the one-shot form).
#include <ostream>

#include "check/track_fixes.h"
#include "cli/cli_document.h"
#include "cli/cli_session.h"
#include "cli/document_commands.h"
#include "model/track.h"

namespace meridal {

namespace {

struct FixKind {
  const char* name;
  std::vector<FixCommand> commands;
};

const FixKind kFixKinds[] = {
    {"positions", {FixCommand::JoinAllPositions}},
    {"heights", {FixCommand::MatchAllHeights}},
    {"walls", {FixCommand::MatchAllWalls}},
    // Heights and walls do not move sections: the order only keeps the output tidy.
    {"all", {FixCommand::JoinAllPositions, FixCommand::MatchAllHeights, FixCommand::MatchAllWalls}},
};

}  // namespace

int RunFix(TCliSession& session, const CliArgs& args, CliIo io) {
  const FixKind* kind = nullptr;
  for (const FixKind& candidate : kFixKinds)
    if (args.positional[0] == candidate.name) kind = &candidate;
  if (!kind) return kShowUsage;
  TDocument* document = session.Document(io);
  if (!document) return 1;
  int refused = 0;
  for (FixCommand command : kind->commands) {
    TFixReport report;
    document->Change([&](history::TEditor& editor) {
      report = ApplyFix(editor, command);
      return report.outcome;
    });
    for (const TFixEntry& entry : report.entries) (entry.refused ? io.err : io.out) << FixText(entry) << '\n';
    refused += report.Refusals();
  }
  if (refused == 0) return 0;
  io.err << refused << (refused == 1 ? " value" : " values") << " refused\n";
  return kFailedAfterChanges;  // what the fixes did is kept all the same
}

}  // namespace meridal
