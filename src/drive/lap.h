#pragma once
// A lap of the track: the line chosen, the speeds along it, the lap time and
// what a builder reads off them. It runs on stations sampled beforehand, so that
// it may run on a thread of its own while the track is edited, and stops early
// when cancelled.
//
//   TTrackStations stations = SampleStations(track, vehicle);
//   TLap lap = DriveLap(stations, vehicle, TLineKind::MinCurvature, &cancel);
//   if (lap.ok) std::cout << lap.lapTime << '\n';
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drive/line_path.h"
#include "drive/speed_trace.h"

namespace meridal {

class TTrackStations;
struct TVehicle;
class TCancelFlag;

enum class TLineKind { Centre, MinCurvature };

// "centre", "min-curvature"; nothing for another word.
std::optional<TLineKind> LineKindOfName(std::string_view name);
const char* LineKindName(TLineKind kind);

// The slowest point of a corner, and the section it lies in.
struct TCorner {
  size_t point = 0;
  int section = 0;
  double speed = 0;
};

struct TLap {
  bool ok = false;
  bool cancelled = false;
  std::string error;
  std::vector<std::string> warnings;
  TLineKind kind = TLineKind::Centre;
  TLinePath line;
  TSpeedTrace speed;
  double lapTime = 0;
  double thirds[3] = {0, 0, 0};  // s over each third of the line's length
  double topSpeed = 0, lowestSpeed = 0;
  double greatestCurvature = 0;  // 1/m
  double solveSeconds = 0;       // the line and the speeds, wall clock
  int linearisations = 0;        // of the line's curvature, by IPOPT
  std::vector<TCorner> corners;  // in the order driven
};

TLap DriveLap(const TTrackStations& stations, const TVehicle& vehicle, TLineKind kind,
              const TCancelFlag* cancel = nullptr);

// The corners of a speed trace: the slowest point between a braking and the
// acceleration after it, where the car slowed by at least kCornerDrop from the
// fastest point before and gains as much after.
constexpr double kCornerDrop = 2.0;  // m/s
std::vector<TCorner> FindCorners(const TTrackStations& stations, const TLinePath& line, const TSpeedTrace& speed);

}  // namespace meridal
