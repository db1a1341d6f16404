#pragma once
// The status bar's text of the world point under the mouse pointer.
#include <cstdint>
#include <string>

namespace meridal {

// A world coordinate truncated toward zero to a track unit. A point beyond the
// 32-bit range (far outside a zoomed-out drawing) gets the range's nearest end,
// never a wrapped value of the opposite sign.
int32_t PointerUnits(double world);

// "X , Y": each coordinate as its length meaning (empty for 0, metres from 1 m
// on, millimetres below), so the origin shows the separator " , " alone.
std::string PositionText(int32_t x, int32_t y);
// The same for a world point, each coordinate truncated with PointerUnits.
std::string PointerPositionText(double worldX, double worldY);

}  // namespace meridal
