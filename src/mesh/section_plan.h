#pragma once
// A section's plan as a function of two numbers: t, from 0 at the start
// cross-section to 1 at the end, and the lateral position v (track units, positive
// to the left). Wall k runs at v = From + t (To - From); trace j at v = Traces[j].
// The points are those the plan view draws: on a straight the start point moved by
// t times the span and by v along the lateral unit taken from trace 0; on an arc
// the point at radius Radius - v, at the angle StartAngle + t times the swept angle.
#include <optional>
#include <string>

#include "model/wall.h"

namespace meridal {

class TSection;

// Where the points of one cross-section lie: P(v) = origin + v * lateral, and how
// fast they move along: dP/dt(v) = along + v * alongPerLateral.
struct TCrossFrame {
  TPointD origin, lateral, along, alongPerLateral;
  TPointD At(double v) const { return {origin.x + v * lateral.x, origin.y + v * lateral.y}; }
  TPointD Along(double v) const { return {along.x + v * alongPerLateral.x, along.y + v * alongPerLateral.y}; }
};

class TSectionPlan {
 public:
  // The plan of a section, or nothing when it has none to speak of (no length, an
  // arc of radius or curvature 0, values that are not numbers); `reason` then says
  // why, in words that follow "Section N skipped: ".
  static std::optional<TSectionPlan> Of(const TSection& section, std::string* reason = nullptr);

  TCrossFrame Frame(double t) const;
  // How many equal steps in t keep every chord of a line between the lateral
  // positions `vMin` and `vMax` within `tolerance` track units of the line.
  int StepsFor(double tolerance, double vMin, double vMax) const;
  // The length (track units) of the longest line between the lateral positions
  // `vMin` and `vMax`.
  double LongestLine(double vMin, double vMax) const;
  // The farthest any point between those lateral positions lies from the plan's
  // origin, along either axis (track units).
  double Reach(double vMin, double vMax) const;

 private:
  bool curved_ = false;
  // Straight: start point, span and lateral unit.
  TPointD base_, span_, lateral_;
  // Arc: centre, zero-line radius, start angle and swept angle.
  TPointD centre_;
  double radius_ = 0, startAngle_ = 0, swept_ = 0;
};

}  // namespace meridal
