// fix: the track check's fixes on a file, and what they changed, one line each.
// A value the track refuses is listed on stderr and the command exits 1; what the
// fixes did all the same is saved.
#include <ostream>

#include "check/track_fixes.h"
#include "cli/cli_document.h"
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

int CommandFix(const CliArgs& args, CliIo io) {
  const char* usage = "fix FILE positions|heights|walls|all [-o OUT]";
  if (!ExpectArgs(args, 2, 2, usage, io)) return 2;
  const FixKind* kind = nullptr;
  for (const FixKind& candidate : kFixKinds)
    if (args.positional[1] == candidate.name) kind = &candidate;
  if (!kind) {
    io.err << "usage: meridal-cli " << usage << "\n";
    return 2;
  }
  TrackFormat readAs = TrackFormat::Project;
  auto track = LoadTrack(args.positional[0], io, &readAs);
  if (!track) return 1;

  history::THistory history;
  history::TEditor editor(*track, history);
  int refused = 0;
  for (FixCommand command : kind->commands) {
    const TFixReport report = ApplyFix(editor, command);
    for (const TFixEntry& entry : report.entries) (entry.refused ? io.err : io.out) << FixText(entry) << '\n';
    refused += report.Refusals();
  }
  // An unchanged file is left alone; an output named is always written.
  if (history.Count() > 0 || args.Has("-o")) {
    track->UpdateExtent();
    const bool saved = args.Has("-o") ? SaveTrack(*track, args.Get("-o"), io)
                                      : SaveTrack(*track, args.positional[0], io, readAs);
    if (!saved) return 1;
  }
  if (refused == 0) return 0;
  io.err << refused << (refused == 1 ? " value" : " values") << " refused\n";
  return 1;
}

}  // namespace meridal
