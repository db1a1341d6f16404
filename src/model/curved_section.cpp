#include "model/curved_section.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "model/geometry_util.h"
#include "model/numbers.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "model/units.h"

namespace meridal {

namespace {

int Sign(double v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

// A stored length derived from an angle and a radius, or -1 when it would not be a
// valid length (below 1, or beyond the int32 range).
int64_t ArcLength(int32_t curvature, double radius) {
  const int64_t length = nearest64(CurvatureToRadians(curvature) * radius);
  if (length < 1 || length > 2147483647) return -1;
  return length;
}

}  // namespace

TCurvedSection::TCurvedSection(TTrack* owner) : TSection(owner) { Type = kCurved; }

TCurvedSection::TCurvedSection(TTrack* owner, const TCurvedSection& source) : TSection(owner) {
  CopySection(source);
}

TCurvedSection::TCurvedSection(TTrack* owner, const TStraightSection& source) : TSection(owner) {
  Type = kCurved;
  CopyKept(source);
  RecomputeExportWords();
  Curvature() = 119304647;  // 20 degrees to the left
  Radius = Length / CurvatureToRadians(Curvature());
  RecomputeStartY();
  CurveCenterX() = nearest(source.BaseX - Radius * std::cos(StartAngle));
  CurveCenterY() = nearest(source.BaseY - Radius * std::sin(StartAngle));
  FirstAltitude = source.FirstAltitude;
  FirstWall = source.FirstWall;
  for (const auto& altitude : source.Altitudes) {
    Altitudes.push_back(std::make_unique<TAltitude>(this, *altitude));
    RecomputeTracePoint(NumberOfAltitudes() - 1);
  }
  for (const auto& wall : source.Walls) {
    Walls.push_back(std::make_unique<TWall>(this, *wall));
    RecomputeWallPoints(NumberOfWalls() - 1);
  }
  RecomputeStartX();  // the radius becomes the rounded value read back from trace 0
  RecomputeExtent();
}

double TCurvedSection::SweptAngle() const { return CurvatureToRadians(Curvature()); }
double TCurvedSection::EndAngle() const { return StartAngle + SweptAngle(); }

// ---- derived values ----

void TCurvedSection::RecomputeStartX() {
  if (TraceCount() == 0 || NumberOfAltitudes() == 0) return;
  Radius = static_cast<double>(Altitude(0)->X) + TracePosition(0);
}

void TCurvedSection::RecomputeStartY() { StartAngle = 3.0 * Pi / 2.0 + OrientationToRadians(Orientation); }
void TCurvedSection::RecomputeSpanX() { SpanX = 0; }
void TCurvedSection::RecomputeSpanY() { SpanY = 0; }

void TCurvedSection::RecomputeExportWords() {
  ExportWords[3] = kCurveFiller;
  ExportWords[4] = kCurveFiller;
}

void TCurvedSection::RecomputeTracePoint(int i) {
  if (i < 0 || i >= TraceCount() || i >= NumberOfAltitudes()) return;
  Altitude(i)->X = wrapSub(nearest(Radius), TracePosition(i));
  Altitude(i)->Y = kCurveFiller;
}

void TCurvedSection::RecomputeWallPoints(int k) {
  if (k < 0 || k >= NumberOfWalls()) return;
  TWall* wall = Wall(k);
  wall->FromPoint = TPointD{Radius - wall->From, StartAngle};
  wall->ToPoint = TPointD{Radius - wall->To, StartAngle};
}

void TCurvedSection::RecomputeExtent() {
  const int64_t cx = CurveCenterX(), cy = CurveCenterY();
  const double a0 = StartAngle, a1 = EndAngle();
  BoxBuilder box(trunc64(Radius * std::cos(a0)) + cx, trunc64(Radius * std::sin(a0)) + cy);

  // The lateral reach of the section: its outermost trace or wall on each side.
  const int t = std::min(TraceCount(), NumberOfAltitudes());
  const int n = NumberOfWalls();
  std::vector<double> rightmost, leftmost;
  if (t > 0) {
    rightmost.push_back(TracePosition(0));
    leftmost.push_back(TracePosition(t - 1));
  }
  if (n > 0) {
    rightmost.insert(rightmost.end(), {double(Wall(0)->From), double(Wall(0)->To)});
    leftmost.insert(leftmost.end(), {double(Wall(n - 1)->From), double(Wall(n - 1)->To)});
  }
  const double lMin = rightmost.empty() ? 0 : *std::min_element(rightmost.begin(), rightmost.end());
  const double lMax = leftmost.empty() ? 0 : *std::max_element(leftmost.begin(), leftmost.end());
  double r1 = Radius - lMin, r2 = Radius - lMax;

  int64_t firstX = 0, firstY = 0;
  bool first = true;
  for (double r : {r1, r2}) {
    for (double a : {a0, a1}) {
      const int64_t x = trunc64(r * std::cos(a)) + cx, y = trunc64(r * std::sin(a)) + cy;
      if (first) { firstX = x; firstY = y; first = false; }
      box.Add(x, y);
    }
  }
  // Where the arc passes west, east, south or north of its centre, its outermost
  // and innermost lines reach furthest in that direction.
  r1 = std::fabs(r1);
  r2 = std::fabs(r2);
  const double absR = std::fabs(Radius);
  const double swept = std::fabs(SweptAngle());
  const int64_t d1 = trunc64(r1), d2 = trunc64(r2);
  struct Direction { int dx, dy; };
  for (Direction d : {Direction{-1, 0}, Direction{1, 0}, Direction{0, -1}, Direction{0, 1}}) {
    const double px = cx + d.dx * absR, py = cy + d.dy * absR;
    if (std::fabs(LocalU(px, py)) <= swept) {
      box.Add(cx + d.dx * d1, cy + d.dy * d1);
      box.Add(cx + d.dx * d2, cy + d.dy * d2);
    } else {
      box.Add(firstX, firstY);
      box.Add(firstX, firstY);
    }
  }
  Extent = box.Widened();
}

// ---- setters ----

void TCurvedSection::KeepStart(double sx, double sy) {
  CurveCenterX() = nearest(sx - Radius * std::cos(StartAngle));
  CurveCenterY() = nearest(sy - Radius * std::sin(StartAngle));
}

bool TCurvedSection::CentreFits(double sx, double sy, double radius, double startAngle) const {
  return pointFitsInt32(sx - radius * std::cos(startAngle), sy - radius * std::sin(startAngle));
}

bool TCurvedSection::TraceRadiiFit(double radius) const {
  for (int i = 0; i < TraceCount(); ++i)
    if (!inInt32Range(nearest64(radius) - TracePosition(i))) return false;
  return true;
}

bool TCurvedSection::TracePositionFits(int32_t position) const {
  return inInt32Range(nearest64(Radius) - position);
}

bool TCurvedSection::SetLength(int32_t length) {
  if (length < 1) return false;
  const double angle = length / Radius;
  if (!(std::fabs(angle) < 2.0 * Pi)) return false;
  // An arc so short that its curvature rounds to 0, or one whose curvature would
  // wrap past the 32-bit range, is refused like any other invalid value.
  const int64_t curvature = nearest64(angle * 0.5 * kTwoPow31 / Pi);
  if (curvature == 0 || curvature > 2147483647 || curvature < -2147483648LL) return false;
  Length = length;
  Curvature() = static_cast<int32_t>(curvature);
  RecomputeExtent();
  if (Track()) Track()->RecomputeStarts();
  return true;
}

bool TCurvedSection::SetOrientation(int32_t orientation) {
  const double sx = StartX(), sy = StartY();
  // The arc turns about its start: its centre moves, and must stay in the plan.
  if (!CentreFits(sx, sy, Radius, 3.0 * Pi / 2.0 + OrientationToRadians(orientation))) return false;
  Orientation = orientation;
  RecomputeStartY();
  KeepStart(sx, sy);
  RecomputeAllWallPoints();
  RecomputeExtent();
  RecomputeExportWords();
  return true;
}

bool TCurvedSection::SetCurvature(int32_t curvature) {
  if (curvature == 0) return false;
  const bool mirror = Sign(Radius) != Sign(curvature);
  const double radius = mirror ? -Radius : Radius;
  const int64_t length = ArcLength(curvature, radius);
  if (length < 0) return false;  // the arc would have no valid length
  const double sx = StartX(), sy = StartY();
  // A mirrored arc has its centre on the other side and new trace radii.
  if (mirror && (!CentreFits(sx, sy, radius, StartAngle) || !TraceRadiiFit(radius))) return false;
  Curvature() = curvature;
  if (mirror) {
    // A change of direction mirrors the arc about its start tangent.
    Radius = radius;
    KeepStart(sx, sy);
    RecomputeAllTracePoints();
    RecomputeAllWallPoints();
  }
  Length = static_cast<int32_t>(length);
  RecomputeExtent();
  if (Track()) Track()->RecomputeStarts();
  return true;
}

bool TCurvedSection::SetRadius(int32_t radius) {
  if (radius == 0) return false;
  const int n = NumberOfWalls();
  if (n > 0) {
    // The centre may not lie between the walls.
    if (radius < 0 && (radius > Wall(0)->From || radius > Wall(0)->To)) return false;
    if (radius > 0 && (radius < Wall(n - 1)->From || radius < Wall(n - 1)->To)) return false;
  }
  // Every trace keeps a stored radius, radius - lateral position: it must fit.
  if (!TraceRadiiFit(radius)) return false;
  int32_t curvature = Curvature();
  if (Sign(radius) != Sign(curvature)) curvature = wrapSub(0, curvature);
  const int64_t length = ArcLength(curvature, radius);
  if (length < 0) return false;
  const double sx = StartX(), sy = StartY();
  // The centre, put back so that the start stays, must fit the stored words too.
  if (!CentreFits(sx, sy, radius, StartAngle)) return false;
  Radius = radius;
  Curvature() = curvature;
  KeepStart(sx, sy);
  Length = static_cast<int32_t>(length);
  RecomputeAllTracePoints();
  RecomputeAllWallPoints();
  RecomputeExtent();
  if (Track()) Track()->RecomputeStarts();
  return true;
}

bool TCurvedSection::SetStart(double x, double y) {
  if (!CentreFits(x, y, Radius, StartAngle)) return false;  // the centre would wrap around
  CurveCenterX() = nearest(x - Radius * std::cos(StartAngle));
  CurveCenterY() = nearest(y - Radius * std::sin(StartAngle));
  RecomputeAllTracePoints();
  RecomputeAllWallPoints();
  RecomputeExtent();
  return true;
}

// ---- coordinates ----

double TCurvedSection::LocalToX(double angle, double radius) const { return CurveCenterX() + radius * std::cos(angle); }
double TCurvedSection::LocalToY(double angle, double radius) const { return CurveCenterY() + radius * std::sin(angle); }

double TCurvedSection::LocalV(double x, double y) const {
  // The signed radius carries the direction of the curve; a curvature of 0 (only a
  // file can bring one) counts as a left-hand curve.
  const double dx = x - CurveCenterX(), dy = y - CurveCenterY();
  const double d = std::sqrt(dx * dx + dy * dy);
  return Curvature() < 0 ? -d : d;
}

double TCurvedSection::LocalU(double x, double y) const {
  const double d = std::fabs(LocalV(x, y));
  if (d == 0) return 0;
  const double dx = x - CurveCenterX(), dy = y - CurveCenterY();
  const double c = std::clamp(dx / d, -1.0, 1.0);
  double g = dy >= 0 ? std::acos(c) : 2.0 * Pi - std::acos(c);
  if (g < Pi / 2.0) g += 2.0 * Pi;  // now in [pi/2, 5pi/2), the range of the start angle
  g -= StartAngle;
  if (g < 0) g += 2.0 * Pi;
  if (Curvature() >= 0) {
    if (g < 0) g += 2.0 * Pi;
  } else {
    g -= Pi;
    if (g > 0) g -= 2.0 * Pi;
  }
  return g;
}

double TCurvedSection::StartX() const { return LocalToX(StartAngle, Radius); }
double TCurvedSection::StartY() const { return LocalToY(StartAngle, Radius); }
double TCurvedSection::EndX() const { return LocalToX(EndAngle(), Radius); }
double TCurvedSection::EndY() const { return LocalToY(EndAngle(), Radius); }

int32_t TCurvedSection::EndOrientation() const {
  double e = SweptAngle() + OrientationToRadians(Orientation);
  while (e > Pi) e -= 2.0 * Pi;
  while (-Pi > e) e += 2.0 * Pi;
  return nearest(e * kTwoPow31 / Pi);  // +pi wraps to -2^31, the same heading
}

bool TCurvedSection::HitTest(double x, double y) const {
  if (!InExtent(x, y)) return false;
  return InStrip(LocalU(x, y), LocalV(x, y), 0, NumberOfWalls() - 1);
}

bool TCurvedSection::InStrip(double u, double v, int a, int b) const {
  if (a < 0 || b < 0 || a >= NumberOfWalls() || b >= NumberOfWalls()) return false;
  const double swept = SweptAngle();
  if (!(std::fabs(u) <= std::fabs(swept))) return false;
  // Radii change linearly along the arc; with no swept angle only the start counts.
  const double f = swept != 0 ? u / swept : 0.0;
  const TWall* wa = Wall(a);
  const TWall* wb = Wall(b);
  const double ra = wa->FromPoint.x + (wa->ToPoint.x - wa->FromPoint.x) * f;
  const double rb = wb->FromPoint.x + (wb->ToPoint.x - wb->FromPoint.x) * f;
  return rb <= v && v <= ra;
}

}  // namespace meridal
