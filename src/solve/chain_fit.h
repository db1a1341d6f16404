#pragma once
// A tangent-continuous chain of straights and arcs fitted to points by least
// squares: the sum of the squared distances from the points to the chain, with
// the chain's end held to a pose (the loop's own start, or a fixed pose when
// only part of a chain is refitted). Gauss-Newton with a damping that grows
// while a step fails, the end held by the linearised constraint at each step.
//
// Each step solves for the values and the poses of the joints together, each
// segment's end tied to the next start by a linearised constraint: a banded,
// sparse system, so that a step costs in proportion to the number of segments
// and of points.
#include <functional>
#include <vector>

namespace meridal {

struct TSegment {
  double length = 0;     // metres
  double curvature = 0;  // 1/metres, positive turning left; 0 for a straight
  bool straight = false;
  // The sharpest turns the walls allow: the centre must lie beyond them.
  double leftmost = 1.0, rightmost = -1.0;
};

struct TFitPose {
  double x = 0, y = 0, theta = 0;
};

struct TFitPoint {
  double x = 0, y = 0;
  int segment = 0;    // the segment the point's nearest place lies on
  double along = 0;   // how far along that segment, metres
  double distance = 0;
};

class TChainFit {
 public:
  // `closed`: the chain must come back to its start with its heading plus
  // `turns` whole turns, and the start heading is free; otherwise the start pose
  // stays and the end must meet `target`.
  TChainFit(TFitPose start, std::vector<TSegment> segments, std::vector<TFitPoint> points, bool closed, int turns,
            TFitPose target = {});

  // The shortest length a segment may take (one already shorter keeps its own).
  void SetShortest(double shortest) { shortest_ = shortest; }
  // Asked before each step: true stops the solve where it is.
  void SetStop(const std::function<bool()>* stop) { stop_ = stop; }
  // Counts in `*work` what the solve does: a unit for each point measured or
  // weighed, and kWorkPerUnknown for each unknown of each system solved.
  void SetWork(double* work) { work_ = work; }
  static constexpr double kWorkPerUnknown = 8.0;
  // Runs up to `iterations` steps; true when the end meets its target.
  bool Solve(int iterations);
  // Finds each point's nearest place on its segment or a neighbour's.
  void Reproject();

  const std::vector<TSegment>& Segments() const { return segments_; }
  const std::vector<TFitPoint>& Points() const { return points_; }
  const TFitPose& Start() const { return start_; }
  // The pose at the start of each segment, and after the last.
  std::vector<TFitPose> Poses() const;
  double SumOfSquares() const;
  double Largest() const;
  // How far the end misses its target: metres, and radians of heading.
  double EndGap() const;
  double EndTurn() const;

  // The pose `along` metres into a segment that starts at `from`.
  static TFitPose Along(const TFitPose& from, const TSegment& segment, double along);

 private:
  struct Param {
    int segment;   // -1: the start heading
    bool curvature;
    double w[3];   // the rigid motion of what lies downstream, per unit
  };
  void Nearest(TFitPoint& point, const std::vector<TFitPose>& poses) const;
  std::vector<Param> Params(const std::vector<TFitPose>& poses) const;
  void EndResidual(const std::vector<TFitPose>& poses, double c[3]) const;
  double Merit() const;

  TFitPose start_, target_;
  std::vector<TSegment> segments_;
  std::vector<TFitPoint> points_;
  bool closed_;
  int turns_;
  double shortest_ = 0.5;
  double damping_ = 1e-3;
  const std::function<bool()>* stop_ = nullptr;
  double* work_ = nullptr;
};

}  // namespace meridal
