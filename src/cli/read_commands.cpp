// Commands that make a track (new, synth) or read one: tree, props, get, export,
// check.
#include <algorithm>
#include <ostream>

#include "present/object_labels.h"
#include "present/property_rows.h"
#include "check/track_check.h"
#include "cli/cli_document.h"
#include "cli/cli_session.h"
#include "cli/document_commands.h"
#include "files/safety/shown_text.h"
#include "model/synthetic_track.h"
#include "model/track.h"
#include "present/rows.h"
#include "present/value_names.h"
#include "present/value_text.h"
#include "solve/centreline_parse.h"

namespace meridal {

namespace {

void PrintTree(const TTrack& track, std::ostream& out) {
  out << "Track\n";
  for (const auto& section : track.Sections) {
    out << "  " << Label(*section) << "\n";
    for (const auto& altitude : section->Altitudes) out << "    " << Label(*altitude) << "\n";
    for (const auto& wall : section->Walls) out << "    " << Label(*wall) << "\n";
  }
}

}  // namespace

int CommandNew(const CliArgs& args, CliIo io) {
  if (!ExpectArgs(args, 1, 1, "new OUT.mrd", io)) return 2;
  TTrack track;
  track.SetDefaults();
  return SaveTrack(track, args.positional[0], io, std::nullopt, args.Has("--in-place")) ? 0 : 1;
}

int CommandSynth(const CliArgs& args, CliIo io) {
  if (!ExpectArgs(args, 2, 2, "synth N OUT.mrd", io)) return 2;
  const auto sections = ParseCanonicalDecimal(args.positional[0]);
  if (!sections || *sections < 1 || *sections > kMaxSyntheticSections) {
    io.err << "meridal-cli: N must be a whole number of sections from 1 to " << kMaxSyntheticSections << "\n";
    return 2;
  }
  auto track = SyntheticTrack(*sections);
  return SaveTrack(*track, args.positional[1], io, std::nullopt, args.Has("--in-place")) ? 0 : 1;
}

int RunTree(TCliSession& session, const CliArgs&, CliIo io) {
  const TTrack* track = session.Track(io);
  if (!track) return 1;
  PrintTree(*track, io.out);
  return 0;
}

int RunProps(TCliSession& session, const CliArgs& args, CliIo io) {
  const TTrack* track = session.Track(io);
  if (!track) return 1;
  const TBase* object = args.positional.size() == 1 ? FindObject(*track, args.positional[0], io) : track;
  if (!object) return 1;
  RowList rows;
  FillProperties(*object, rows);
  for (const PropertyRow& row : rows) {
    io.out << row.Caption;
    for (const std::string& item : row.SubItems) io.out << '\t' << item;
    io.out << '\n';
  }
  return 0;
}

int RunGet(TCliSession& session, const CliArgs& args, CliIo io) {
  const TTrack* track = session.Track(io);
  if (!track) return 1;
  const TBase* object = FindObject(*track, args.positional[0], io);
  if (!object) return 1;
  const auto value = ValueTextNamed(*object, args.positional[1]);
  if (!value) {
    io.err << NoValueNamedText(*object, ShownPath(args.positional[1])) << "\n";
    return 1;
  }
  io.out << *value << "\n";
  return 0;
}

int RunExport(TCliSession& session, const CliArgs& args, CliIo io) {
  const TTrack* track = session.Track(io);
  if (!track) return 1;
  // the writer only reads the track
  return ExportTrackTo(const_cast<TTrack&>(*track), args.positional[0], io, session.InPlaceAllowed()) ? 0 : 1;
}

int RunCheck(TCliSession& session, const CliArgs& args, CliIo io) {
  TCheckLimits limits;
  if (args.Has("--max-slope")) {
    double percent = 0;
    if (!centreline::ParseNumber(args.Get("--max-slope"), percent) || !(percent > 0) || percent > 1e6) {
      io.err << "meridal-cli: --max-slope takes a percentage more than 0\n";
      return 2;
    }
    limits.maxSlope = percent / 100;
  }
  session.ListsWhatIsWrongItself();
  const TTrack* track = session.Track(io);
  if (!track) return 1;
  // The file's damaged places first, then what the track itself does not join up.
  const std::vector<std::string>& damage = session.Damage();
  for (const std::string& place : damage) io.out << place << '\n';
  const std::vector<TTrackProblem> problems = CheckTrack(*track, limits);
  for (const TTrackProblem& problem : problems) io.out << ProblemText(problem) << '\n';
  if (!damage.empty())
    io.err << damage.size() << (damage.size() == 1 ? " damaged place" : " damaged places") << " in the file\n";
  if (!HasProblems(problems)) return damage.empty() ? 0 : 1;
  const auto count = std::count_if(problems.begin(), problems.end(), [](auto& p) { return !p.IsInformation(); });
  io.err << count << (count == 1 ? " problem" : " problems") << " found\n";
  return 1;
}

}  // namespace meridal
