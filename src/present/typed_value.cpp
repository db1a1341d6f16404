#include "present/typed_value.h"

#include <cmath>

#include "model/numbers.h"
#include "model/units.h"
#include "present/format.h"

namespace meridal {

namespace {

enum class UnitKind { Length, Angle };

// A number in a unit is number * times / over metres or degrees; dividing by a
// whole number makes "15 cm" exactly what "0.15" is in metres.
struct TUnit {
  const char* text;
  UnitKind kind;
  double times, over;
};

// Longer spellings first, so that the "m" of "mm" is not taken for metres.
const TUnit kUnits[] = {
    {"deg", UnitKind::Angle, 1.0, 1.0},    {"rad", UnitKind::Angle, 180.0, 0.0},  // over 0: over pi
    {"km", UnitKind::Length, 1000.0, 1.0}, {"cm", UnitKind::Length, 1.0, 100.0},
    {"mm", UnitKind::Length, 1.0, 1000.0}, {"\u00B0", UnitKind::Angle, 1.0, 1.0},
    {"m", UnitKind::Length, 1.0, 1.0},
};

std::string WithPoint(std::string text, char separator) {
  if (separator != '.')
    for (char& c : text)
      if (c == separator) c = '.';
  return text;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string TrimRight(std::string text) {
  while (!text.empty() && IsBlank(text.back())) text.pop_back();
  return text;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A text that ends in a letter or a sign that is no digit means a unit, known or not.
bool EndsInUnitLike(const std::string& text) {
  if (text.empty()) return false;
  const unsigned char c = static_cast<unsigned char>(text.back());
  return c >= 0x80 || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z' && (c | 0x20) != 'e') || c == '%' || c == '\'' ||
         c == '"';
}

std::string BaseTakes(ValueBase base) {
  switch (base) {
    case ValueBase::Decimal: return "a whole number from -2147483648 to 2147483647";
    case ValueBase::Meters: return "a number of metres (at most 109092.17 either way)";
    case ValueBase::Orientation: return "a number of degrees from -180 to 180";
    case ValueBase::Curvature: return "a number of degrees from -360 to 360";
  }
  return std::string();
}

TTypedValue Refused(const std::string& name, const std::string& takes) {
  return TTypedValue{std::nullopt, (name.empty() ? std::string("The value") : name) + " takes " + takes};
}

// The stored value of a number of degrees, in the base of the angle's kind.
std::optional<int32_t> AngleValue(double degrees, ValueKind kind) {
  if (kind == ValueKind::Orientation) {
    if (!(std::fabs(degrees) <= 180.0)) return std::nullopt;
    return low32(nearest64(degrees * kTwoPow31 * (1.0 / 180.0)));
  }
  if (!(std::fabs(degrees) <= 360.0)) return std::nullopt;
  return low32(nearest64(degrees * 0.5 * kTwoPow31 * (1.0 / 180.0)));
}

}  // namespace

ValueKind ValueKindOf(const std::string& name) {
  if (name == "Orientation" || name == "Orientation mismatch") return ValueKind::Orientation;
  if (name == "Curvature") return ValueKind::Sweep;
  static const char* const kLengths[] = {
      "Start", "Length", "Radius", "Longitudinal gap", "Lateral gap", "CurveCenterX", "CurveCenterY", "From", "To",
      "Height", "Width@Start", "Width@End", "3rd order coeff.", "2nd order coeff.", "1st order coeff.",
      "Height@Start", "Height@End", "Length of Trace", "A3", "B2", "X", "Y", "Sum of Section Lengths",
      "Selected Length", "Length of first part"};
  for (const char* length : kLengths)
    if (name == length) return ValueKind::Length;
  if (name.rfind("Trace ", 0) == 0) return ValueKind::Length;
  return ValueKind::Plain;
}

ValueBase NaturalBase(ValueKind kind) {
  switch (kind) {
    case ValueKind::Length: return ValueBase::Meters;
    case ValueKind::Orientation: return ValueBase::Orientation;
    case ValueKind::Sweep: return ValueBase::Curvature;
    case ValueKind::Plain: break;
  }
  return ValueBase::Decimal;
}

std::string KindTakes(ValueKind kind) {
  switch (kind) {
    case ValueKind::Length: return "a length in m, cm, mm or km (at most 109092.17 m either way)";
    case ValueKind::Orientation: return "an angle in \u00B0, deg or rad (from -180\u00B0 to 180\u00B0)";
    case ValueKind::Sweep: return "an angle in \u00B0, deg or rad (from -360\u00B0 to 360\u00B0)";
    case ValueKind::Plain: break;
  }
  return "a number without a unit";
}

TTypedValue ReadTypedValue(const std::string& text, const std::string& name, ValueKind kind, ValueBase base,
                           char separator) {
  const std::string trimmed = TrimRight(text);
  const TUnit* unit = nullptr;
  for (const TUnit& u : kUnits)
    if (EndsWith(trimmed, u.text)) {
      unit = &u;
      break;
    }

  if (!unit) {
    if (EndsInUnitLike(trimmed)) return Refused(name, KindTakes(kind));
    // A whole number has no decimal separator to take.
    const std::string bare = base == ValueBase::Decimal ? text : WithPoint(text, separator);
    if (const auto value = ParseValue(bare, base)) return TTypedValue{value, std::string()};
    const std::string takes = BaseTakes(base);
    return Refused(name, kind == ValueKind::Plain ? takes : takes + ", or " + KindTakes(kind));
  }

  const bool fits = unit->kind == UnitKind::Length ? kind == ValueKind::Length
                                                   : kind == ValueKind::Orientation || kind == ValueKind::Sweep;
  if (!fits) return Refused(name, KindTakes(kind));
  const std::string number =
      WithPoint(TrimRight(trimmed.substr(0, trimmed.size() - std::string(unit->text).size())), separator);
  const bool empty = number.find_first_not_of(" \t") == std::string::npos;
  const std::optional<double> v = empty ? std::nullopt : ParseDecimalNumber(number);
  if (!v) return Refused(name, KindTakes(kind));

  const double amount = *v * unit->times / (unit->over == 0.0 ? Pi : unit->over);
  std::optional<int32_t> value;
  if (unit->kind == UnitKind::Angle) value = AngleValue(amount, kind);
  else if (std::fabs(amount) <= kMaxMeters) value = low32(nearest64(amount * kUnitsPerMeter));
  if (!value) return Refused(name, KindTakes(kind));
  return TTypedValue{value, std::string()};
}

std::string MetresText(int32_t units, char separator) {
  const long double metres = units * kMetersPerUnit;
  std::string text;
  // Ten decimals always read back: a unit is 0.0000508 m.
  for (int decimals = 0; decimals <= 10; ++decimals) {
    text = FormatPrintf("%.*Lf", decimals, metres);
    if (ParseValue(text, ValueBase::Meters) == units) break;
  }
  if (text == "-0") text = "0";
  if (separator != '.')
    for (char& c : text)
      if (c == '.') c = separator;
  return text + " m";
}

}  // namespace meridal
