#include "model/numbers.h"

#include <cmath>
#include <limits>

namespace meridal {

namespace {

// 2^63 is exactly representable; every double below it (in magnitude) converts safely.
constexpr long double kTwo63 = 9223372036854775808.0L;

template <typename F>
int64_t truncImpl(F x) {
  if (std::isnan(x)) return 0;
  if (x >= static_cast<F>(kTwo63)) return std::numeric_limits<int64_t>::max();
  if (x < -static_cast<F>(kTwo63)) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(x);  // in range: truncation toward zero
}

template <typename F>
int64_t nearestImpl(F x) {
  if (std::isnan(x)) return 0;
  const F half = x > 0 ? F(0.5) : (x < 0 ? F(-0.5) : F(0));
  return truncImpl<F>(x + half);
}

int32_t to32(int64_t v, bool saturated) {
  if (saturated) return v > 0 ? std::numeric_limits<int32_t>::max() : std::numeric_limits<int32_t>::min();
  return low32(v);
}

template <typename F>
bool beyond64(F x) {
  return !std::isnan(x) && (x >= static_cast<F>(kTwo63) || x < -static_cast<F>(kTwo63));
}

}  // namespace

int64_t trunc64(double x) { return truncImpl(x); }
int64_t trunc64(long double x) { return truncImpl(x); }
int64_t nearest64(double x) { return nearestImpl(x); }
int64_t nearest64(long double x) { return nearestImpl(x); }

int32_t nearest(double x) { return to32(nearestImpl(x), beyond64(x)); }
int32_t nearest(long double x) { return to32(nearestImpl(x), beyond64(x)); }
int32_t trunc(double x) { return to32(truncImpl(x), beyond64(x)); }
int32_t trunc(long double x) { return to32(truncImpl(x), beyond64(x)); }

bool pointFitsInt32(double x, double y) { return inInt32Range(nearest64(x)) && inInt32Range(nearest64(y)); }

bool fitsInt32(double x) {
  if (std::isnan(x)) return false;
  return x > -2147483649.0 && x < 2147483648.0;
}

}  // namespace meridal
