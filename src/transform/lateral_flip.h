#pragma once
// The parts of a transform that see the track from its other side: what lay left
// of the zero line lies right of it now, so every lateral position changes sign
// and every list ordered from right to left is read backwards. Shared by Reverse
// and Mirror. Each refuses (false, with the reason) a value whose opposite does
// not fit 32 bits, that is -2147483648.
#include <cstdint>
#include <string>
#include <vector>

#include "model/values.h"

namespace meridal::transform {

// Trace i becomes trace T - 1 - i at the opposite position.
bool FlipTraces(const std::vector<int32_t>& traces, std::vector<int32_t>& out, std::string& reason);

// Wall k becomes wall n - 1 - k at the opposite positions; `reversed` (the
// section also runs the other way) swaps From and To as well. Each strip keeps
// its surface and values: strip k lay between walls k and k + 1 and is described
// by wall k, so the values move with the strip, and the last wall (which bounds
// no strip of its own) keeps the last wall's. `where` names the section.
bool FlipWalls(const std::vector<WallValues>& walls, bool reversed, const std::string& where,
               std::vector<WallValues>& out, std::string& reason);

// An arc seen from its other side: its Curvature (`ExportWords[2]`) and the
// radius (X) of each of its traces change sign. `radiusWay` words the refusal of
// a radius ("on the other side").
bool FlipArc(SectionValues& values, std::vector<AltitudeValues>& altitudes, const std::string& where,
             const std::string& radiusWay, std::string& reason);

// The height profile run backwards, h'(t) = h(1 - t), as exact coefficients:
// A' = -A, B' = 3A + B, C' = -(3A + 2B + C), D' = A + B + C + D; the derivative's
// A3 and B2 the same way (-A3 and 2 A3 + B2, in 32-bit arithmetic like them), so
// that running it backwards twice gives every value back. X and Y are kept.
bool ReversedProfile(const AltitudeValues& altitude, const std::string& where, AltitudeValues& out,
                     std::string& reason);

}  // namespace meridal::transform
