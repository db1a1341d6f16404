#pragma once
// The one place where floating values become stored integers, and where 32-bit
// angles and sums wrap. C++ leaves the conversion of NaN, infinities and values
// outside the integer range undefined; these helpers define it, so that degenerate
// geometry (radius 0, a trace at lateral 0, absurd values from a file) can never
// crash the program or poison the document with undefined behaviour.
#include <climits>
#include <cstdint>

namespace meridal {

// Truncation toward zero to a 64-bit integer. NaN gives 0; values beyond the
// int64 range (the infinities included) saturate at its ends.
int64_t trunc64(double x);
int64_t trunc64(long double x);

// Rounding half away from zero, trunc(x + 0.5 * sign(x)) with sign(0) = 0, as a
// 64-bit integer (NaN 0, saturating like trunc64).
int64_t nearest64(double x);
int64_t nearest64(long double x);

// The stored forms: the 64-bit result reduced to its low 32 bits, read as signed.
// Within the int64 range this is the documented wrap (e.g. +180 degrees becomes
// -2147483648); beyond it the value saturates at the int32 ends instead, so that
// far-away points stay far away rather than wrapping to small numbers.
int32_t nearest(double x);
int32_t nearest(long double x);
int32_t trunc(double x);
int32_t trunc(long double x);

// Low 32 bits of a 64-bit value, read as signed.
constexpr int32_t low32(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }

// Wrapping 32-bit arithmetic, done in uint32_t so that overflow is defined.
constexpr int32_t wrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
constexpr int32_t wrapSub(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
constexpr int32_t wrapMul(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// True when a double fits the int32 range once truncated.
bool fitsInt32(double x);
// True when a 64-bit result can be stored in 32 bits as it is.
constexpr bool inInt32Range(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }
// True when a point, rounded to whole units, can be stored in 32 bits.
bool pointFitsInt32(double x, double y);

}  // namespace meridal
