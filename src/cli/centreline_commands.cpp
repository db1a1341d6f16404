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
#include "view_file/view_file.h"

namespace meridal {

namespace {

const char kFitUsage[] =
    "fit IN OUT [--tolerance METRES] [--min-length METRES] [--traces N] [--width METRES] [--force] "
    "[--heights relative|absolute|none] [--dem FILE [--dem-origin X,Y]]";
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

// "heights: largest 1.48 m, RMS 0.62 m from the input; greatest slope 10.61 %
// (smoothed input 10.55 %); relative to 398.71 m".
std::string HeightsReport(const THeightSummary& h, HeightDatum datum, bool terrain) {
  std::string text = FormatPrintf("heights: largest %.3f m, RMS %.3f m from the %s; greatest slope %.2f %%",
                                  h.largest, h.rms, terrain ? "terrain model's samples" : "input", h.greatestSlope * 100);
  text += FormatPrintf(" (smoothed %s %.2f %%)", terrain ? "samples" : "input", h.smoothedGreatestSlope * 100);
  if (datum == HeightDatum::Relative) text += FormatPrintf("; 0 at %.3f m", h.lowest);
  if (h.splits > 0) text += FormatPrintf("; %d section%s split for the hills", h.splits, h.splits == 1 ? "" : "s");
  return text + "\n";
}

// The track's side file names the terrain model it was fitted to, or no longer
// names one it was not.
bool KeepTerrain(const std::string& out, const std::optional<TTerrainLink>& terrain, CliIo io) {
  std::string error;
  std::optional<TViewSettings> settings = ReadViewSettings(out, error);
  if (!settings) {
    if (!terrain) return true;  // nothing to take out of a side file that cannot be read
    io.err << error << " (the track was written, without the note of its terrain model)\n";
    return false;
  }
  if (settings->terrain == terrain) return true;
  settings->terrain = terrain;
  if (WriteViewSettings(out, *settings, error)) return true;
  io.err << error << " (the track was written, without the note of its terrain model)\n";
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
  if (args.Has("--heights")) {
    const std::string mode = args.Get("--heights");
    if (mode == "relative") options.heights = HeightDatum::Relative;
    else if (mode == "absolute") options.heights = HeightDatum::Absolute;
    else if (mode == "none") options.heights = HeightDatum::None;
    else {
      io.err << "meridal-cli: --heights takes relative, absolute or none\n";
      return 2;
    }
  }
  if (args.Has("--dem")) options.terrain = args.Get("--dem");
  if (args.Has("--dem-origin")) {
    const std::string text = args.Get("--dem-origin");
    const size_t comma = text.find(',');
    double x = 0, y = 0;
    if (options.terrain.empty() || comma == std::string::npos ||
        !centreline::ParseNumber(std::string_view(text).substr(0, comma), x) ||
        !centreline::ParseNumber(std::string_view(text).substr(comma + 1), y)) {
      io.err << "meridal-cli: --dem-origin takes X,Y: where the centreline's (0, 0) lies in the --dem model's "
                "coordinates\n";
      return 2;
    }
    options.terrainOrigin = std::make_pair(x, y);
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
  if (!KeepTerrain(args.positional[1], fit.terrain, io)) return 1;
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  const TFitSummary& s = fit.summary;
  io.out << FormatPrintf("%d sections over %.3f km (%.1f a km)\n", s.sections, s.length / 1000,
                         s.sections / (s.length / 1000));
  io.out << FormatPrintf("shortest section: %.2f m; narrowed for tight bends: %d\n", s.shortest, s.narrowed);
  io.out << FormatPrintf("deviation: largest %.3f m, RMS %.3f m\n", s.largest, s.rms);
  io.out << FormatPrintf("closure before rounding: %.3g m; after: %.2f mm\n", s.closureBefore,
                         s.closureAfter * static_cast<double>(kMetersPerUnit) * 1000);
  if (s.heights.fitted) io.out << HeightsReport(s.heights, options.heights, fit.terrain.has_value());
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
