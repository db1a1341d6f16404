#pragma once
// Typed text <-> stored integer, in the four bases a value can be entered in. The
// Edit Value, Split Section and Copy Walls dialogs and `meridal-cli set` share these.
// Parsing and printing are independent of the C locale's decimal separator.
#include <cstdint>
#include <optional>
#include <string>

namespace meridal {

enum class ValueBase { Decimal, Meters, Orientation, Curvature };

// The largest magnitude in metres that still fits a stored length.
constexpr double kMaxMeters = 109092.16926803638;

// The text a value shows in a base: "%i"; the metres as a person writes them
// ("100 m", see MetresText); "%.8G" of degrees of orientation; "%.8G" of
// degrees of curvature.
std::string DisplayValue(int32_t value, ValueBase base);

// Reads a typed text in a base; nothing when the text is not valid there or out of
// range. Decimal wants the canonical "%i" form ("012", "+5", " 5", "5 " and "" are
// not); the others take a decimal number that fills the text after leading blanks
// (the empty text is 0) within +-109092.16926803638 m, +-180 or +-360 degrees, and
// round half away from zero keeping the low 32 bits, so +180 degrees becomes
// -2147483648.
std::optional<int32_t> ParseValue(const std::string& text, ValueBase base);

// A decimal floating-point number that fills the text after leading blanks; the
// empty rest reads as 0. Hexadecimal forms, infinities and NaN are not numbers here.
std::optional<double> ParseDecimalNumber(const std::string& text);

// The canonical decimal form alone (what the Copy Walls dialog accepts).
std::optional<int32_t> ParseCanonicalDecimal(const std::string& text);

// A base by its command-line name: "dec", "m", "deg", "curv"; and the name of a base.
std::optional<ValueBase> ValueBaseByName(const std::string& name);
std::string ValueBaseName(ValueBase base);

}  // namespace meridal
