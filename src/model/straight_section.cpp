#include "model/straight_section.h"

#include <algorithm>
#include <cmath>

#include "model/curved_section.h"
#include "model/geometry_util.h"
#include "model/numbers.h"
#include "model/track.h"
#include "model/units.h"

namespace meridal {

TStraightSection::TStraightSection(TTrack* owner) : TSection(owner) { Type = kStraight; }

TStraightSection::TStraightSection(TTrack* owner, const TStraightSection& source) : TSection(owner) {
  CopySection(source);
}

TStraightSection::TStraightSection(TTrack* owner, const TCurvedSection& source) : TSection(owner) {
  Type = kStraight;
  CopyKept(source);
  RecomputeExportWords();
  // The straight starts where the arc started.
  const double startAngle = 3.0 * Pi / 2.0 + OrientationToRadians(Orientation);
  BaseX = source.LocalToX(startAngle, source.Radius);
  BaseY = source.LocalToY(startAngle, source.Radius);
  FirstAltitude = source.FirstAltitude;
  FirstWall = source.FirstWall;
  RecomputeSpanX();
  RecomputeSpanY();
  for (const auto& altitude : source.Altitudes) {
    Altitudes.push_back(std::make_unique<TAltitude>(this, *altitude));
    RecomputeTracePoint(NumberOfAltitudes() - 1);
  }
  for (const auto& wall : source.Walls) {
    Walls.push_back(std::make_unique<TWall>(this, *wall));
    RecomputeWallPoints(NumberOfWalls() - 1);
  }
  RecomputeStartX();  // the base is re-derived from the rounded trace points
  RecomputeStartY();
  RecomputeExtent();
}

void TStraightSection::SetDefaults() {
  Type = kStraight;
  Start = 0;
  Length = kFiftyMeters;
  Orientation = 0;
  Reserved = 0;
  RecomputeExportWords();
  BaseX = 0;
  BaseY = 0;
  RecomputeSpanX();
  RecomputeSpanY();
  Altitudes.clear();
  for (int i = 0; i < TraceCount(); ++i) {
    auto altitude = std::make_unique<TAltitude>(this);
    altitude->Number = i;
    Altitudes.push_back(std::move(altitude));
    RecomputeTracePoint(i);
  }
  Walls.clear();
  const int32_t positions[2] = {-kFiveMeters, kFiveMeters};
  const int32_t surfaces[2] = {kSurfaceTarmac, kSurfaceLeftBorder};
  for (int k = 0; k < 2; ++k) {
    auto wall = std::make_unique<TWall>(this);
    wall->From = wall->To = positions[k];
    wall->Surface = surfaces[k];
    wall->Number = k;
    Walls.push_back(std::move(wall));
    RecomputeWallPoints(k);
  }
  RecomputeExtent();
}

namespace {

// A point u along the heading and v across it (to the left) from the base, given
// the heading's cosine and sine: the one formula every placing uses, so that a
// point comes out the same to the bit however it is placed.
double AlongX(double base, double u, double v, double c, double s) { return base + u * c - v * s; }
double AlongY(double base, double u, double v, double c, double s) { return base + u * s + v * c; }

}  // namespace

double TStraightSection::Heading() const { return OrientationToRadians(Orientation); }

// ---- derived values ----

void TStraightSection::RecomputeStartX() {
  const int t = TraceCount();
  if (t == 0 || NumberOfAltitudes() < t) return;  // no trace points to derive from
  const double x0 = Altitude(0)->X, xl = Altitude(t - 1)->X;
  const double t0 = TracePosition(0), tl = TracePosition(t - 1);
  if (t0 == tl) {
    // First and last trace coincide: no line through them; step back across the
    // section from trace 0 along the heading's normal instead.
    BaseX = x0 + t0 * std::sin(Heading());
    return;
  }
  BaseX = x0 - (x0 - xl) * t0 / (t0 - tl);
}

void TStraightSection::RecomputeStartY() {
  const int t = TraceCount();
  if (t == 0 || NumberOfAltitudes() < t) return;
  const double y0 = Altitude(0)->Y, yl = Altitude(t - 1)->Y;
  const double t0 = TracePosition(0), tl = TracePosition(t - 1);
  if (t0 == tl) {
    BaseY = y0 - t0 * std::cos(Heading());
    return;
  }
  BaseY = y0 - (y0 - yl) * t0 / (t0 - tl);
}

void TStraightSection::RecomputeSpanX() { SpanX = Length * std::cos(Heading()); }
void TStraightSection::RecomputeSpanY() { SpanY = Length * std::sin(Heading()); }

void TStraightSection::RecomputeExportWords() {
  const double theta = Heading();
  ExportWords[0] = nearest(std::cos(theta) * kTwoPow30);
  ExportWords[1] = nearest(std::sin(theta) * kTwoPow30);
  ExportWords[2] = nearest(std::sin(-theta) * kTwoPow30);
  ExportWords[3] = nearest(std::cos(-theta) * kTwoPow30);
  ExportWords[4] = 1073741824;
}

TPointD TStraightSection::LateralUnit() const {
  // Walls are measured from the stored, rounded trace-0 point. A trace at lateral 0
  // gives no direction; then the last trace serves, and failing that the heading.
  const int t = TraceCount();
  for (int i : {0, t - 1}) {
    if (t == 0 || i < 0 || i >= NumberOfAltitudes()) break;
    const double ti = TracePosition(i);
    if (ti != 0) return TPointD{(Altitude(i)->X - BaseX) / ti, (Altitude(i)->Y - BaseY) / ti};
  }
  return TPointD{-std::sin(Heading()), std::cos(Heading())};
}

void TStraightSection::RecomputeTracePoint(int i) {
  if (i < 0 || i >= TraceCount() || i >= NumberOfAltitudes()) return;
  const double t = TracePosition(i);
  Altitude(i)->X = nearest(AlongX(BaseX, 0, t, std::cos(Heading()), std::sin(Heading())));
  Altitude(i)->Y = nearest(AlongY(BaseY, 0, t, std::cos(Heading()), std::sin(Heading())));
}

void TStraightSection::RecomputeAllTracePoints() {
  const double c = std::cos(Heading()), s = std::sin(Heading());
  const int traces = std::min(TraceCount(), NumberOfAltitudes());
  for (int i = 0; i < traces; ++i) {
    const double t = TracePosition(i);
    Altitude(i)->X = nearest(AlongX(BaseX, 0, t, c, s));
    Altitude(i)->Y = nearest(AlongY(BaseY, 0, t, c, s));
  }
}

void TStraightSection::RecomputeWallPoints(int k) {
  if (k < 0 || k >= NumberOfWalls()) return;
  const TPointD e = LateralUnit();
  TWall* wall = Wall(k);
  wall->FromPoint = TPointD{BaseX + wall->From * e.x, BaseY + wall->From * e.y};
  wall->ToPoint = TPointD{BaseX + wall->To * e.x, BaseY + wall->To * e.y};
}

void TStraightSection::RecomputeExtent() {
  BoxBuilder box(trunc64(BaseX), trunc64(BaseY));
  const int64_t spanX = trunc64(SpanX), spanY = trunc64(SpanY);
  const int t = std::min(TraceCount(), NumberOfAltitudes());
  if (t > 0) {
    for (int i : {0, t - 1}) {
      const TAltitude* a = Altitude(i);
      box.Add(a->X, a->Y);
      box.Add(a->X + spanX, a->Y + spanY);
    }
  }
  const int n = NumberOfWalls();
  if (n > 0) {
    for (int k : {0, n - 1}) {
      const TWall* w = Wall(k);
      box.Add(trunc64(w->FromPoint.x), trunc64(w->FromPoint.y));
      box.Add(trunc64(w->ToPoint.x + SpanX), trunc64(w->ToPoint.y + SpanY));
    }
  }
  Extent = box.Widened();
}

// ---- setters ----

bool TStraightSection::SetLength(int32_t length) {
  if (length < 1) return false;
  Length = length;
  RecomputeSpanX();
  RecomputeSpanY();
  RecomputeExtent();
  if (Track()) Track()->RecomputeStarts();
  return true;
}

bool TStraightSection::TracePointsFit(double x, double y, double theta) const {
  const double s = std::sin(theta), c = std::cos(theta);
  for (int i = 0; i < TraceCount(); ++i) {
    const double t = TracePosition(i);
    if (!pointFitsInt32(x - t * s, y + t * c)) return false;
  }
  return true;
}

bool TStraightSection::TracePositionFits(int32_t position) const {
  return pointFitsInt32(BaseX - position * std::sin(Heading()), BaseY + position * std::cos(Heading()));
}

bool TStraightSection::SetOrientation(int32_t orientation) {
  // The section turns about its zero-line start point; its trace points must
  // still fit the plan.
  if (!TracePointsFit(BaseX, BaseY, OrientationToRadians(orientation))) return false;
  Orientation = orientation;
  RecomputeSpanX();
  RecomputeSpanY();
  RecomputeAllTracePoints();
  RecomputeAllWallPoints();
  RecomputeExtent();
  RecomputeExportWords();
  return true;
}

bool TStraightSection::SetStart(double x, double y) {
  if (!TracePointsFit(x, y, Heading())) return false;  // a trace point would wrap around
  BaseX = x;
  BaseY = y;
  RecomputeAllTracePoints();
  RecomputeStartX();  // re-derived from the rounded trace points
  RecomputeStartY();
  RecomputeAllWallPoints();
  RecomputeExtent();
  return true;
}

// ---- coordinates ----

double TStraightSection::LocalToX(double u, double v) const {
  return AlongX(BaseX, u, v, std::cos(Heading()), std::sin(Heading()));
}
double TStraightSection::LocalToY(double u, double v) const {
  return AlongY(BaseY, u, v, std::cos(Heading()), std::sin(Heading()));
}
double TStraightSection::LocalU(double x, double y) const {
  return std::cos(Heading()) * (x - BaseX) + std::sin(Heading()) * (y - BaseY);
}
double TStraightSection::LocalV(double x, double y) const {
  return -std::sin(Heading()) * (x - BaseX) + std::cos(Heading()) * (y - BaseY);
}

double TStraightSection::StartX() const { return BaseX; }
double TStraightSection::StartY() const { return BaseY; }
double TStraightSection::EndX() const { return BaseX + SpanX; }
double TStraightSection::EndY() const { return BaseY + SpanY; }
int32_t TStraightSection::EndOrientation() const { return Orientation; }

bool TStraightSection::HitTest(double x, double y) const {
  if (!InExtent(x, y)) return false;
  return InStrip(LocalU(x, y), LocalV(x, y), 0, NumberOfWalls() - 1);
}

bool TStraightSection::InStrip(double u, double v, int a, int b) const {
  if (a < 0 || b < 0 || a >= NumberOfWalls() || b >= NumberOfWalls() || Length < 1) return false;
  if (u < 0 || u > Length) return false;
  const TWall* wa = Wall(a);
  const TWall* wb = Wall(b);
  const double lower = wa->From + (static_cast<double>(wa->To) - wa->From) * u / Length;
  const double upper = wb->From + (static_cast<double>(wb->To) - wb->From) * u / Length;
  return lower <= v && v <= upper;
}

}  // namespace meridal
