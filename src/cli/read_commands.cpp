// Commands that make a track (new, synth) or read one: tree, props, get, export,
// check.
#include <ostream>

#include "cli/cli_document.h"
#include "model/synthetic_track.h"
#include "model/track.h"
#include "present/format.h"
#include "present/rows.h"
#include "present/value_text.h"

namespace meridal {

namespace {

void PrintTree(const TTrack& track, std::ostream& out) {
  out << "Track\n";
  for (const auto& section : track.Sections) {
    out << "  " << section->Label(std::string()) << "\n";
    for (const auto& altitude : section->Altitudes) out << "    " << altitude->Label(std::string()) << "\n";
    for (const auto& wall : section->Walls) out << "    " << wall->Label(std::string()) << "\n";
  }
}

}  // namespace

int CommandNew(const CliArgs& args, CliIo io) {
  if (!ExpectArgs(args, 1, 1, "new OUT.mrd", io)) return 2;
  TTrack track;
  track.SetDefaults();
  return SaveTrack(track, args.positional[0], io) ? 0 : 1;
}

int CommandSynth(const CliArgs& args, CliIo io) {
  if (!ExpectArgs(args, 2, 2, "synth N OUT.mrd", io)) return 2;
  const auto sections = ParseCanonicalDecimal(args.positional[0]);
  if (!sections || *sections < 1 || *sections > kMaxSyntheticSections) {
    io.err << "meridal-cli: N must be a whole number of sections from 1 to " << kMaxSyntheticSections << "\n";
    return 2;
  }
  auto track = SyntheticTrack(*sections);
  return SaveTrack(*track, args.positional[1], io) ? 0 : 1;
}

int CommandTree(const CliArgs& args, CliIo io) {
  if (!ExpectArgs(args, 1, 1, "tree FILE.mrd", io)) return 2;
  auto track = LoadTrack(args.positional[0], io);
  if (!track) return 1;
  PrintTree(*track, io.out);
  return 0;
}

int CommandProps(const CliArgs& args, CliIo io) {
  if (!ExpectArgs(args, 1, 2, "props FILE.mrd [OBJECT]", io)) return 2;
  auto track = LoadTrack(args.positional[0], io);
  if (!track) return 1;
  TBase* object = args.positional.size() == 2 ? FindObject(*track, args.positional[1], io) : track.get();
  if (!object) return 1;
  RowList rows;
  object->FillProperties(rows);
  for (const PropertyRow& row : rows) {
    io.out << row.Caption;
    for (const std::string& item : row.SubItems) io.out << '\t' << item;
    io.out << '\n';
  }
  return 0;
}

int CommandGet(const CliArgs& args, CliIo io) {
  if (!ExpectArgs(args, 3, 3, "get FILE.mrd OBJECT NAME", io)) return 2;
  auto track = LoadTrack(args.positional[0], io);
  if (!track) return 1;
  TBase* object = FindObject(*track, args.positional[1], io);
  if (!object) return 1;
  io.out << object->AccessValue(args.positional[2], 0, false) << "\n";
  return 0;
}

int CommandExport(const CliArgs& args, CliIo io) {
  if (!ExpectArgs(args, 2, 2, "export FILE.mrd OUT.trk", io)) return 2;
  auto track = LoadTrack(args.positional[0], io);
  if (!track) return 1;
  return ExportTrackTo(*track, args.positional[1], io) ? 0 : 1;
}

int CommandCheck(const CliArgs& args, CliIo io) {
  if (!ExpectArgs(args, 1, 1, "check FILE.mrd", io)) return 2;
  auto track = LoadTrack(args.positional[0], io);
  if (!track) return 1;
  int open = 0;
  for (const auto& section : track->Sections) {
    const std::string label = section->Label(std::string());
    const int32_t mismatch = section->OrientationMismatch();
    const int32_t longitudinal = section->LongitudinalGap();
    const int32_t lateral = section->LateralGap();
    if (mismatch != 0)
      io.out << label << "\tOrientation mismatch\t" << mismatch << '\t' << AngleMeaning(mismatch) << '\n';
    if (longitudinal != 0)
      io.out << label << "\tLongitudinal gap\t" << longitudinal << '\t' << LengthMeaning(longitudinal) << '\n';
    if (lateral != 0) io.out << label << "\tLateral gap\t" << lateral << '\t' << LengthMeaning(lateral) << '\n';
    open += (mismatch != 0) + (longitudinal != 0) + (lateral != 0);
  }
  if (open == 0) {
    io.out << "closed\n";
    return 0;
  }
  io.err << open << (open == 1 ? " discontinuity" : " discontinuities") << ": the track is not closed\n";
  return 1;
}

}  // namespace meridal
