#include "shape/draw_section.h"

#include <cmath>
#include <cstdio>

#include "edit/track_edits.h"
#include "history/track_patch.h"
#include "model/curved_section.h"
#include "model/length_limit.h"
#include "model/numbers.h"
#include "model/track.h"
#include "model/units.h"
#include "shape/handle_geometry.h"
#include "shape/shape_step.h"

namespace meridal::shape {

namespace {

struct TEndFrame {
  TPointD end;
  double theta = 0;
  // The point in the end's own frame: along its heading, and to the left.
  TPointD Local(TPointD p) const {
    const double dx = p.x - end.x, dy = p.y - end.y;
    return {dx * std::cos(theta) + dy * std::sin(theta), -dx * std::sin(theta) + dy * std::cos(theta)};
  }
};

TEndFrame FrameOf(const TSection& s) { return {{s.EndX(), s.EndY()}, OrientationToRadians(s.EndOrientation())}; }

TPointD NextStart(const TTrack& track, int section) {
  const TSection& next = *track.Section(section + 1 < track.NumberOfSections() ? section + 1 : 0);
  return {next.StartX(), next.StartY()};
}

double Distance(TPointD a, TPointD b) { return std::hypot(a.x - b.x, a.y - b.y); }

void StraightAim(TDrawAim& aim, int64_t length) {
  aim.length = length;
  if (length < 1) aim.stop = Stop::LengthBelowOne;
  else if (!inInt32Range(length)) aim.stop = Stop::OutsideRange;
}

// The arc that leaves the end tangentially through a point of the end's frame.
void ArcThrough(TDrawAim& aim, TPointD local, const TSnapRules* grid) {
  if (std::fabs(local.y) < 1) {
    // Straight ahead or behind: no circle through it (or one of no size).
    aim.stop = local.x > 0 ? Stop::OutsideRange : Stop::LengthBelowOne;
    return;
  }
  double radius = (local.x * local.x + local.y * local.y) / (2 * local.y);
  double sweep = 2 * std::atan2(local.y, local.x);
  if (grid) {
    const int64_t r = SnapToGrid(std::fabs(radius), grid->grid);
    radius = radius < 0 ? -double(r) : double(r);
    sweep = SnapAngle(sweep, grid->angle);
  }
  aim.radius = nearest64(radius);
  aim.curvature = nearest64(sweep * kTwoPow30 / Pi);
  if (!inInt32Range(aim.radius) || !inInt32Range(aim.curvature) || std::fabs(sweep) >= 2 * Pi) {
    aim.stop = Stop::OutsideRange;
    return;
  }
  aim.length = ArcLength(aim.curvature, double(aim.radius));
  if (aim.radius == 0 || aim.curvature == 0 || aim.length < 1) aim.stop = Stop::LengthBelowOne;
  else if (!inInt32Range(aim.length)) aim.stop = Stop::OutsideRange;
}

bool SetArc(TSection& section, int32_t radius, int32_t curvature) {
  return section.SetValue("Radius", radius) && section.SetValue("Curvature", curvature);
}

}  // namespace

bool MayDrawFrom(const TTrack& track, int section) {
  if (section < 0 || section >= track.NumberOfSections()) return false;
  if (section == track.NumberOfSections() - 1) return true;
  const TSection& s = *track.Section(section);
  return Distance({s.EndX(), s.EndY()}, NextStart(track, section)) > 1.0;
}

TDrawAim AimDraw(const TTrack& track, int section, DrawKind kind, TPointD p, const TSnapRules& rules) {
  TDrawAim aim;
  aim.kind = kind;
  if (section < 0 || section >= track.NumberOfSections()) {
    aim.stop = Stop::Refused;
    return aim;
  }
  const TEndFrame frame = FrameOf(*track.Section(section));
  const TPointD target = NextStart(track, section);
  const TPointD local = frame.Local(p), targetLocal = frame.Local(target);
  if (kind == DrawKind::Straight) {
    StraightAim(aim, nearest64(local.x));
    if (!rules.on || aim.stop != Stop::None) return aim;
    const double along = double(aim.length);
    const TPointD end = {frame.end.x + along * std::cos(frame.theta), frame.end.y + along * std::sin(frame.theta)};
    // A straight lands on the next start only if that lies on its line.
    if (Distance(end, target) <= rules.reach && std::fabs(targetLocal.y) <= kLandsExactly / 2) {
      StraightAim(aim, nearest64(targetLocal.x));
      aim.landed = aim.stop == Stop::None;
      return aim;
    }
    StraightAim(aim, SnapToGrid(local.x, rules.grid));
    return aim;
  }
  // An arc through any point ahead can land on the next start.
  if (rules.on && Distance(p, target) <= rules.reach) {
    ArcThrough(aim, targetLocal, nullptr);
    aim.landed = aim.stop == Stop::None;
    if (aim.landed) return aim;
    aim = TDrawAim{kind};
  }
  ArcThrough(aim, local, rules.on ? &rules : nullptr);
  return aim;
}

TDrawAim TypedDraw(const TDrawAim& current, double value) {
  TDrawAim aim;
  aim.kind = current.kind;
  if (!std::isfinite(value)) {
    aim.stop = Stop::Refused;
    return aim;
  }
  if (aim.kind == DrawKind::Straight) {
    StraightAim(aim, nearest64(value));
    return aim;
  }
  const double sweep = std::fabs(value);
  aim.radius = current.radius;
  if (aim.radius == 0) {
    aim.stop = Stop::LengthBelowOne;
    return aim;
  }
  aim.curvature = nearest64((aim.radius < 0 ? -sweep : sweep) * kTwoPow30 / Pi);
  if (!inInt32Range(aim.curvature) || sweep >= 2 * Pi) {
    aim.stop = Stop::OutsideRange;
    return aim;
  }
  aim.length = ArcLength(aim.curvature, double(aim.radius));
  if (aim.curvature == 0 || aim.length < 1) aim.stop = Stop::LengthBelowOne;
  else if (!inInt32Range(aim.length)) aim.stop = Stop::OutsideRange;
  return aim;
}

std::unique_ptr<history::TStep> DrawSection(TTrack& track, int section, const TDrawAim& aim, Stop& stop) {
  stop = aim.stop;
  if (stop != Stop::None) return nullptr;
  if (section < 0 || section >= track.NumberOfSections()) {
    stop = Stop::Refused;
    return nullptr;
  }
  history::TrackState before = history::TrackState::Of(track);
  if (!edit::AddChild(track, section, false)) {
    stop = Stop::Refused;
    return nullptr;
  }
  const int at = section + 1;
  const bool wantArc = aim.kind == DrawKind::Arc;
  bool done = track.Section(at)->IsCurved() == wantArc || edit::ChangeChildType(track, at);
  if (done) {
    TSection& drawn = *track.Section(at);
    if (!wantArc) {
      done = drawn.SetValue("Length", static_cast<int32_t>(aim.length));
    } else {
      const auto radius = static_cast<int32_t>(aim.radius), curvature = static_cast<int32_t>(aim.curvature);
      // A setter may refuse on the way what the other order takes: the length the
      // old sweep gives the new radius, say.
      const history::SectionSnapshot fresh = history::SectionSnapshot::Of(drawn);
      done = SetArc(drawn, radius, curvature);
      if (!done) {
        drawn.Values() = fresh.values;
        for (size_t i = 0; i < fresh.altitudes.size(); ++i) drawn.Altitudes[i]->Values() = fresh.altitudes[i];
        for (size_t k = 0; k < fresh.walls.size(); ++k) drawn.Walls[k]->Values() = fresh.walls[k];
        done = drawn.SetValue("Curvature", curvature) && drawn.SetValue("Radius", radius);
      }
    }
  }
  if (done && TotalSectionLength(track) > kMaxTrackLength) {
    done = false;
    stop = Stop::OutsideRange;
  } else if (!done) {
    stop = Stop::Refused;
  }
  track.RecomputeStarts();
  track.UpdateExtent();
  auto step = TDrawStep::Inserted(DrawText(aim.kind, section), track, at, std::move(before));
  if (!done) {
    TTrackChange ignored;
    step->Undo(track, ignored);
    return nullptr;
  }
  return step;
}

std::string DrawText(DrawKind kind, int section) {
  return std::string("Draw ") + (kind == DrawKind::Arc ? "Arc" : "Straight") + " after " +
         PathName(TObjectPath::Section(section));
}

std::string DrawReadout(const TDrawAim& aim) {
  char text[96];
  if (aim.kind == DrawKind::Straight) {
    std::snprintf(text, sizeof text, "Straight %.2f m", aim.length / kUnitsPerMeter);
    return text;
  }
  std::snprintf(text, sizeof text, "Arc R %.2f m \u00B7 Sweep %.1f\u00B0", std::fabs(double(aim.radius)) / kUnitsPerMeter,
                aim.curvature * 180.0 / kTwoPow30);
  return text;
}

}  // namespace meridal::shape
