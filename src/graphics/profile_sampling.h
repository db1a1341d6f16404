#pragma once
// The elevation profile as numbers: where each section lies along the track, the
// heights of every trace at given points of every section, and the heights
// gathered per pixel column for drawing.
//
// A section's point at t (0 at its start, 1 at its end) lies at distance
// Start + t x Length and at height h(t) = A t^3 + B t^2 + C t + D of each
// altitude; heights are handed out in metres, distances in track units.
//
//   std::vector<int64_t> starts = SectionStarts(track);
//   TColumnSamples columns;
//   SampleColumns(track, starts, 0, TrackEnd(starts, track), 1920, -1, columns);
#include <cstddef>
#include <cstdint>
#include <vector>

namespace meridal {

class TTrack;

// The distance of every section's start, in track units: its stored Start, carried
// past the 32-bit wrap that a track longer than about 109 km gives it (the
// multiple of 2^32 that brings it nearest the sum of the lengths before it). A
// Start set by hand is kept as it is.
std::vector<int64_t> SectionStarts(const TTrack& track);
// The distances the track covers: from the lowest start (0 or below) to the
// furthest section end.
struct TDistanceRange {
  double first = 0, last = 0;
};
TDistanceRange TrackDistances(const TTrack& track, const std::vector<int64_t>& starts);

// Every section at t = 0, 1/n, ..., 1: the section, t, the distance in metres and
// the height of each trace in metres.
struct TSectionSample {
  int section = 0;
  double t = 0;
  double distance = 0;
  std::vector<double> heights;
};
std::vector<TSectionSample> SampleSections(const TTrack& track, int perSection);

// The profile gathered per pixel column: column c covers the distances from
// first + c w to first + (c + 1) w, w = (last - first) / columns, and holds the
// lowest and highest height each trace reaches there (so that a section narrower
// than a pixel still shows its steps and bumps). A column that no section covers
// holds NaN.
struct TColumnSamples {
  int columns = 0;
  int traces = 0;
  double first = 0, last = 0;  // track units
  std::vector<double> low, high;  // metres, [trace * columns + column]
  // The steepest |gradient| of the slope trace in each column (NaN where none).
  int slopeTrace = -1;
  std::vector<double> steepest;
  // Whether a section starts within the column.
  std::vector<uint8_t> boundary;
  // Over every covered column and trace; NaN when nothing is covered.
  double lowest = 0, highest = 0;

  // Each section's lowest and highest height of each trace over its whole
  // length, [section * traces + trace], with the coefficients they were found
  // for: zoomed out, most sections lie within one column, and a picture drawn
  // again finds most of them unchanged.
  struct WholeHeights {
    int32_t a = 0, b = 0, c = 0, d = 0;
    bool known = false;
    double low = 0, high = 0;
  };
  std::vector<WholeHeights> whole;

  double Low(int trace, int column) const { return low[static_cast<size_t>(trace * columns + column)]; }
  double High(int trace, int column) const { return high[static_cast<size_t>(trace * columns + column)]; }
};
// Fills `out` (its buffers are reused from one call to the next). The cost grows
// with the columns and the traces, and only by a few comparisons per section
// outside the range.
void SampleColumns(const TTrack& track, const std::vector<int64_t>& starts, double first, double last, int columns,
                   int slopeTrace, TColumnSamples& out);
// Moves the whole-section heights known to the numbering of the traces after a
// trace was added (or removed) at `at`; the added trace's are not known yet.
void MoveWholeHeights(TColumnSamples& out, int at, bool added);
// Gathers columns `from` to `to` again, after heights changed there, as
// SampleColumns would gather them, and the extremes over every column. False
// (nothing done) when the columns are no longer those of this track.
bool ResampleColumns(const TTrack& track, const std::vector<int64_t>& starts, int from, int to, TColumnSamples& out);

}  // namespace meridal
