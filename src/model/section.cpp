#include "model/section.h"

#include <cmath>

#include "model/curved_section.h"
#include "model/numbers.h"
#include "model/track.h"
#include "model/units.h"

namespace meridal {

TSection::TSection(TTrack* owner) : TBase(owner) {}

TSection::~TSection() = default;

bool TSection::IsCurved() const { return dynamic_cast<const TCurvedSection*>(this) != nullptr; }

TTrack* TSection::Track() const { return static_cast<TTrack*>(Owner); }

int TSection::TraceCount() const { return Track() ? Track()->NumberOfTraces() : 0; }

int32_t TSection::TracePosition(int i) const { return Track()->Traces[static_cast<size_t>(i)]; }

TSection* TSection::NextSection() const {
  TTrack* track = Track();
  const int n = track->NumberOfSections();
  if (n == 0) return const_cast<TSection*>(this);
  return track->Section(Number + 1 >= n ? 0 : Number + 1);
}

TSection* TSection::PreviousSection() const {
  TTrack* track = Track();
  const int n = track->NumberOfSections();
  if (n == 0) return const_cast<TSection*>(this);
  return track->Section(Number <= 0 ? n - 1 : Number - 1);
}

TBase* TSection::Next() const { return NextSection(); }
TBase* TSection::Previous() const { return PreviousSection(); }

void TSection::CopyKept(const TSection& source) {
  Number = source.Number;
  Start = source.Start;
  Length = source.Length;
  Orientation = source.Orientation;
  Reserved = source.Reserved;
}

void TSection::CopySection(const TSection& source) {
  Number = source.Number;
  Values() = source.Values();
  for (const auto& altitude : source.Altitudes) Altitudes.push_back(std::make_unique<TAltitude>(this, *altitude));
  for (const auto& wall : source.Walls) Walls.push_back(std::make_unique<TWall>(this, *wall));
}

void TSection::RecomputeAllTracePoints() {
  for (int i = 0; i < TraceCount(); ++i) RecomputeTracePoint(i);
}

void TSection::RecomputeAllWallPoints() {
  for (int k = 0; k < NumberOfWalls(); ++k) RecomputeWallPoints(k);
}

void TSection::RecomputeDerived() {
  RecomputeStartX();
  RecomputeStartY();
  RecomputeSpanX();
  RecomputeSpanY();
  RecomputeAllWallPoints();
  RecomputeExtent();
}

// ---- continuity with the previous section ----

int32_t TSection::OrientationMismatch() const {
  return wrapSub(Orientation, PreviousSection()->EndOrientation());
}

int32_t TSection::LongitudinalGap() const {
  TSection* previous = PreviousSection();
  const double theta = OrientationToRadians(Orientation);
  const double dx = StartX() - previous->EndX();
  const double dy = StartY() - previous->EndY();
  return nearest(std::cos(theta) * dx + std::sin(theta) * dy);
}

int32_t TSection::LateralGap() const {
  TSection* previous = PreviousSection();
  const double theta = OrientationToRadians(Orientation);
  const double dx = StartX() - previous->EndX();
  const double dy = StartY() - previous->EndY();
  return nearest(std::cos(theta) * dy - std::sin(theta) * dx);
}

bool TSection::SetGaps(int32_t longitudinal, int32_t lateral) {
  TSection* previous = PreviousSection();
  const double theta = OrientationToRadians(Orientation);
  const double g = longitudinal, h = lateral;
  const double x = previous->EndX() + g * std::cos(theta) - h * std::sin(theta);
  const double y = previous->EndY() + h * std::cos(theta) + g * std::sin(theta);
  return SetStart(x, y);
}

int32_t TSection::GetValue(const std::string& name) const {
  if (name == "Start") return Start;
  if (name == "Length") return Length;
  if (name == "Orientation") return Orientation;
  if (name == "Orientation mismatch") return OrientationMismatch();
  if (name == "Curvature") {
    const auto* curve = dynamic_cast<const TCurvedSection*>(this);
    return curve ? curve->Curvature() : 0;
  }
  if (name == "Longitudinal gap") return LongitudinalGap();
  if (name == "Lateral gap") return LateralGap();
  if (name == "Radius") return nearest(Radius);
  return 0;
}

bool TSection::SetValue(const std::string& name, int32_t value) {
  if (name == "Start") {
    Start = value;  // kept only until the next RecomputeStarts
    return true;
  }
  if (name == "Length") return SetLength(value);
  if (name == "Orientation") return SetOrientation(value);
  if (name == "Orientation mismatch") return SetOrientation(wrapAdd(PreviousSection()->EndOrientation(), value));
  if (name == "Curvature") return SetCurvature(value);
  if (name == "Longitudinal gap") return SetGaps(value, LateralGap());
  if (name == "Lateral gap") return SetGaps(LongitudinalGap(), value);
  if (name == "Radius") return SetRadius(value);
  return false;
}

// ---- picking ----

bool TSection::InExtent(double x, double y) const {
  return Extent.left <= x && x <= Extent.right && Extent.bottom <= y && y <= Extent.top;
}

bool TSection::HitTest(double x, double y) const { return InExtent(x, y); }

int TSection::FindWallStrip(double x, double y) const {
  const double u = LocalU(x, y);
  const double v = LocalV(x, y);
  for (int k = 0; k + 1 < NumberOfWalls(); ++k)
    if (InStrip(u, v, k, k + 1)) return k;
  return -1;
}

}  // namespace meridal
