#include "shape/shape_rules.h"

#include <cctype>
#include <cmath>

#include "model/numbers.h"
#include "model/units.h"

namespace meridal::shape {

const char* HandleName(Handle handle) {
  switch (handle) {
    case Handle::End: return "End";
    case Handle::Radius: return "Radius";
    case Handle::Heading: return "Heading";
    case Handle::Move: return "Move";
  }
  return "";
}

bool HandleOfWord(const std::string& word, Handle& handle) {
  std::string lower;
  for (char c : word) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (Handle h : {Handle::End, Handle::Radius, Handle::Heading, Handle::Move}) {
    std::string name = HandleName(h);
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name == lower) {
      handle = h;
      return true;
    }
  }
  return false;
}

std::string StopText(Stop stop) {
  switch (stop) {
    case Stop::None: return {};
    case Stop::LengthBelowOne: return "Drag stopped: Length below 1";
    case Stop::OutsideRange: return "Drag stopped: value outside 32 bits";
    case Stop::Refused: return "Drag stopped: Input not valid ! Range Error!";
    case Stop::LaterSections: return "Drag stopped: the later sections cannot follow";
  }
  return {};
}

double GridMetres(double pixelsPerUnit, double minimumPixels) {
  const double pixelsPerMetre = pixelsPerUnit * kUnitsPerMeter;
  double step = 0.1;
  // 0.1, 0.5, 1, 5, 10, 50 ...: each step five times, then twice the one before.
  for (bool five = true; step * pixelsPerMetre < minimumPixels && step < 1e6; five = !five)
    step *= five ? 5 : 2;
  return step;
}

TSnapRules CommandLineSnap(bool on) {
  TSnapRules rules;
  rules.on = on;
  rules.reach = 0.5 * kUnitsPerMeter;
  rules.grid = 0.5 * kUnitsPerMeter;
  rules.angle = 1;
  return rules;
}

double NextAngleStep(double degrees) {
  if (degrees < 5) return 5;
  if (degrees < 15) return 15;
  return 1;
}

int64_t SnapToGrid(double value, double stepUnits) {
  if (!(stepUnits > 0)) return nearest64(value);
  const double steps = std::round(value / stepUnits);
  return nearest64(steps * stepUnits);
}

double SnapAngle(double radians, double stepDegrees) {
  if (!(stepDegrees > 0)) return radians;
  const double step = stepDegrees * Pi / 180.0;
  return std::round(radians / step) * step;
}

}  // namespace meridal::shape
