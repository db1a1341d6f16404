#pragma once
// TSection: what straights and arcs share. Every section holds its own absolute
// placement; nothing chains a section to its neighbour, so gaps are shown and
// closed by the user.
#include <memory>
#include <vector>

#include "model/altitude.h"
#include "model/base.h"
#include "model/wall.h"

namespace meridal {

class TTrack;

enum SectionType : int32_t { kStraight = 1, kCurved = 2 };

class TSection : public TBase, public SectionValues {
 public:
  explicit TSection(TTrack* owner);
  ~TSection() override;

  std::vector<std::unique_ptr<TAltitude>> Altitudes;
  std::vector<std::unique_ptr<TWall>> Walls;

  SectionValues& Values() { return *this; }
  const SectionValues& Values() const { return *this; }

  // The kind, from the class: a file may bring a type word other than 1 or 2.
  bool IsCurved() const;
  int32_t NumberOfWalls() const { return static_cast<int32_t>(Walls.size()); }
  int32_t NumberOfAltitudes() const { return static_cast<int32_t>(Altitudes.size()); }
  TTrack* Track() const;
  TWall* Wall(int k) const { return Walls[static_cast<size_t>(k)].get(); }
  TAltitude* Altitude(int i) const { return Altitudes[static_cast<size_t>(i)].get(); }
  TSection* NextSection() const;
  TSection* PreviousSection() const;

  // ---- TBase ----
  TBase* Next() const override;
  TBase* Previous() const override;
  int32_t GetValue(const std::string& name) const override;
  bool SetValue(const std::string& name, int32_t value) override;

  // ---- the section's own operations, in order ----
  virtual void RecomputeStartX() {}
  virtual void RecomputeStartY() {}
  virtual void RecomputeSpanX() {}
  virtual void RecomputeSpanY() {}
  virtual void RecomputeExtent() {}
  virtual void RecomputeWallPoints(int) {}
  virtual void RecomputeTracePoint(int) {}
  virtual void RecomputeExportWords() {}
  virtual bool SetLength(int32_t) { return false; }
  virtual bool SetOrientation(int32_t) { return false; }
  virtual bool SetCurvature(int32_t) { return false; }
  virtual bool SetStart(double, double) { return false; }
  virtual bool SetRadius(int32_t) { return false; }
  // Whether a trace at this lateral position gets a stored point (straight) or
  // radius (curved) that fits 32 bits; a trace edit that breaks this is refused.
  virtual bool TracePositionFits(int32_t) const { return true; }
  virtual double LocalToX(double, double) const { return 0; }
  virtual double LocalToY(double, double) const { return 0; }
  virtual double LocalU(double, double) const { return 0; }
  virtual double LocalV(double, double) const { return 0; }
  virtual double StartX() const { return 0; }
  virtual double StartY() const { return 0; }
  virtual double EndX() const { return 0; }
  virtual double EndY() const { return 0; }
  virtual int32_t EndOrientation() const { return 0; }
  virtual bool HitTest(double x, double y) const;  // base: the Extent test alone
  virtual bool InStrip(double, double, int, int) const { return false; }

  // ---- continuity with the previous section, picking ----
  int32_t OrientationMismatch() const;
  int32_t LongitudinalGap() const;
  int32_t LateralGap() const;
  bool SetGaps(int32_t longitudinal, int32_t lateral);
  int FindWallStrip(double x, double y) const;
  bool InExtent(double x, double y) const;

  // Every trace point, every wall's points, then the box.
  virtual void RecomputeAllTracePoints();
  void RecomputeAllWallPoints();
  // Derived geometry after the stored fields were read or copied.
  void RecomputeDerived();

 protected:
  // A copy of a section of the same kind: every stored and cached value, and
  // copies of its altitudes and walls (without tree nodes).
  void CopySection(const TSection& source);
  // What a section converted to the other kind keeps: its number, start, length,
  // heading and reserved word.
  void CopyKept(const TSection& source);
  // Number of traces of the owning track.
  int TraceCount() const;
  int32_t TracePosition(int i) const;
};

}  // namespace meridal
