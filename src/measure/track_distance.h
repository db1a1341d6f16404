#pragma once
// Measuring on the plan: the straight distance and bearing between two world
// points, and the distance along the track between them. A point is placed on
// the track by its nearest point on a section's zero line (the section under it
// when it lies on the track); its place is the distance from the track's start
// to there, the lengths of the sections before it summed in 64 bits (the
// sections' Start values are the file's and may have wrapped).
//
//   TTrackDistance along(track);
//   if (auto d = along.Between(x0, y0, x1, y1)) ...   // track units
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace meridal {

class TSection;
class TTrack;

// A point of the track's zero line.
struct TTrackPlace {
  int section = -1;
  double along = 0;   // track units from the track's start
  double x = 0, y = 0;  // the point of the zero line
  double offset = 0;  // track units from the measured point to (x, y)
};

class TTrackDistance {
 public:
  explicit TTrackDistance(const TTrack& track);

  // The place of the zero line nearest to a world point; none without sections.
  std::optional<TTrackPlace> Place(double x, double y) const;
  // The distance along the track from one point's place to the other's, never
  // negative. On a closed track (the last section ends within a metre of the
  // first one's start) the shorter way round, across the start line if need be.
  std::optional<double> Between(double x0, double y0, double x1, double y1) const;
  // The zero line between the two points' places, as Between measures it (the
  // shorter way round a closed track): world points, every section's ends
  // among them, an arc in steps of at most `arcStep` radians.
  std::vector<std::pair<double, double>> Path(double x0, double y0, double x1, double y1, double arcStep = 0.05) const;
  // The point of the zero line `along` units from the track's start.
  std::pair<double, double> PointAt(double along) const;
  double TotalLength() const { return total_; }
  bool Closed() const { return closed_; }

 private:
  TTrackPlace OnSection(int i, double x, double y) const;

  const TTrack& track_;
  std::vector<double> starts_;  // each section's distance from the track's start
  double total_ = 0;
  bool closed_ = false;
};

// The straight line between two world points: its length in track units and
// its bearing in degrees, clockwise from the plan's up (world +Y), in [0, 360).
struct TStraightMeasure {
  double length = 0;
  double bearing = 0;
};
TStraightMeasure MeasureStraight(double x0, double y0, double x1, double y1);

// The status bar's texts: "Distance 123.45 m, bearing 45.0°" and
// "Along the track 234.56 m (straight 123.45 m)".
std::string StraightMeasureText(const TStraightMeasure& measure);
std::string AlongMeasureText(double along, const TStraightMeasure& straight);

}  // namespace meridal
