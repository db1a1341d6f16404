#include "present/position_text.h"

#include <algorithm>
#include <limits>

#include "model/numbers.h"
#include "present/format.h"

namespace meridal {

int32_t PointerUnits(double world) {
  constexpr int64_t lo = std::numeric_limits<int32_t>::min();
  constexpr int64_t hi = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(std::clamp<int64_t>(trunc64(world), lo, hi));
}

std::string PositionText(int32_t x, int32_t y) { return LengthMeaning(x) + " , " + LengthMeaning(y); }

std::string PointerPositionText(double worldX, double worldY) {
  return PositionText(PointerUnits(worldX), PointerUnits(worldY));
}

}  // namespace meridal
