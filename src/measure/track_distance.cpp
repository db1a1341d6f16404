#include "measure/track_distance.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "model/curved_section.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "model/units.h"

namespace meridal {

namespace {

double Hypot(double dx, double dy) { return std::sqrt(dx * dx + dy * dy); }

// An angle brought into [0, 2 pi).
double Turn(double a) {
  a = std::fmod(a, 2.0 * Pi);
  return a < 0 ? a + 2.0 * Pi : a;
}

}  // namespace

TTrackDistance::TTrackDistance(const TTrack& track) : track_(track) {
  starts_.reserve(track.Sections.size());
  for (const auto& section : track.Sections) {
    starts_.push_back(total_);
    total_ += section->Length;
  }
  if (!track.Sections.empty()) {
    const TSection& first = *track.Sections.front();
    const TSection& last = *track.Sections.back();
    closed_ = track.Sections.size() > 1 &&
              Hypot(last.EndX() - first.StartX(), last.EndY() - first.StartY()) <= kUnitsPerMeter;
  }
}

TTrackPlace TTrackDistance::OnSection(int i, double x, double y) const {
  const TSection& section = *track_.Section(i);
  double t = 0;  // how far along the section, 0 at its start and 1 at its end
  TTrackPlace place;
  place.section = i;
  if (const auto* arc = dynamic_cast<const TCurvedSection*>(&section)) {
    const double swept = arc->SweptAngle();
    const double cx = arc->CurveCenterX(), cy = arc->CurveCenterY();
    // A negative radius points from the centre the other way.
    double angle = std::atan2(y - cy, x - cx);
    if (arc->Radius < 0) angle += Pi;
    if (swept != 0) {
      double turned = Turn(angle - arc->StartAngle);  // in the sense of a left-hand curve
      if (swept < 0) turned = turned == 0 ? 0 : turned - 2.0 * Pi;
      t = turned / swept;
      if (t > 1) {
        // Beyond the arc: the nearer of its two ends, by the angle still to go.
        const double pastEnd = std::fabs(turned - swept), beforeStart = 2.0 * Pi - std::fabs(turned);
        t = pastEnd <= beforeStart ? 1.0 : 0.0;
      }
    }
    const double a = arc->StartAngle + t * swept;
    place.x = arc->LocalToX(a, arc->Radius);
    place.y = arc->LocalToY(a, arc->Radius);
  } else {
    const double dx = section.EndX() - section.StartX(), dy = section.EndY() - section.StartY();
    const double span = dx * dx + dy * dy;
    if (span > 0) t = std::clamp(((x - section.StartX()) * dx + (y - section.StartY()) * dy) / span, 0.0, 1.0);
    place.x = section.StartX() + t * dx;
    place.y = section.StartY() + t * dy;
  }
  place.along = starts_[static_cast<size_t>(i)] + t * section.Length;
  place.offset = Hypot(x - place.x, y - place.y);
  return place;
}

std::optional<TTrackPlace> TTrackDistance::Place(double x, double y) const {
  if (track_.Sections.empty()) return std::nullopt;
  // On the track: the section under the point, whatever lies nearer of another.
  const int under = track_.SectionAt(x, y);
  if (under >= 0) return OnSection(under, x, y);
  TTrackPlace best;
  best.offset = std::numeric_limits<double>::infinity();
  for (int i = 0; i < track_.NumberOfSections(); ++i) {
    const TTrackPlace place = OnSection(i, x, y);
    if (place.offset < best.offset) best = place;
  }
  return best;
}

std::optional<double> TTrackDistance::Between(double x0, double y0, double x1, double y1) const {
  const auto a = Place(x0, y0), b = Place(x1, y1);
  if (!a || !b) return std::nullopt;
  const double d = std::fabs(b->along - a->along);
  return closed_ ? std::min(d, total_ - d) : d;
}

std::pair<double, double> TTrackDistance::PointAt(double along) const {
  const auto after = std::upper_bound(starts_.begin(), starts_.end(), along);
  const size_t i = after == starts_.begin() ? 0 : static_cast<size_t>(after - starts_.begin()) - 1;
  const TSection& section = *track_.Sections[i];
  const double t = section.Length > 0 ? std::clamp((along - starts_[i]) / section.Length, 0.0, 1.0) : 0.0;
  if (const auto* arc = dynamic_cast<const TCurvedSection*>(&section)) {
    const double a = arc->StartAngle + t * arc->SweptAngle();
    return {arc->LocalToX(a, arc->Radius), arc->LocalToY(a, arc->Radius)};
  }
  return {section.StartX() + t * (section.EndX() - section.StartX()),
          section.StartY() + t * (section.EndY() - section.StartY())};
}

std::vector<std::pair<double, double>> TTrackDistance::Path(double x0, double y0, double x1, double y1,
                                                            double arcStep) const {
  std::vector<std::pair<double, double>> points;
  const auto a = Place(x0, y0), b = Place(x1, y1);
  if (!a || !b) return points;
  double from = a->along, to = b->along;
  // Across the start line when that way is the shorter.
  if (closed_ && std::fabs(to - from) > total_ - std::fabs(to - from)) (to > from ? from : to) += total_;
  const double direction = to >= from ? 1 : -1;
  const auto wrapped = [this](double d) { return d >= total_ && total_ > 0 ? d - total_ : d; };
  points.push_back({a->x, a->y});
  // Every section end passed on the way, and the arcs' points between.
  double at = from;
  while ((to - at) * direction > 0) {
    const double here = wrapped(at);
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), here);
    const size_t i = after == starts_.begin() ? 0 : static_cast<size_t>(after - starts_.begin()) - 1;
    const TSection& section = *track_.Sections[i];
    // The step: to the section's end (or start, going back), no further than the target.
    const double sectionStart = at - (here - starts_[i]);
    double next = direction > 0 ? sectionStart + section.Length : (here > starts_[i] ? sectionStart : sectionStart - 1e-9);
    if (const auto* arc = dynamic_cast<const TCurvedSection*>(&section)) {
      const double step = std::fabs(arc->Radius) * arcStep;
      if (step > 0 && std::fabs(next - at) > step) next = at + direction * step;
    }
    if ((next - to) * direction > 0) next = to;
    if (next == at) break;
    at = next;
    points.push_back(PointAt(wrapped(std::max(at, 0.0))));
  }
  points.back() = {b->x, b->y};
  return points;
}

TStraightMeasure MeasureStraight(double x0, double y0, double x1, double y1) {
  const double dx = x1 - x0, dy = y1 - y0;
  TStraightMeasure m;
  m.length = Hypot(dx, dy);
  if (m.length > 0) {
    m.bearing = std::atan2(dx, dy) * 180.0 / Pi;
    if (m.bearing < 0) m.bearing += 360.0;
    if (m.bearing >= 360.0) m.bearing -= 360.0;
  }
  return m;
}

namespace {

std::string Metres(double units) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f m", units / kUnitsPerMeter);
  return text;
}

}  // namespace

std::string StraightMeasureText(const TStraightMeasure& measure) {
  // Shown to a tenth of a degree: what would round up to 360 is north, 0.
  double shown = std::round(measure.bearing * 10.0) / 10.0;
  if (shown >= 360.0) shown = 0;
  char bearing[32];
  std::snprintf(bearing, sizeof bearing, "%.1f\u00b0", shown);
  return "Distance " + Metres(measure.length) + ", bearing " + bearing;
}

std::string AlongMeasureText(double along, const TStraightMeasure& straight) {
  return "Along the track " + Metres(along) + " (straight " + Metres(straight.length) + ")";
}

}  // namespace meridal
