#include "shape/readout.h"

#include <cmath>
#include <cstdio>

#include "model/curved_section.h"
#include "model/numbers.h"
#include "model/track.h"
#include "model/units.h"
#include "shape/shape_drag.h"

namespace meridal::shape {

namespace {

const char* const kDegree = "\u00B0";
const char* const kDot = " \u00B7 ";

std::string Format(const char* format, double a, double b = 0, double c = 0, double d = 0) {
  char text[128];
  std::snprintf(text, sizeof text, format, a, b, c, d);
  return text;
}

double Metres(double units) { return units / kUnitsPerMeter; }
double Degrees(double radians) { return radians * 180.0 / Pi; }
// A change, with its sign, and no "-0.00" for a change that rounds to nothing.
double Tidy(double v, double unit) { return std::fabs(v) < unit / 2 ? 0.0 : v; }

}  // namespace

std::string ValueText(const TTrack& track, const TShapeDrag& drag) {
  const TSection& now = *track.Section(drag.Section());
  const SectionValues& was = drag.Original().values;
  const auto* arc = dynamic_cast<const TCurvedSection*>(&now);
  const double wasSweep = was.ExportWords[2] * Pi / kTwoPow30;
  switch (drag.Grabbed()) {
    case Handle::End:
      if (!arc)
        return Format("Length %.2f m (%+.2f m)", Metres(now.Length), Tidy(Metres(now.Length - was.Length), 0.01));
      return Format("Sweep %.1f", Degrees(arc->SweptAngle())) + kDegree +
                 Format(" (%+.1f", Tidy(Degrees(arc->SweptAngle() - wasSweep), 0.1)) + kDegree + ")" + kDot +
                 Format("R %.2f m", Metres(std::fabs(arc->Radius)));
    case Handle::Radius:
      if (!arc) return {};
      return Format("R %.2f m (%+.2f m)", Metres(std::fabs(arc->Radius)),
                    Tidy(Metres(std::fabs(arc->Radius) - std::fabs(was.Radius)), 0.01)) +
             kDot + Format("Sweep %.1f", Degrees(arc->SweptAngle())) + kDegree;
    case Handle::Heading: {
      const double turn = Degrees(OrientationToRadians(wrapSub(now.Orientation, was.Orientation)));
      return Format("Heading %.1f", Degrees(OrientationToRadians(now.Orientation))) + kDegree +
             Format(" (%+.1f", Tidy(turn, 0.1)) + kDegree + ")";
    }
    case Handle::Move: {
      // Where the start was: the section as it was, rebuilt aside.
      TTrack scratch;
      scratch.Traces = track.Traces;
      const auto before = drag.Original().Build(scratch, 0);
      const double dx = now.StartX() - before->StartX(), dy = now.StartY() - before->StartY();
      return Format("Start %.2f m, %.2f m (%+.2f m, %+.2f m)", Metres(now.StartX()), Metres(now.StartY()),
                    Tidy(Metres(dx), 0.01), Tidy(Metres(dy), 0.01));
    }
  }
  return {};
}

std::string LoopText(const TTrack& track) {
  const int n = track.NumberOfSections();
  if (n == 0) return {};
  const TSection& first = *track.Section(0);
  const int32_t mismatch = first.OrientationMismatch();
  const double along = first.LongitudinalGap(), across = first.LateralGap();
  if (mismatch != 0 || along != 0 || across != 0)
    return Format("Loop open by %.2f m, %.1f", Metres(std::hypot(along, across)),
                  std::fabs(Degrees(OrientationToRadians(mismatch)))) +
           kDegree;
  // The loop's own joint meets: the track is closed only when every other joint does.
  int widest = -1, turned = -1;
  double gap = 0, turn = 0;
  for (int s = 1; s < n; ++s) {
    const TSection& section = *track.Section(s);
    const double d = std::hypot(double(section.LongitudinalGap()), double(section.LateralGap()));
    const double t = std::fabs(OrientationToRadians(section.OrientationMismatch()));
    if (d > gap) gap = d, widest = s;
    if (t > turn) turn = t, turned = s;
  }
  if (widest >= 0) return Format("Loop closed at section 0; largest gap %.2f m at section %.0f", Metres(gap), widest);
  if (turned >= 0)
    return Format("Loop closed at section 0; largest turn %.1f", Degrees(turn)) + kDegree +
           Format(" at section %.0f", turned);
  return "Loop closed";
}

std::string DrawnLoopText(const TTrack& track, int section, double endX, double endY, int32_t endOrientation) {
  // Only the last section's end closes the loop; another end meets its own next start.
  const int n = track.NumberOfSections();
  if (section < 0 || section >= n) return {};
  const TSection& next = *track.Section(section + 1 < n ? section + 1 : 0);
  const double gap = std::hypot(next.StartX() - endX, next.StartY() - endY);
  const double turn = std::fabs(Degrees(OrientationToRadians(wrapSub(next.Orientation, endOrientation))));
  const char* what = section + 1 < n ? "Next start" : "Loop";
  if (gap < 0.5 && turn < 0.05) return std::string(what) + (section + 1 < n ? " met" : " closed");
  return std::string(what) + Format(" open by %.2f m, %.1f", Metres(gap), turn) + kDegree;
}

std::string SnapText(const TShapeDrag& drag) {
  const TSnapRules& rules = drag.Options().snap;
  if (!rules.on) return "Snap off";
  if (drag.LastSnap() == Snapped::Landed) return "Snap on the next start";
  return Format("Snap %g m, %g", Metres(rules.grid), rules.angle) + kDegree;
}

std::string DragReadout(const TTrack& track, const TShapeDrag& drag) {
  return ValueText(track, drag) + "\n" + LoopText(track) + "\n" + SnapText(drag);
}

}  // namespace meridal::shape
