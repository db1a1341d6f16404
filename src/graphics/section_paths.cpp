#include "graphics/section_paths.h"

#include "graphics/scale_draw.h"
#include "model/curved_section.h"
#include "model/straight_section.h"

namespace meridal {

PixelPath SectionPaths::Strip(int i) const {
  PixelPath polygon = WallLine(i);
  const PixelPath next = WallLine(i + 1);
  polygon.insert(polygon.end(), next.rbegin(), next.rend());
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

PixelPath StraightPaths::Outline(int a, int b) const {
  const PixelPath lineA = WallLine(a), lineB = WallLine(b);
  return {lineA[0], lineB[0], lineB[1], lineA[1], lineA[0]};
}

// ---- curved ----

PixelPath CurvedPaths::Arc(double startRadius, double endRadius) const {
  const double a0 = section_.StartAngle;
  const double span = section_.SweptAngle();
  PixelPath path;
  path.reserve(kChords + 1);
  for (int k = 0; k <= kChords; ++k) {
    const double angle = a0 + k * span / kChords;
    const double radius = startRadius + k * (endRadius - startRadius) / kChords;
    path.push_back(TPoint{view_.ToWindowX(section_.LocalToX(angle, radius)),
                          view_.ToWindowY(section_.LocalToY(angle, radius))});
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

PixelPath CurvedPaths::Outline(int a, int b) const {
  PixelPath path = WallLine(a);
  const TPoint first = path.front();
  const PixelPath lineB = WallLine(b);
  path.insert(path.end(), lineB.rbegin(), lineB.rend());
  path.push_back(first);
  return path;
}

}  // namespace meridal
