#include "shape/handle_geometry.h"

#include <cmath>

#include "model/curved_section.h"
#include "model/numbers.h"
#include "model/straight_section.h"
#include "model/units.h"

namespace meridal::shape {

namespace {

TPointD Start(const TSection& s) { return {s.StartX(), s.StartY()}; }
TPointD End(const TSection& s) { return {s.EndX(), s.EndY()}; }
double Dot(TPointD a, TPointD b) { return a.x * b.x + a.y * b.y; }
TPointD Minus(TPointD a, TPointD b) { return {a.x - b.x, a.y - b.y}; }
TPointD Along(double angle) { return {std::cos(angle), std::sin(angle)}; }

const TCurvedSection* Arc(const TSection& s) { return dynamic_cast<const TCurvedSection*>(&s); }

// An angle brought into (-pi, pi].
double Normal(double a) {
  while (a > Pi) a -= 2 * Pi;
  while (a <= -Pi) a += 2 * Pi;
  return a;
}

// The point an arc's radius handle runs along: from the start at heading +
// sweep / 4 (the chord to the midpoint).
TPointD MidpointRay(const TCurvedSection& arc) {
  return Along(OrientationToRadians(arc.Orientation) + arc.SweptAngle() / 4);
}

// A sweep's Curvature, or a stop when no stored curvature holds it.
TAim SweepAim(const TCurvedSection& arc, double sweep) {
  TAim aim;
  aim.sweep = sweep;
  const bool left = arc.Curvature() >= 0;
  // The end never passes the start, nor goes a whole turn round: the sweep keeps
  // its sign and stays within one turn.
  if (left ? sweep <= 0 : sweep >= 0) {
    aim.stop = Stop::LengthBelowOne;
    return aim;
  }
  aim.value = nearest64(sweep * kTwoPow30 / Pi);
  if (!inInt32Range(aim.value) || std::fabs(sweep) >= 2 * Pi) aim.stop = Stop::OutsideRange;
  else if (aim.value == 0 || ArcLength(aim.value, arc.Radius) < 1) aim.stop = Stop::LengthBelowOne;
  return aim;
}

TAim RadiusAim(const TCurvedSection& arc, double radius) {
  TAim aim;
  aim.value = nearest64(radius);
  if (!inInt32Range(aim.value)) aim.stop = Stop::OutsideRange;
  else if (aim.value == 0 || (aim.value > 0) != (arc.Radius > 0) || ArcLength(arc.Curvature(), double(aim.value)) < 1)
    aim.stop = Stop::LengthBelowOne;
  return aim;
}

TAim LengthAim(int64_t length) {
  TAim aim;
  aim.value = length;
  if (length < 1) aim.stop = Stop::LengthBelowOne;
  else if (!inInt32Range(length)) aim.stop = Stop::OutsideRange;
  return aim;
}

// The turn about the start that makes the end's heading point at p: the end,
// turned with the section, must see p straight ahead. Turning p back about the
// start by the same angle puts it on the end's heading line, at its distance
// from the start.
double TurnTowards(const TSection& s, TPointD p) {
  const TPointD start = Start(s), end = End(s);
  const TPointD d = Along(OrientationToRadians(s.EndOrientation()));
  const TPointD w = Minus(end, start), q = Minus(p, start);
  const double along = Dot(w, d);
  const double disc = along * along - Dot(w, w) + Dot(q, q);
  // Closer to the start than the heading line comes: the nearest point of it.
  const double t = -along + (disc > 0 ? std::sqrt(disc) : 0);
  const TPointD x = {w.x + t * d.x, w.y + t * d.y};
  return Normal(std::atan2(q.y, q.x) - std::atan2(x.y, x.x));
}

TAim Refusal() {
  TAim aim;
  aim.stop = Stop::Refused;
  return aim;
}

}  // namespace

int64_t ArcLength(int64_t curvature, double radius) { return nearest64(curvature * Pi / kTwoPow30 * radius); }

bool HasHandle(const TSection& section, Handle handle) { return handle != Handle::Radius || Arc(section); }

TPointD HandlePoint(const TSection& section, Handle handle, double headingReach) {
  switch (handle) {
    case Handle::End:
      return End(section);
    case Handle::Radius:
      if (const TCurvedSection* arc = Arc(section))
        return {arc->LocalToX(arc->StartAngle + arc->SweptAngle() / 2, arc->Radius),
                arc->LocalToY(arc->StartAngle + arc->SweptAngle() / 2, arc->Radius)};
      return End(section);
    case Handle::Heading: {
      const TPointD d = Along(OrientationToRadians(section.EndOrientation()));
      const TPointD e = End(section);
      return {e.x + headingReach * d.x, e.y + headingReach * d.y};
    }
    case Handle::Move:
      return Start(section);
  }
  return Start(section);
}

TAim AimAt(const TSection& section, Handle handle, TPointD p, TPointD grab, double previousSweep) {
  const TCurvedSection* arc = Arc(section);
  switch (handle) {
    case Handle::End: {
      if (!arc) {
        const double theta = OrientationToRadians(section.Orientation);
        return LengthAim(nearest64(Dot(Minus(p, Start(section)), Along(theta))));
      }
      // The pointer's angle about the centre, as the arc's own u, then unwrapped
      // to the turn nearest the sweep it had.
      double sweep = arc->LocalU(p.x, p.y);
      while (sweep - previousSweep > Pi) sweep -= 2 * Pi;
      while (previousSweep - sweep > Pi) sweep += 2 * Pi;
      return SweepAim(*arc, sweep);
    }
    case Handle::Radius: {
      if (!arc) return Refusal();
      const double chord = Dot(Minus(p, Start(section)), MidpointRay(*arc));
      const double half = 2 * std::sin(std::fabs(arc->SweptAngle()) / 4);
      const double radius = half > 0 ? chord / half : 0;
      return RadiusAim(*arc, arc->Radius < 0 ? -radius : radius);
    }
    case Handle::Heading: {
      TAim aim;
      aim.value = wrapAdd(section.Orientation, nearest(TurnTowards(section, p) * kTwoPow31 / Pi));
      return aim;
    }
    case Handle::Move: {
      TAim aim;
      const TPointD start = Start(section);
      aim.start = {start.x + p.x - grab.x, start.y + p.y - grab.y};
      if (!pointFitsInt32(aim.start.x, aim.start.y)) aim.stop = Stop::OutsideRange;
      return aim;
    }
  }
  return Refusal();
}

Typed TypedKind(const TSection& section, Handle handle) {
  switch (handle) {
    case Handle::End: return Arc(section) ? Typed::Angle : Typed::Length;
    case Handle::Radius: return Arc(section) ? Typed::Length : Typed::None;
    case Handle::Heading: return Typed::Angle;
    case Handle::Move: return Typed::None;
  }
  return Typed::None;
}

TAim TypedAim(const TSection& section, Handle handle, double value) {
  const TCurvedSection* arc = Arc(section);
  if (!std::isfinite(value)) return Refusal();
  switch (TypedKind(section, handle)) {
    case Typed::None: return Refusal();
    case Typed::Length:
      if (!arc) return LengthAim(nearest64(value));
      return RadiusAim(*arc, arc->Radius < 0 ? -std::fabs(value) : std::fabs(value));
    case Typed::Angle:
      if (handle == Handle::Heading) {
        TAim aim;
        aim.value = nearest(value * kTwoPow31 / Pi);
        return aim;
      }
      return SweepAim(*arc, arc->Curvature() >= 0 ? std::fabs(value) : -std::fabs(value));
  }
  return Refusal();
}

TAim SnapAim(const TSection& section, Handle handle, const TAim& aim, const TSnapRules& rules) {
  if (!rules.on || aim.stop != Stop::None) return aim;
  const TCurvedSection* arc = Arc(section);
  switch (handle) {
    case Handle::End:
      if (!arc) return LengthAim(SnapToGrid(double(aim.value), rules.grid));
      return SweepAim(*arc, SnapAngle(aim.sweep, rules.angle));
    case Handle::Radius: {
      if (!arc) return aim;
      const int64_t r = SnapToGrid(std::fabs(double(aim.value)), rules.grid);
      return RadiusAim(*arc, double(aim.value < 0 ? -r : r));
    }
    case Handle::Heading: {
      TAim snapped = aim;
      snapped.value = nearest(SnapAngle(OrientationToRadians(int32_t(aim.value)), rules.angle) * kTwoPow31 / Pi);
      return snapped;
    }
    case Handle::Move: {
      // The move itself goes in grid steps: the section keeps its offset from the grid.
      TAim snapped = aim;
      const TPointD start = Start(section);
      snapped.start = {start.x + double(SnapToGrid(aim.start.x - start.x, rules.grid)),
                       start.y + double(SnapToGrid(aim.start.y - start.y, rules.grid))};
      if (!pointFitsInt32(snapped.start.x, snapped.start.y)) snapped.stop = Stop::OutsideRange;
      return snapped;
    }
  }
  return aim;
}

bool ApplyAim(TSection& section, Handle handle, const TAim& aim) {
  if (aim.stop != Stop::None) return false;
  const int32_t value = static_cast<int32_t>(aim.value);
  switch (handle) {
    case Handle::End: return section.SetValue(Arc(section) ? "Curvature" : "Length", value);
    case Handle::Radius: return section.SetValue("Radius", value);
    case Handle::Heading: return section.SetValue("Orientation", value);
    case Handle::Move: return section.SetStart(aim.start.x, aim.start.y);
  }
  return false;
}

}  // namespace meridal::shape
