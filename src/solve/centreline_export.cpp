#include "solve/centreline_export.h"

#include <cmath>

#include "model/curved_section.h"
#include "model/track.h"
#include "model/units.h"
#include "present/format.h"

namespace meridal {

namespace {

// A wall's lateral position a fraction `f` along its section.
double Lateral(const TWall& wall, double f) { return wall.From + (wall.To - wall.From) * f; }

}  // namespace

std::string CentrelineCsv(const TTrack& track, double step) {
  if (!(step > 0)) return std::string();
  double total = 0;
  for (const auto& section : track.Sections) total += section->Length;
  if (!(total > 0)) return std::string();
  const double units = step * kUnitsPerMeter;
  const double metre = static_cast<double>(kMetersPerUnit);
  std::string csv = "# x_m,y_m,w_tr_right_m,w_tr_left_m\n";
  double at = 0, sectionStart = 0;
  for (int s = 0; s < track.NumberOfSections(); ++s) {
    const TSection& section = *track.Section(s);
    const double length = section.Length;
    for (; at < sectionStart + length; at += units) {
      const double f = (at - sectionStart) / length;
      double x = 0, y = 0;
      if (section.IsCurved()) {
        const auto& arc = static_cast<const TCurvedSection&>(section);
        const double angle = arc.StartAngle + f * arc.SweptAngle();
        x = arc.LocalToX(angle, arc.Radius);
        y = arc.LocalToY(angle, arc.Radius);
      } else {
        x = section.LocalToX(f * length, 0);
        y = section.LocalToY(f * length, 0);
      }
      // The outermost walls, or without walls the outermost traces.
      double right = 0, left = 0;
      if (section.NumberOfWalls() > 0) {
        right = -Lateral(*section.Wall(0), f);
        left = Lateral(*section.Wall(section.NumberOfWalls() - 1), f);
      } else if (!track.Traces.empty()) {
        right = -track.Traces.front();
        left = track.Traces.back();
      }
      csv += FormatPrintf("%.6f,%.6f,%.3f,%.3f\n", x * metre, y * metre, right * metre, left * metre);
    }
    sectionStart += length;
  }
  return csv;
}

}  // namespace meridal
