#pragma once
// The shared text forms of values: lengths in metres, angles in degrees.
#include <cstdint>
#include <string>

namespace meridal {

// "%i".
std::string FormatInt(int32_t value);
// C printf formatting into a std::string.
std::string FormatPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Length meaning: empty for 0, else "%.8G m" of the metres when |m| >= 1, else
// "%.8G mm" of the millimetres; computed in extended precision.
std::string LengthMeaning(int32_t units);
// The same for any number of units (a difference of two 32-bit values, a sample).
std::string LengthMeaningOf(long double units);
// "%.8G °" of value * 180 * 2^-31.
std::string AngleMeaning(int32_t orientation);
// "%.8G °" of value * 360 * 2^-31.
std::string CurvatureMeaning(int32_t curvature);
// "%.8G °" of a value already in degrees.
std::string DegreesText(double degrees);

extern const char* const kDegreeSign;  // U+00B0 in UTF-8

}  // namespace meridal
