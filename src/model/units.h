#pragma once
// Units of the track plan and the constants every part shares.
#include <cmath>
#include <cstdint>

namespace meridal {

// pi, computed once as the program always has: 2 * asin(1).
inline const double Pi = 2.0 * std::asin(1.0);

// One track unit is 1/500 inch.
constexpr double kUnitsPerMeter = 19685.03937;
constexpr long double kMetersPerUnit = 5.08000000002032e-05L;  // 1 / 19685.03937
constexpr double kTwoPowMinus31 = 4.656612873077393e-10;
constexpr double kTwoPow30 = 1073741824.0;
constexpr double kTwoPow31 = 2147483648.0;

// Lengths the default track and the drawing use, as round(metres * 19685.03937).
constexpr int32_t kFiveMeters = 98425;
constexpr int32_t kTenMeters = 196850;
constexpr int32_t kFiftyMeters = 984252;

// The filler word of a curved section's spare export words and trace Y.
constexpr int32_t kCurveFiller = 0x07070707;  // 117901063

// Orientation: 2^31 units are 180 degrees. Curvature: 2^31 units are 360 degrees.
inline double OrientationToRadians(int32_t o) { return o * Pi / kTwoPow31; }
inline double CurvatureToRadians(int32_t c) { return c * Pi / kTwoPow30; }

}  // namespace meridal
