#include "graphics/section_paths.h"

#include <cmath>

#include "graphics/scale_draw.h"
#include "model/curved_section.h"
#include "model/straight_section.h"

namespace meridal {

PixelPath SectionPaths::Strip(const PixelPath& lineA, const PixelPath& lineB) {
  PixelPath polygon = lineA;
  for (int k = lineB.size(); k-- > 0;) polygon.push_back(lineB[k]);
  return polygon;
}

// ---- straight ----

TPoint StraightPaths::Pixel(double x, double y) const { return TPoint{view_.ToWindowX(x), view_.ToWindowY(y)}; }

PixelPath StraightPaths::WallLine(int k) const {
  const TWall& wall = *section_.Wall(k);
  return {Pixel(wall.FromPoint.x, wall.FromPoint.y),
          Pixel(wall.ToPoint.x + section_.SpanX, wall.ToPoint.y + section_.SpanY)};
}

PixelPath StraightPaths::TraceLine(int j) const {
  const TAltitude& trace = *section_.Altitude(j);
  return {Pixel(trace.X, trace.Y), Pixel(trace.X + section_.SpanX, trace.Y + section_.SpanY)};
}

PixelPath StraightPaths::ZeroLine() const {
  return {Pixel(section_.BaseX, section_.BaseY),
          Pixel(section_.BaseX + section_.SpanX, section_.BaseY + section_.SpanY)};
}

PixelPath StraightPaths::Outline(const PixelPath& lineA, const PixelPath& lineB) const {
  return {lineA[0], lineB[0], lineB[1], lineA[1], lineA[0]};
}

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

PixelPath CurvedPaths::Arc(double startRadius, double endRadius) const {
  // The section's LocalToX and LocalToY, with the directions computed once.
  const double cx = section_.CurveCenterX(), cy = section_.CurveCenterY();
  PixelPath path;
  for (int k = 0; k <= kChords; ++k) {
    const double radius = startRadius + k * (endRadius - startRadius) / kChords;
    path.push_back(TPoint{view_.ToWindowX(cx + radius * cos_[k]), view_.ToWindowY(cy + radius * sin_[k])});
  }
  return path;
}

PixelPath CurvedPaths::WallLine(int k) const {
  const TWall& wall = *section_.Wall(k);
  return Arc(wall.FromPoint.x, wall.ToPoint.x);
}

PixelPath CurvedPaths::TraceLine(int j) const {
  const double radius = section_.Altitude(j)->X;
  return Arc(radius, radius);
}

PixelPath CurvedPaths::ZeroLine() const { return Arc(section_.Radius, section_.Radius); }

PixelPath CurvedPaths::Outline(const PixelPath& lineA, const PixelPath& lineB) const {
  PixelPath path = Strip(lineA, lineB);
  path.push_back(lineA.front());
  return path;
}

bool CurvedPaths::StripNarrowerThan(int i, double pixels) const {
  // A wall's points hold its radii at the start and at the end.
  const TWall& a = *section_.Wall(i);
  const TWall& b = *section_.Wall(i + 1);
  const double units = pixels / view_.PixelsPerUnit();
  return std::fabs(b.FromPoint.x - a.FromPoint.x) < units && std::fabs(b.ToPoint.x - a.ToPoint.x) < units;
}

}  // namespace meridal
