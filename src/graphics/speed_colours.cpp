#include "graphics/speed_colours.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace meridal {

namespace {

// Evenly spaced along the scale, slowest first.
constexpr TColor kStops[] = {{30, 60, 220}, {0, 170, 220}, {40, 175, 60}, {240, 200, 0}, {220, 30, 30}};
constexpr int kSegments = int(std::size(kStops)) - 1;

uint8_t Mix(uint8_t a, uint8_t b, double f) { return uint8_t(std::lround(a + (double(b) - a) * f)); }

}  // namespace

TColor SpeedColour(double speed, double lowest, double top) {
  double f = top > lowest ? (speed - lowest) / (top - lowest) : 0.5;
  if (!(f > 0)) f = 0;  // also NaN
  f = std::min(f, 1.0) * kSegments;
  const int k = std::min(int(f), kSegments - 1);
  const TColor &a = kStops[k], &b = kStops[k + 1];
  return {Mix(a.r, b.r, f - k), Mix(a.g, b.g, f - k), Mix(a.b, b.b, f - k)};
}

}  // namespace meridal
