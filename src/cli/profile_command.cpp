// profile: the heights of every trace along the track, as CSV.
#include <ostream>

#include "cli/cli_session.h"
#include "cli/document_commands.h"
#include "graphics/profile_sampling.h"
#include "model/track.h"
#include "present/format.h"
#include "present/value_text.h"

namespace meridal {

namespace {

constexpr int kDefaultSamples = 8;
constexpr int kMostSamples = 100000;

}  // namespace

int RunProfile(TCliSession& session, const CliArgs& args, CliIo io) {
  const auto samples = ParseCanonicalDecimal(args.Get("--samples", std::to_string(kDefaultSamples)));
  if (!samples || *samples < 1 || *samples > kMostSamples) {
    io.err << "meridal-cli: --samples takes a number from 1 to " << kMostSamples << "\n";
    return 2;
  }
  const TTrack* track = session.Track(io);
  if (!track) return 1;
  io.out << "section,t,distance_m";
  for (int j = 0; j < track->NumberOfTraces(); ++j) io.out << ",trace_" << j << "_m";
  io.out << '\n';
  for (const TSectionSample& row : SampleSections(*track, *samples)) {
    io.out << row.section << FormatPrintf(",%.6f,%.6f", row.t, row.distance);
    for (double h : row.heights) io.out << FormatPrintf(",%.6f", h);
    io.out << '\n';
  }
  return 0;
}

}  // namespace meridal
