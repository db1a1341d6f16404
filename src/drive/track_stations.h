#pragma once
// The track as a lap drives it: stations along the zero line, close enough that
// no line across the track steps more than the given distance between two of
// them, each with its cross-section's frame, its strips and their grip, the
// drivable run and the traces' heights. All in metres, and a copy: once sampled
// it needs the track no more, so that a line can be solved on another thread
// while the track is edited.
//
// The drivable run of a station is the run of strips around the zero line whose
// surface grips at least kDrivableGrip for the vehicle (all of them when the
// vehicle names no surface); a zero line on no such strip takes the nearest run,
// and a cross-section with none takes everything between its outermost walls.
//
//   TTrackStations stations = SampleStations(track, vehicle);
//   TPointD p = stations.PointAt(i, 1.5);     // 1.5 m left of station i's zero line
#include <cstdint>
#include <string>
#include <vector>

#include "model/values.h"

namespace meridal {

class TTrack;
struct TVehicle;

// The longest step of a line between two stations.
constexpr double kStationStep = 2.0;

struct TStation {
  int section = 0;
  double t = 0;         // along the section, 0 to 1
  double distance = 0;  // metres along the zero line from the track's start
  double x = 0, y = 0;  // the zero line's point
  double latX = 0, latY = 0;  // the unit vector across, to the left
  // How a point n metres across moves along with t: along + n alongPerLateral,
  // in metres per unit of t.
  double alongX = 0, alongY = 0, perLatX = 0, perLatY = 0;
  double lo = 0, hi = 0;  // the drivable run, metres across
  uint32_t firstStrip = 0, strips = 0;
};

// A strip of a cross-section: its edges (metres across) and its grip.
struct TStationStrip {
  double right = 0, left = 0, grip = 1;
};

// The ground at a point of a cross-section: its height, how it changes along the
// section (per unit of t, and again) and across it (rise per metre to the left).
struct TGroundAt {
  double height = 0, rise = 0, bend = 0, cross = 0;
};

class TTrackStations {
 public:
  std::vector<TStation> stations;
  std::vector<TStationStrip> strips;
  int traces = 0;
  std::vector<double> tracePositions;  // metres across
  // Per station and trace: the height, its rate and its second rate along t.
  std::vector<double> heights;
  double length = 0;  // metres of the zero line round the lap
  std::vector<std::string> warnings;

  size_t Size() const { return stations.size(); }
  TPointD PointAt(size_t i, double n) const {
    const TStation& s = stations[i];
    return {s.x + n * s.latX, s.y + n * s.latY};
  }
  // Metres a point n across moves per unit of t.
  double SpeedAlong(size_t i, double n) const;
  TGroundAt GroundAt(size_t i, double n) const;
  // The grip of the strip under a point; that of the nearest strip beyond the walls.
  double GripAt(size_t i, double n) const;
};

TTrackStations SampleStations(const TTrack& track, const TVehicle& vehicle, double step = kStationStep);

}  // namespace meridal
