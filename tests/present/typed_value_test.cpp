// Values typed with or without their unit.
#include <gtest/gtest.h>

#include "present/typed_value.h"

namespace meridal {
namespace {

using B = ValueBase;
using K = ValueKind;

std::optional<int32_t> Read(const std::string& text, K kind, B base = B::Decimal, char separator = '.') {
  return ReadTypedValue(text, "Value", kind, base, separator).value;
}

TEST(TypedValue, LengthsInEveryUnitWinOverTheBase) {
  for (B base : {B::Decimal, B::Meters, B::Orientation, B::Curvature}) {
    EXPECT_EQ(Read("150 m", K::Length, base), 2952756);
    EXPECT_EQ(Read("150m", K::Length, base), 2952756);
    EXPECT_EQ(Read("15000 cm", K::Length, base), 2952756);
    EXPECT_EQ(Read("0.15 km", K::Length, base), 2952756);
  }
  EXPECT_EQ(Read("15 cm", K::Length), 2953);
  EXPECT_EQ(Read("2.5 mm", K::Length), 49);
  EXPECT_EQ(Read("0.2 km", K::Length), 3937008);
  EXPECT_EQ(Read("-5 m  ", K::Length), -98425);
  EXPECT_EQ(Read("109092.16926803638 m", K::Length), 2147483647);
  // The same number in a unit and in the Meters base gives the same value.
  for (const char* metres : {"0.15", "0.0025", "1.1", "33.3333", "-7.77"})
    EXPECT_EQ(Read(std::string(metres) + " m", K::Length), ParseValue(metres, B::Meters)) << metres;
  EXPECT_EQ(Read("15 cm", K::Length), ParseValue("0.15", B::Meters));
  EXPECT_EQ(Read("2.5 mm", K::Length), ParseValue("0.0025", B::Meters));
}

TEST(TypedValue, AnglesTakeTheKindOfTheValue) {
  EXPECT_EQ(Read("45\u00B0", K::Sweep), 268435456);
  EXPECT_EQ(Read("30\u00B0", K::Orientation), 357913941);
  EXPECT_EQ(Read("30 deg", K::Orientation, B::Meters), 357913941);
  EXPECT_EQ(Read("-12.5 \u00B0", K::Orientation), -149130809);
  EXPECT_EQ(Read("-12.5 \u00B0", K::Sweep), -74565404);
  EXPECT_EQ(Read("0.5 rad", K::Orientation), ParseValue("28.64788975654116", B::Orientation));
  EXPECT_EQ(Read("180\u00B0", K::Orientation), -2147483647 - 1);  // wraps as the base does
  EXPECT_EQ(Read("360 deg", K::Sweep), -2147483647 - 1);
}

TEST(TypedValue, BareNumbersReadInTheChosenBaseAsBefore) {
  for (const char* text : {"150", "-5", "012", "1e3", "", "12 ", "90", "1,5"})
    for (B base : {B::Decimal, B::Meters, B::Orientation, B::Curvature})
      EXPECT_EQ(Read(text, K::Length, base), ParseValue(text, base)) << text;
  EXPECT_EQ(Read("150", K::Length, B::Meters), 2952756);
}

TEST(TypedValue, TheLocaleSeparatorBesideThePoint) {
  EXPECT_EQ(Read("12,5 m", K::Length, B::Decimal, ','), 246063);
  EXPECT_EQ(Read("12,5", K::Length, B::Meters, ','), 246063);
  EXPECT_EQ(Read("12.5", K::Length, B::Meters, ','), 246063);
  EXPECT_EQ(Read("22,5\u00B0", K::Sweep, B::Decimal, ','), 134217728);
  // A whole number has no separator, and the command line reads only the point.
  EXPECT_EQ(Read("12,5", K::Length, B::Decimal, ','), std::nullopt);
  EXPECT_EQ(Read("12,5 m", K::Length), std::nullopt);
}

TEST(TypedValue, RefusalsSayWhatTheValueTakes) {
  const auto refusal = [](const std::string& text, const std::string& name, B base = B::Decimal) {
    const TTypedValue typed = ReadTypedValue(text, name, ValueKindOf(name), base);
    EXPECT_EQ(typed.value, std::nullopt) << text;
    return typed.refusal;
  };
  const std::string length = "Length takes a length in m, cm, mm or km (at most 109092.17 m either way)";
  EXPECT_EQ(refusal("30\u00B0", "Length"), length);
  EXPECT_EQ(refusal("30 ft", "Length"), length);
  EXPECT_EQ(refusal("m", "Length"), length);
  EXPECT_EQ(refusal("nan m", "Length"), length);
  EXPECT_EQ(refusal("1e400 m", "Length"), length);
  EXPECT_EQ(refusal("109092.1693 m", "Length"), length);  // past 32 bits
  EXPECT_EQ(refusal("200 km", "Length"), length);
  EXPECT_EQ(refusal("12.5.1 m", "Length"), length);
  EXPECT_EQ(refusal("5 m", "Surface"), "Surface takes a number without a unit");
  EXPECT_EQ(refusal("5 m", "Curvature"), "Curvature takes an angle in \u00B0, deg or rad (from -360\u00B0 to 360\u00B0)");
  EXPECT_EQ(refusal("181\u00B0", "Orientation"),
            "Orientation takes an angle in \u00B0, deg or rad (from -180\u00B0 to 180\u00B0)");
  EXPECT_EQ(refusal("2147483648", "Height"),
            "Height takes a whole number from -2147483648 to 2147483647, or " + length.substr(13));
  EXPECT_EQ(refusal("1.5", "Unk1"), "Unk1 takes a whole number from -2147483648 to 2147483647");
  EXPECT_EQ(refusal("200000", "Radius", B::Meters),
            "Radius takes a number of metres (at most 109092.17 either way), or " + length.substr(13));
}

TEST(TypedValue, KindsAndTheirFirstBase) {
  for (const char* name : {"Length", "Radius", "Start", "From", "To", "Height", "Height@Start", "X", "Y", "Trace 3",
                           "Longitudinal gap", "1st order coeff."})
    EXPECT_EQ(NaturalBase(ValueKindOf(name)), B::Meters) << name;
  EXPECT_EQ(NaturalBase(ValueKindOf("Orientation")), B::Orientation);
  EXPECT_EQ(NaturalBase(ValueKindOf("Orientation mismatch")), B::Orientation);
  EXPECT_EQ(NaturalBase(ValueKindOf("Curvature")), B::Curvature);
  for (const char* name : {"Surface", "Unk1", "Unk4", "Type", "Number of Traces", "Lenght"})
    EXPECT_EQ(NaturalBase(ValueKindOf(name)), B::Decimal) << name;
}

TEST(TypedValue, MetresAsAPersonWritesThemReadBackExactly) {
  EXPECT_EQ(MetresText(1968504), "100 m");
  EXPECT_EQ(MetresText(2952756), "150 m");
  EXPECT_EQ(MetresText(246063), "12.5 m");
  EXPECT_EQ(MetresText(246063, ','), "12,5 m");
  EXPECT_EQ(MetresText(0), "0 m");
  EXPECT_EQ(MetresText(-1), "-0.00005 m");
  EXPECT_EQ(DisplayValue(984252, B::Meters), "50 m");
  for (int32_t v : {1, -1, 2, 3, 19685, 19686, 984251, 2147483647, -2147483647, 123456789, -98425000}) {
    EXPECT_EQ(Read(MetresText(v), K::Length), v) << v;
    EXPECT_EQ(Read(MetresText(v, ','), K::Length, B::Meters, ','), v) << v;
  }
}

}  // namespace
}  // namespace meridal
