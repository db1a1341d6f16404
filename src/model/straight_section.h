#pragma once
#include "model/section.h"

namespace meridal {

class TCurvedSection;

class TStraightSection : public TSection {
 public:
  explicit TStraightSection(TTrack* owner);
  // A copy of a straight: every stored and cached value, altitudes and walls copied.
  TStraightSection(TTrack* owner, const TStraightSection& source);
  // A straight of the arc's length from the arc's start with the arc's heading.
  TStraightSection(TTrack* owner, const TCurvedSection& source);

  void SetDefaults() override;

  void RecomputeStartX() override;
  void RecomputeStartY() override;
  void RecomputeSpanX() override;
  void RecomputeSpanY() override;
  void RecomputeExtent() override;
  void RecomputeWallPoints(int k) override;
  void RecomputeTracePoint(int i) override;
  // Every trace point from one cosine and sine of the heading: a drag moves
  // thousands of sections, each placing all its points again.
  void RecomputeAllTracePoints() override;
  void RecomputeExportWords() override;
  bool SetLength(int32_t length) override;
  bool SetOrientation(int32_t orientation) override;
  bool SetStart(double x, double y) override;
  bool TracePositionFits(int32_t position) const override;
  double LocalToX(double u, double v) const override;
  double LocalToY(double u, double v) const override;
  double LocalU(double x, double y) const override;
  double LocalV(double x, double y) const override;
  double StartX() const override;
  double StartY() const override;
  double EndX() const override;
  double EndY() const override;
  int32_t EndOrientation() const override;
  bool HitTest(double x, double y) const override;
  bool InStrip(double u, double v, int firstWall, int lastWall) const override;

  double Heading() const;  // Orientation in radians
  // The unit vector across the section (to the left), from the stored trace-0 point.
  TPointD LateralUnit() const;

 private:
  // Whether every trace point fits 32 bits with the zero line starting at (x, y)
  // and heading along theta.
  bool TracePointsFit(double x, double y, double theta) const;
};

}  // namespace meridal
