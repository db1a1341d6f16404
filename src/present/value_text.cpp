#include "present/value_text.h"

#include <charconv>
#include <cmath>
#include <utility>

#include "model/numbers.h"
#include "model/units.h"
#include "present/format.h"
#include "present/typed_value.h"

namespace meridal {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

}  // namespace

std::optional<double> ParseDecimalNumber(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i == text.size()) return 0.0;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') {
    negative = text[i] == '-';
    ++i;
  }
  if (i == text.size() || text[i] == '+' || text[i] == '-') return std::nullopt;
  for (size_t j = i; j < text.size(); ++j) {
    const char c = text[j];
    const bool ok = (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-';
    if (!ok) return std::nullopt;
  }
  double value = 0;
  const char* first = text.data() + i;
  const char* last = text.data() + text.size();
  auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

std::optional<int32_t> ParseCanonicalDecimal(const std::string& text) {
  if (text.empty() || text.size() > 11) return std::nullopt;
  int64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  if (FormatInt(static_cast<int32_t>(value)) != text) return std::nullopt;
  return static_cast<int32_t>(value);
}

std::optional<int32_t> ParseValue(const std::string& text, ValueBase base) {
  if (base == ValueBase::Decimal) return ParseCanonicalDecimal(text);
  const std::optional<double> number = ParseDecimalNumber(text);
  if (!number) return std::nullopt;
  const double v = *number;
  switch (base) {
    case ValueBase::Meters:
      if (!(std::fabs(v) <= kMaxMeters)) return std::nullopt;
      return low32(nearest64(v * kUnitsPerMeter));
    case ValueBase::Orientation:
      if (!(std::fabs(v) <= 180.0)) return std::nullopt;
      return low32(nearest64(v * 2147483648.0 * (1.0 / 180.0)));
    case ValueBase::Curvature:
      if (!(std::fabs(v) <= 360.0)) return std::nullopt;
      return low32(nearest64(v * 0.5 * 2147483648.0 * (1.0 / 180.0)));
    case ValueBase::Decimal:
      break;
  }
  return std::nullopt;
}

std::string DisplayValue(int32_t value, ValueBase base) {
  switch (base) {
    case ValueBase::Decimal: return FormatInt(value);
    case ValueBase::Meters: return MetresText(value);
    case ValueBase::Orientation: return FormatPrintf("%.8G", value * 180.0 * kTwoPowMinus31);
    case ValueBase::Curvature: return FormatPrintf("%.8G", value * 180.0 * kTwoPowMinus31 * 2.0);
  }
  return std::string();
}

namespace {

const std::pair<ValueBase, const char*> kBaseNames[] = {
    {ValueBase::Decimal, "dec"}, {ValueBase::Meters, "m"}, {ValueBase::Orientation, "deg"}, {ValueBase::Curvature, "curv"}};

}  // namespace

std::optional<ValueBase> ValueBaseByName(const std::string& name) {
  for (const auto& [base, text] : kBaseNames)
    if (name == text) return base;
  return std::nullopt;
}

std::string ValueBaseName(ValueBase base) {
  for (const auto& [b, text] : kBaseNames)
    if (b == base) return text;
  return "dec";
}

}  // namespace meridal
