#pragma once
// A value as a person types it: a number in the chosen base, or a number with its
// unit ("150 m", "15cm", "30°", "0.5 rad"). Every place that takes a typed value
// reads it here: the value and split dialogs (which F2 or Return on a row of the
// property list opens), the Go to Section box, and `meridal-cli set` and `edit`.
//
//   lengths  m, cm, mm, km        "150 m", "150m", "15 cm", "2.5 mm", "0.2 km"
//   angles   °, deg, rad          "30°", "30 deg", "-12.5 °", "0.5 rad"
//
// A unit wins over the chosen base; a bare number is read in the chosen base
// exactly as ParseValue reads it. A unit that does not fit the value (an angle
// for a length, any unit for a code) is refused, and the refusal says what the
// value takes. Lengths round as round(metres * 19685.03937), half away from
// zero, and must fit 32 bits; an orientation is an angle within +-180 degrees
// and a sweep one within +-360, wrapping at their ends as the bases do.
#include <cstdint>
#include <optional>
#include <string>

#include "present/value_text.h"

namespace meridal {

// What a named value measures: it decides which units the value takes and the
// base its dialog opens in.
enum class ValueKind {
  Length,       // Length, Radius, Start, From, To, heights, coefficients, X, Y, traces
  Orientation,  // a heading: Orientation, Orientation mismatch
  Sweep,        // the angle an arc turns through: Curvature
  Plain,        // codes, counts and fields of unknown meaning
};

// The kind of the value of that name (a property list caption or a name the
// model takes); a name it does not know is Plain.
ValueKind ValueKindOf(const std::string& name);

// The base a value of that kind is shown in first: Meters, Orientation,
// Curvature or Decimal.
ValueBase NaturalBase(ValueKind kind);

// What a value of that kind takes, for refusals: "a length in m, cm, mm or km".
std::string KindTakes(ValueKind kind);

struct TTypedValue {
  std::optional<int32_t> value;  // the stored integer, when the text is taken
  std::string refusal;           // otherwise why not: "Length takes a length in m, cm, mm or km"
};

// Reads `text` typed for the value `name` of kind `kind`, a bare number in
// `base`. `separator` is one more decimal separator to take beside '.', the
// editor's locale's (',' for a German user); the command line passes '.'.
TTypedValue ReadTypedValue(const std::string& text, const std::string& name, ValueKind kind, ValueBase base,
                           char separator = '.');

// The metres of a length as a person writes them, "100 m", "-2.5 m", with the
// fewest decimals that still read back to exactly `units`; `separator` is the
// decimal separator to write.
std::string MetresText(int32_t units, char separator = '.');

}  // namespace meridal
