#pragma once
#include "model/section.h"

namespace meridal {

class TStraightSection;

class TCurvedSection : public TSection {
 public:
  explicit TCurvedSection(TTrack* owner);
  // A copy of an arc: every stored and cached value, altitudes and walls copied.
  TCurvedSection(TTrack* owner, const TCurvedSection& source);
  // A 20-degree left arc with the straight's start point, heading and length.
  TCurvedSection(TTrack* owner, const TStraightSection& source);

  int32_t& CurveCenterX() { return ExportWords[0]; }
  int32_t& CurveCenterY() { return ExportWords[1]; }
  int32_t& Curvature() { return ExportWords[2]; }
  int32_t CurveCenterX() const { return ExportWords[0]; }
  int32_t CurveCenterY() const { return ExportWords[1]; }
  int32_t Curvature() const { return ExportWords[2]; }

  bool ReadProject(ProjectReader& in) override;
  bool WriteProject(ProjectWriter& out) override;

  void RecomputeStartX() override;
  void RecomputeStartY() override;
  void RecomputeSpanX() override;
  void RecomputeSpanY() override;
  void RecomputeExtent() override;
  void RecomputeWallPoints(int k) override;
  void RecomputeTracePoint(int i) override;
  void RecomputeExportWords() override;
  bool SetLength(int32_t length) override;
  bool SetOrientation(int32_t orientation) override;
  bool SetCurvature(int32_t curvature) override;
  bool SetStart(double x, double y) override;
  bool SetRadius(int32_t radius) override;
  bool TracePositionFits(int32_t position) const override;
  double LocalToX(double angle, double radius) const override;
  double LocalToY(double angle, double radius) const override;
  double LocalU(double x, double y) const override;
  double LocalV(double x, double y) const override;
  double StartX() const override;
  double StartY() const override;
  double EndX() const override;
  double EndY() const override;
  int32_t EndOrientation() const override;
  bool HitTest(double x, double y) const override;
  bool InStrip(double u, double v, int firstWall, int lastWall) const override;

  double SweptAngle() const;  // Curvature in radians
  double EndAngle() const;    // StartAngle + SweptAngle

 private:
  // Puts the centre back so that the start stays at (sx, sy).
  void KeepStart(double sx, double sy);
  // Whether the centre that puts the start of an arc of this radius and start
  // angle at (sx, sy) fits 32 bits; whether every trace radius does.
  bool CentreFits(double sx, double sy, double radius, double startAngle) const;
  bool TraceRadiiFit(double radius) const;
};

}  // namespace meridal
