#include "present/format.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "model/units.h"

namespace meridal {

const char* const kDegreeSign = "\u00B0";

std::string FormatPrintf(const char* format, ...) {
  char buffer[128];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n < 0) return std::string();
  if (static_cast<size_t>(n) < sizeof buffer) return std::string(buffer, static_cast<size_t>(n));
  std::string out(static_cast<size_t>(n) + 1, '\0');
  va_start(args, format);
  std::vsnprintf(out.data(), out.size(), format, args);
  va_end(args);
  out.resize(static_cast<size_t>(n));
  return out;
}

std::string FormatInt(int32_t value) { return FormatPrintf("%i", value); }

std::string LengthMeaning(int32_t units) { return LengthMeaningOf(units); }

std::string LengthMeaningOf(long double units) {
  if (units == 0) return std::string();
  const long double m = units * kMetersPerUnit;
  if (fabsl(m) >= 1.0L) return FormatPrintf("%.8LG m", m);
  return FormatPrintf("%.8LG mm", m * 1000.0L);
}

std::string DegreesText(double degrees) { return FormatPrintf("%.8G %s", degrees, kDegreeSign); }

std::string AngleMeaning(int32_t orientation) {
  return DegreesText(orientation * 180.0 * kTwoPowMinus31);
}

std::string CurvatureMeaning(int32_t curvature) {
  return DegreesText(curvature * 180.0 * kTwoPowMinus31 * 2.0);
}

}  // namespace meridal
