#include "graphics/section_paths.h"

#include <algorithm>
#include <cmath>

namespace meridal {

// ---- straight ----

bool StraightPaths::StripNarrowerThan(int i, double pixels) const {
  const TWall& a = *section_.Wall(i);
  const TWall& b = *section_.Wall(i + 1);
  const double units = pixels / view_.PixelsPerUnit();
  const auto shorter = [limit = units * units](double dx, double dy) { return dx * dx + dy * dy < limit; };
  return shorter(b.FromPoint.x - a.FromPoint.x, b.FromPoint.y - a.FromPoint.y) &&
         shorter(b.ToPoint.x - a.ToPoint.x, b.ToPoint.y - a.ToPoint.y);
}

// ---- curved ----

int CurvedPaths::ChordsFor(double radiusPixels, double swept) {
  // A chord over the angle a strays r (1 - cos(a / 2)) from the arc at its middle.
  const double r = std::fabs(radiusPixels), span = std::fabs(swept);
  if (!(r > 0.5) || !(span > 0) || !std::isfinite(r) || !std::isfinite(span)) return kMinChords;
  const double most = 2.0 * std::acos(1.0 - 0.5 / r);
  const double needed = std::ceil(span / most);
  if (!(needed < PixelPath::kMaxChords)) return PixelPath::kMaxChords;
  return std::max(kMinChords, static_cast<int>(needed));
}

CurvedPaths::CurvedPaths(const TCurvedSection& section, const TScaleDraw& view) : section_(section), view_(view) {
  const double a0 = section_.StartAngle;
  const double span = section_.SweptAngle();
  // The outermost line has the largest radius: the zero line's, or a wall's.
  double outer = std::fabs(section_.Radius);
  for (const auto& wall : section_.Walls)
    outer = std::max({outer, std::fabs(wall->FromPoint.x), std::fabs(wall->ToPoint.x)});
  chords_ = ChordsFor(outer * view_.PixelsPerUnit(), span);
  for (int k = 0; k <= chords_; ++k) {
    const double angle = a0 + k * span / chords_;
    cos_[k] = std::cos(angle);
    sin_[k] = std::sin(angle);
  }
}

void CurvedPaths::Arc(double startRadius, double endRadius, PixelPath& out) const {
  // The section's LocalToX and LocalToY, with the directions computed once.
  const double cx = section_.CurveCenterX(), cy = section_.CurveCenterY();
  out.clear();
  for (int k = 0; k <= chords_; ++k) {
    const double radius = startRadius + k * (endRadius - startRadius) / chords_;
    out.push_back(TPoint{view_.ToWindowX(cx + radius * cos_[k]), view_.ToWindowY(cy + radius * sin_[k])});
  }
}

bool CurvedPaths::StripNarrowerThan(int i, double pixels) const {
  // A wall's points hold its radii at the start and at the end.
  const TWall& a = *section_.Wall(i);
  const TWall& b = *section_.Wall(i + 1);
  const double units = pixels / view_.PixelsPerUnit();
  return std::fabs(b.FromPoint.x - a.FromPoint.x) < units && std::fabs(b.ToPoint.x - a.ToPoint.x) < units;
}

}  // namespace meridal
