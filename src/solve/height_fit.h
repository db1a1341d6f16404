#pragma once
// Heights for a fitted loop: each trace's heights, given as samples along the
// loop, become one cubic per section, with heights and slopes equal on both
// sides of every joint and the loop closed on itself.
//
// Two steps. The samples are first smoothed over the whole lap: a closed cubic
// spline on knots a short way apart, fitted by least squares with a penalty on
// its second derivative, so that a GPS height's noise of a few metres is not
// followed. The sections' cubics are then fitted to that smoothed profile; where
// one cubic cannot follow it (a hill on a long straight), the section is split.
//
//   THeightFit fit(samples, lateral, {.reach = 40, .tolerance = 0.1});
//   fit.Fit(segments, 5.0);        // may split segments
//   ... build the track from the segments ...
//   fit.Store(track, fit.Lowest());  // relative: the lowest point at 0
//
// Stations are metres along the loop's zero line from section 0's start; a
// trace's slopes are rise per metre along the trace itself, as the track check
// and the profile measure them.
#include <cstddef>
#include <vector>

#include "solve/chain_fit.h"

namespace meridal {

class TTrack;

// What the stored heights are measured from.
enum class HeightDatum {
  Relative,  // the lowest point of the lap is 0
  Absolute,  // the input's own datum
  None,      // the track is flat
};

// What a fit of heights did, in the input's own terms.
struct THeightSummary {
  bool fitted = false;     // the track has heights from the input
  double largest = 0;      // metres: the stored heights against the input heights
  double rms = 0;          // metres
  double greatestSlope = 0;          // rise per run, of any trace inside any section
  double smoothedGreatestSlope = 0;  // rise per run, of the smoothed input
  double lowest = 0;       // metres in the input's datum: what relative heights are measured from
  int splits = 0;          // sections split so that a cubic can follow a hill
};

struct THeightSample {
  double station = 0;  // metres along the zero line
  double height = 0;   // metres
};

// A height profile round a closed loop, as a cubic spline with knots `spacing`
// apart: fitted to weighted values by least squares with a penalty of `penalty`
// times the integral of the squared second derivative. Positions are metres
// along the loop, from 0 to `total`.
class TLoopSpline {
 public:
  struct TValue {
    double at = 0, value = 0, weight = 1;
  };
  // Knots at `knots` (increasing, the first at 0, all below `total`).
  TLoopSpline(std::vector<double> knots, double total);
  // False when the system cannot be solved (no values, or values that are not numbers).
  bool Fit(const std::vector<TValue>& values, double penalty);

  double Value(double at) const;
  double Slope(double at) const;
  // The steepest slope anywhere, and the lowest value, from each piece's cubic.
  double GreatestSlope() const;
  double Lowest() const;
  // The value and slope at knot k.
  double KnotValue(size_t k) const { return value_[k]; }
  double KnotSlope(size_t k) const { return slope_[k]; }
  const std::vector<double>& Knots() const { return knots_; }
  double Total() const { return total_; }

 private:
  // The piece holding `at`, and where in it, from 0 to 1.
  size_t Piece(double at, double& u) const;
  double Length(size_t k) const;

  std::vector<double> knots_;
  double total_ = 0;
  std::vector<double> value_, slope_;
};

// A profile round a closed loop smoothed from weighted values: a cubic B-spline
// on knots evenly apart (C2 everywhere), fitted by least squares with a penalty
// on its third derivative. Its frequency response is 1 / (1 + (w reach)^6): what
// is much longer than the reach passes (a hill keeps its height and its slope),
// what is shorter is smoothed away, and a straight climb is never bent.
class TSmoothLoop {
 public:
  TSmoothLoop() = default;
  // False when nothing can be fitted (no values, or values that are not numbers).
  bool Fit(const std::vector<TLoopSpline::TValue>& values, double total, double reach);
  double Value(double at) const;
  double Slope(double at) const;
  double GreatestSlope() const;

 private:
  // The piece holding `at`, where in it from 0 to 1, and its coefficients.
  size_t Piece(double at, double& u) const;
  // The sum of the four coefficients about `at`, weighed by `weights`.
  double Weighed(double at, void (*weights)(double, double[4])) const;
  size_t C(size_t i) const { return i % coefficients_.size(); }

  double total_ = 1, spacing_ = 1;
  std::vector<double> coefficients_ = std::vector<double>(4, 0.0);
};

struct THeightFitOptions {
  double reach = 40;        // metres over which the input is smoothed
  double tolerance = 0.1;   // metres: how far a section's cubic may stray from the smoothed profile
  double slopeTolerance = 0.005;  // rise per run: how far its slope may
};

class THeightFit {
 public:
  // Each trace with samples of its own, along the zero line: `samples` and
  // `lateral` hold one entry per trace, its samples and its lateral position in
  // metres (positive to the left). Each is smoothed along the trace itself: a
  // terrain model sampled under every trace gives the cross-fall.
  THeightFit(const std::vector<TSegment>& segments, std::vector<std::vector<THeightSample>> samples,
             const std::vector<double>& lateral, THeightFitOptions options);
  // One set of samples for every trace: heights along the zero line (GPS), smoothed
  // along it, every trace taking the same height at the same place along its section.
  THeightFit(const std::vector<TSegment>& segments, std::vector<THeightSample> samples,
             const std::vector<double>& lateral, THeightFitOptions options);

  // Fits every trace's cubics to the loop, splitting segments where a cubic
  // cannot follow the smoothed heights, never into pieces shorter than
  // `shortest` metres. Returns how many splits were made.
  int Fit(std::vector<TSegment>& segments, double shortest);

  // Sets every section's altitudes from the fitted cubics, less `offset`
  // metres; the track's sections must be the segments Fit left.
  void Store(TTrack& track, double offset) const;

  // The lowest point of any trace's fitted heights, metres.
  double Lowest() const;
  // The greatest slope of the smoothed input along any trace.
  double SmoothedGreatestSlope() const;

  // The stored heights against the samples: the largest and the RMS difference
  // (metres, with `offset` added back), and the greatest slope of any trace
  // inside any section, as the track check measures it.
  struct TReport {
    double largest = 0, rms = 0, greatestSlope = 0;
  };
  TReport Measure(const TTrack& track, double offset) const;

 private:
  // Stations along a line at a lateral position: each segment's start, and the loop's length.
  struct TFrame {
    double lateral = 0;
    std::vector<double> joints;
    double total = 0;
  };
  // Samples smoothed along a line at a lateral position.
  struct TProfile {
    TFrame frame;
    std::vector<THeightSample> samples;
    TSmoothLoop smooth;
    // How far the cubics may stray from it: the options', or more where the
    // input's own noise leaves the smoothed profile less sure.
    double tolerance = 0, slopeTolerance = 0;
  };
  struct TTrace {
    TFrame frame;
    size_t profile = 0;
    TLoopSpline cubics{{0}, 1};
    double smoothedSlope = 0;  // the profile's steepest along this trace
  };

  TFrame Frame(double lateral) const;
  // Where a station of a frame lies: the segment and the fraction of it.
  size_t Locate(const TFrame& frame, double station, double& t) const;
  double At(const TFrame& frame, size_t k, double t) const;
  void Smooth(TProfile& profile);
  // The smoothed profile under a trace station: its height, and its slope per metre of the trace.
  void ProfileAt(const TTrace& trace, double station, double& height, double& slope) const;
  // Raises the profile's tolerances to what the input's noise, smoothed, leaves.
  void AllowForNoise(TProfile& profile, const std::vector<TLoopSpline::TValue>& values) const;
  // Fits one trace's cubics; raises each segment's score to its worst place's
  // (1 is the tolerance) and notes that place's fraction.
  void FitCubics(TTrace& trace, std::vector<double>& score, std::vector<double>& where);

  std::vector<TProfile> profiles_;
  std::vector<TTrace> traces_;
  THeightFitOptions options_;
  std::vector<TSegment> segments_;
  TFrame zero_;
};

}  // namespace meridal
