// fix: the track check's fixes on a document, and what they changed, one line
// each. A value the track refuses is listed on stderr and the command fails; what
// the fixes did all the same is kept (and saved by the one-shot form).
#include <ostream>

#include "check/track_fixes.h"
#include "cli/cli_document.h"
#include "cli/cli_session.h"
#include "cli/document_commands.h"
#include "cli/object_path.h"
#include "files/safety/shown_text.h"
#include "model/track.h"
#include "solve/close_loop.h"

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

// Close Loop: the values it changes, one a line, then how the loop closed.
int RunCloseLoop(TCliSession& session, const CliArgs& args, CliIo io) {
  TLoopRange range;
  if (args.Has("--sections") && !ParseLoopRange(args.Get("--sections"), range)) {
    std::string problem;
    ParseSectionRange(args.Get("--sections"), &problem);
    io.err << "meridal-cli: --sections " << (problem.empty() ? "wants A-B, two section numbers" : ShownPath(problem))
           << "\n";
    return kShowUsage;
  }
  TDocument* document = session.Document(io);
  if (!document) return 1;
  const TLoopPlan plan = PlanCloseLoop(document->Track(), range);
  if (!plan.closes) {
    io.err << plan.refusal << "\n";
    return 1;
  }
  if (plan.alreadyClosed) return 0;
  if (document->Change([&](history::TEditor& editor) { return ApplyCloseLoop(editor, plan); }) ==
      history::Outcome::Refused) {
    io.err << "Close Loop refused\n";
    return 1;
  }
  for (const TLoopValue& value : plan.values) io.out << LoopValueText(value) << '\n';
  io.out << LoopSummaryText(plan) << '\n';
  return 0;
}

}  // namespace

int RunFix(TCliSession& session, const CliArgs& args, CliIo io) {
  if (args.positional[0] == "loop") return RunCloseLoop(session, args, io);
  if (args.Has("--sections")) return kShowUsage;
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
