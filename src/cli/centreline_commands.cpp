// fit: a track from a circuit's centreline (CSV, GPX or GeoJSON); centreline: a
// track's zero line back out as a CSV centreline.
#include <chrono>
#include <cstdio>
#include <ostream>

#include "cli/cli_document.h"
#include "files/safety/shown_text.h"
#include "model/track.h"
#include "model/units.h"
#include "present/format.h"
#include "solve/centreline.h"
#include "solve/centreline_export.h"
#include "solve/centreline_fit.h"
#include "solve/centreline_parse.h"

namespace meridal {

namespace {

const char kFitUsage[] =
    "fit IN OUT [--tolerance METRES] [--min-length METRES] [--traces N] [--width METRES] [--force]";
const char kCentrelineUsage[] = "centreline FILE OUT.csv [--step METRES]";

// A positive number of metres from an option, or `fallback` without it; false
// after a usage message.
bool Metres(const CliArgs& args, const char* option, double fallback, double& value, CliIo io) {
  value = fallback;
  if (!args.Has(option)) return true;
  if (centreline::ParseNumber(args.Get(option), value) && value > 0 && value <= 1e6) return true;
  io.err << "meridal-cli: " << option << " takes a number of metres more than 0\n";
  return false;
}

}  // namespace

int CommandFit(const CliArgs& args, CliIo io) {
  if (!ExpectArgs(args, 2, 2, kFitUsage, io)) return 2;
  const auto begin = std::chrono::steady_clock::now();
  TFitOptions options;
  double width = 12;
  if (!Metres(args, "--tolerance", 0.5, options.tolerance, io) || !Metres(args, "--width", 12, width, io) ||
      !Metres(args, "--min-length", 5, options.minLength, io))
    return 2;
  if (args.Has("--traces")) {
    double traces = 0;
    if (!centreline::ParseNumber(args.Get("--traces"), traces) || traces != std::floor(traces) || traces < 2 ||
        traces > 16) {
      io.err << "meridal-cli: --traces takes a whole number from 2 to 16\n";
      return 2;
    }
    options.traces = int(traces);
  }
  const TCentrelineRead read = ReadCentrelineFile(args.positional[0], width);
  for (const std::string& warning : read.warnings) io.err << ShownPath(args.positional[0]) << ": " << warning << '\n';
  if (!read.ok) {
    io.err << ShownPath(args.positional[0]) << ": " << read.error << '\n';
    return 1;
  }
  TFitResult fit = FitCentreline(read.line, options);
  for (const std::string& warning : fit.warnings) io.err << ShownPath(args.positional[0]) << ": " << warning << '\n';
  // The best found, further than the tolerance, is written only when asked.
  const bool force = args.Has("--force") && fit.track;
  if (!fit.ok) {
    io.err << ShownPath(args.positional[0]) << ": " << (force ? "warning: " : "") << fit.error << '\n';
    if (!force) return 1;
  }
  if (!SaveTrack(*fit.track, args.positional[1], io)) return 1;
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  const TFitSummary& s = fit.summary;
  io.out << FormatPrintf("%d sections over %.3f km (%.1f a km)\n", s.sections, s.length / 1000,
                         s.sections / (s.length / 1000));
  io.out << FormatPrintf("shortest section: %.2f m; narrowed for tight bends: %d\n", s.shortest, s.narrowed);
  io.out << FormatPrintf("deviation: largest %.3f m, RMS %.3f m\n", s.largest, s.rms);
  io.out << FormatPrintf("closure before rounding: %.3g m; after: %.2f mm\n", s.closureBefore,
                         s.closureAfter * static_cast<double>(kMetersPerUnit) * 1000);
  if (read.line.HasHeights()) io.out << FormatPrintf("heights: within %.3f m of the smoothed input\n", s.heightLargest);
  io.out << FormatPrintf("time: %.2f s\n", seconds);
  return 0;
}

int CommandCentreline(const CliArgs& args, CliIo io) {
  if (!ExpectArgs(args, 2, 2, kCentrelineUsage, io)) return 2;
  double step = 5;
  if (!Metres(args, "--step", 5, step, io)) return 2;
  auto track = LoadTrack(args.positional[0], io);
  if (!track) return 1;
  const std::string csv = CentrelineCsv(*track, step);
  if (csv.empty()) {
    io.err << ShownPath(args.positional[0]) << ": the track has no length\n";
    return 1;
  }
  return WriteTextFile(args.positional[1], csv, io) ? 0 : 1;
}

}  // namespace meridal
