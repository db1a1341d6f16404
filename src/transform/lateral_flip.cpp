#include "transform/lateral_flip.h"

#include "model/numbers.h"
#include "transform/track_rewrite.h"

namespace meridal::transform {

std::string BeyondText(const std::string& what, long long value) {
  return what + " would be " + std::to_string(value) + ", beyond 32 bits";
}

namespace {

// The opposite of a stored value, when it has one in 32 bits.
bool Opposite(int32_t value, int32_t& out) {
  if (value == INT32_MIN) return false;
  out = -value;
  return true;
}

}  // namespace

bool FlipTraces(const std::vector<int32_t>& traces, std::vector<int32_t>& out, std::string& reason) {
  const size_t count = traces.size();
  out.assign(count, 0);
  for (size_t i = 0; i < count; ++i) {
    if (!Opposite(traces[count - 1 - i], out[i])) {
      reason = BeyondText("Trace " + std::to_string(count - 1 - i) + " on the other side", -int64_t{INT32_MIN});
      return false;
    }
  }
  return true;
}

bool FlipWalls(const std::vector<WallValues>& walls, bool reversed, const std::string& where,
               std::vector<WallValues>& out, std::string& reason) {
  const size_t n = walls.size();
  out.assign(n, WallValues{});
  for (size_t k = 0; k < n; ++k) {
    const WallValues& line = walls[n - 1 - k];
    // The strip values: of the strip that now begins at this wall, the last
    // wall's own for the last one.
    const WallValues& strip = k + 1 < n ? walls[n - 2 - k] : walls[n - 1];
    WallValues& wall = out[k];
    wall = strip;
    wall.FromPoint = wall.ToPoint = TPointD{};  // derived again when put in place
    const int32_t from = reversed ? line.To : line.From;
    const int32_t to = reversed ? line.From : line.To;
    if (!Opposite(from, wall.From) || !Opposite(to, wall.To)) {
      reason = where + ", Wall " + std::to_string(n - 1 - k) + ": " +
               BeyondText("a position on the other side", -int64_t{INT32_MIN});
      return false;
    }
  }
  return true;
}

bool ReversedProfile(const AltitudeValues& a, const std::string& where, AltitudeValues& out, std::string& reason) {
  const int64_t A = a.ThirdOrder, B = a.SecondOrder, C = a.FirstOrder, D = a.HeightAtStart;
  const struct {
    const char* name;
    int64_t value;
    int32_t AltitudeValues::*field;
  } coefficients[] = {
      {"3rd order coeff.", -A, &AltitudeValues::ThirdOrder},
      {"2nd order coeff.", 3 * A + B, &AltitudeValues::SecondOrder},
      {"1st order coeff.", -(3 * A + 2 * B + C), &AltitudeValues::FirstOrder},
      {"Height@Start", A + B + C + D, &AltitudeValues::HeightAtStart},
  };
  out = a;
  for (const auto& c : coefficients) {
    if (!inInt32Range(c.value)) {
      reason = where + ": " + BeyondText(std::string("run backwards, its ") + c.name, c.value);
      return false;
    }
    out.*c.field = static_cast<int32_t>(c.value);
  }
  out.A3 = wrapSub(0, a.A3);
  out.B2 = wrapAdd(wrapMul(2, a.A3), a.B2);
  return true;
}

bool FlipArc(SectionValues& values, std::vector<AltitudeValues>& altitudes, const std::string& where,
             const std::string& radiusWay, std::string& reason) {
  const int32_t curvature = values.ExportWords[2];
  if (curvature == INT32_MIN) {
    reason = where + ": " + BeyondText("its Curvature the other way", -int64_t{INT32_MIN});
    return false;
  }
  values.ExportWords[2] = -curvature;
  const size_t traces = altitudes.size();
  for (size_t i = 0; i < traces; ++i) {
    AltitudeValues& a = altitudes[i];
    if (a.X == INT32_MIN) {
      reason = where + ", Altitude " + std::to_string(traces - 1 - i) + ": " +
               BeyondText("its trace radius " + radiusWay, -int64_t{INT32_MIN});
      return false;
    }
    a.X = -a.X;
  }
  return true;
}

}  // namespace meridal::transform
