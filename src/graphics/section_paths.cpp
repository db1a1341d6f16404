#include "graphics/section_paths.h"

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

CurvedPaths::CurvedPaths(const TCurvedSection& section, const TScaleDraw& view) : section_(section), view_(view) {
  const double a0 = section_.StartAngle;
  const double span = section_.SweptAngle();
  for (int k = 0; k <= kChords; ++k) {
    const double angle = a0 + k * span / kChords;
    cos_[k] = std::cos(angle);
    sin_[k] = std::sin(angle);
  }
}

void CurvedPaths::Arc(double startRadius, double endRadius, PixelPath& out) const {
  // The section's LocalToX and LocalToY, with the directions computed once.
  const double cx = section_.CurveCenterX(), cy = section_.CurveCenterY();
  out.clear();
  for (int k = 0; k <= kChords; ++k) {
    const double radius = startRadius + k * (endRadius - startRadius) / kChords;
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
