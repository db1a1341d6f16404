// Float-to-integer conversions are defined for every input.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/numbers.h"

namespace meridal {
namespace {

TEST(Nearest, RoundsHalfAwayFromZeroKeepingTheLow32Bits) {
  EXPECT_EQ(nearest(0.5), 1);
  EXPECT_EQ(nearest(-0.5), -1);
  EXPECT_EQ(nearest(2.5), 3);
  EXPECT_EQ(nearest(-2.5), -3);
  EXPECT_EQ(nearest(2.4999), 2);
  EXPECT_EQ(nearest(-0.0), 0);
  EXPECT_EQ(nearest(2147483647.4), 2147483647);
  EXPECT_EQ(nearest(2147483647.5), -2147483647 - 1);  // +2^31 wraps to the same angle as -2^31
  EXPECT_EQ(nearest(4294967296.0 + 5), 5);
  EXPECT_EQ(nearest64(1e15 + 0.5), 1000000000000001LL);
}

TEST(Nearest, IsDefinedForNaNInfinityAndHugeValues) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(nearest(nan), 0);
  EXPECT_EQ(trunc(nan), 0);
  EXPECT_EQ(nearest(inf), 2147483647);
  EXPECT_EQ(nearest(-inf), -2147483647 - 1);
  EXPECT_EQ(trunc(1e300), 2147483647);
  EXPECT_EQ(trunc(-1e300), -2147483647 - 1);
  EXPECT_EQ(nearest64(inf), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(trunc64(-inf), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(nearest(static_cast<long double>(nan)), 0);
}

TEST(Trunc, GoesTowardZero) {
  EXPECT_EQ(trunc(-0.7), 0);
  EXPECT_EQ(trunc(-1.2), -1);
  EXPECT_EQ(trunc(1.9), 1);
  EXPECT_EQ(trunc(2147483648.5), -2147483647 - 1);
}

TEST(Wrapping, AddsSubtractsAndMultipliesModulo2Pow32) {
  EXPECT_EQ(wrapAdd(2147483647, 1), -2147483647 - 1);
  EXPECT_EQ(wrapSub(-2147483647 - 1, 1), 2147483647);
  EXPECT_EQ(wrapMul(3, 1431655766), 2);
  EXPECT_EQ(wrapSub(0, -2147483647 - 1), -2147483647 - 1);
}

}  // namespace
}  // namespace meridal
