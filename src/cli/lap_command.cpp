// lap: the lap time of the track for a vehicle on a line, with the speeds along
// it written as CSV when asked.
#include <ostream>

#include "cli/cli_document.h"
#include "cli/cli_session.h"
#include "cli/document_commands.h"
#include "drive/lap.h"
#include "drive/lap_csv.h"
#include "drive/track_stations.h"
#include "drive/vehicle.h"
#include "model/track.h"
#include "present/format.h"

namespace meridal {

namespace {

std::string Speed(double v) { return FormatPrintf("%.2f m/s (%.1f km/h)", v, v * 3.6); }

void Report(const TLap& lap, const TVehicle& vehicle, std::ostream& out) {
  out << vehicle.name << ", " << LineKindName(lap.kind) << " line\n";
  out << FormatPrintf("lap time: %.3f s\n", lap.lapTime);
  out << FormatPrintf("thirds: %.3f s, %.3f s, %.3f s\n", lap.thirds[0], lap.thirds[1], lap.thirds[2]);
  out << "top speed: " << Speed(lap.topSpeed) << '\n';
  out << "lowest speed: " << Speed(lap.lowestSpeed) << '\n';
  out << FormatPrintf("line length: %.1f m\n", lap.line.length);
  out << FormatPrintf("greatest curvature: %.4f rad/m\n", lap.greatestCurvature);
  out << FormatPrintf("solved in: %.3f s", lap.solveSeconds);
  if (lap.linearisations > 0) out << FormatPrintf(" (%d linearisations)", lap.linearisations);
  out << '\n';
}

}  // namespace

int RunLap(TCliSession& session, const CliArgs& args, CliIo io) {
  const auto kind = LineKindOfName(args.Get("--line", "min-curvature"));
  if (!kind) {
    io.err << "meridal-cli: --line takes centre or min-curvature\n";
    return kShowUsage;
  }
  TVehicle vehicle = DefaultVehicle();
  if (args.Has("--vehicle")) {
    TVehicleRead read = ReadVehicleFile(args.Get("--vehicle"));
    if (!read.ok) {
      io.err << read.error << '\n';
      return 1;
    }
    vehicle = std::move(read.vehicle);
  }
  const TTrack* track = session.Track(io);
  if (!track) return 1;
  const TTrackStations stations = SampleStations(*track, vehicle);
  const TLap lap = DriveLap(stations, vehicle, *kind);
  for (const std::string& warning : lap.warnings) io.err << "meridal-cli: warning: " << warning << '\n';
  if (!lap.ok) {
    io.err << "meridal-cli: no lap: " << lap.error << '\n';
    return 1;
  }
  Report(lap, vehicle, io.out);
  return !args.Has("--csv") || WriteTextFile(args.Get("--csv"), LapCsv(lap), io) ? 0 : 1;
}

}  // namespace meridal
