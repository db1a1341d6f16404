// Typed text to stored value and back, in the four bases.
#include <gtest/gtest.h>

#include "present/value_text.h"

namespace meridal {
namespace {

using B = ValueBase;

TEST(ValueText, DecimalWantsTheCanonicalForm) {
  EXPECT_EQ(ParseValue("12", B::Decimal), 12);
  EXPECT_EQ(ParseValue("-5", B::Decimal), -5);
  EXPECT_EQ(ParseValue("-2147483648", B::Decimal), -2147483647 - 1);
  for (const char* bad : {"012", "+5", " 5", "5 ", "1.0", "", "-0", "2147483648", "-", "5x", "0x10",
                          "99999999999999999999"})
    EXPECT_EQ(ParseValue(bad, B::Decimal), std::nullopt) << bad;
  EXPECT_EQ(ParseCanonicalDecimal("007"), std::nullopt);
  EXPECT_EQ(ParseCanonicalDecimal("-1"), -1);
}

TEST(ValueText, MetresRoundHalfAwayFromZeroWithinTheLimit) {
  EXPECT_EQ(ParseValue("1e3", B::Meters), 19685039);
  EXPECT_EQ(ParseValue("100", B::Meters), 1968504);
  EXPECT_EQ(ParseValue("  -5", B::Meters), -98425);
  EXPECT_EQ(ParseValue("+5", B::Meters), 98425);
  EXPECT_EQ(ParseValue(".5", B::Meters), 9843);
  EXPECT_EQ(ParseValue("", B::Meters), 0);
  EXPECT_EQ(ParseValue("109092.16926803638", B::Meters), 2147483647);
  EXPECT_EQ(ParseValue("-109092.16926803638", B::Meters), -2147483647);
  for (const char* bad : {"109092.1693", "12 ", "1,5", "abc", "1e", "--1", "inf", "nan", "0x1p3", "1e400"})
    EXPECT_EQ(ParseValue(bad, B::Meters), std::nullopt) << bad;
}

TEST(ValueText, AnglesWrapAtTheirEnds) {
  EXPECT_EQ(ParseValue("90", B::Orientation), 1073741824);
  EXPECT_EQ(ParseValue("180", B::Orientation), -2147483647 - 1);
  EXPECT_EQ(ParseValue("-180", B::Orientation), -2147483647 - 1);
  EXPECT_EQ(ParseValue("180.0001", B::Orientation), std::nullopt);
  EXPECT_EQ(ParseValue("", B::Orientation), 0);
  EXPECT_EQ(ParseValue("360", B::Curvature), -2147483647 - 1);
  EXPECT_EQ(ParseValue("20", B::Curvature), 119304647);
  EXPECT_EQ(ParseValue("-360.5", B::Curvature), std::nullopt);
  EXPECT_EQ(ParseValue("12 ", B::Curvature), std::nullopt);
}

TEST(ValueText, DisplaysInEachBase) {
  EXPECT_EQ(DisplayValue(1073741824, B::Orientation), "90");
  EXPECT_EQ(DisplayValue(1073741824, B::Curvature), "180");
  EXPECT_EQ(DisplayValue(-2147483647 - 1, B::Orientation), "-180");
  EXPECT_EQ(DisplayValue(-2147483647 - 1, B::Curvature), "-360");
  EXPECT_EQ(DisplayValue(-98425, B::Decimal), "-98425");
}

TEST(ValueText, BaseNames) {
  EXPECT_EQ(ValueBaseByName("m"), B::Meters);
  EXPECT_EQ(ValueBaseByName("curv"), B::Curvature);
  EXPECT_EQ(ValueBaseByName("deg"), B::Orientation);
  EXPECT_EQ(ValueBaseByName("dec"), B::Decimal);
  EXPECT_EQ(ValueBaseByName("M"), std::nullopt);
  for (B base : {B::Decimal, B::Meters, B::Orientation, B::Curvature})
    EXPECT_EQ(ValueBaseByName(ValueBaseName(base)), base);
}

}  // namespace
}  // namespace meridal
