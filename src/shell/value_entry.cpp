#include "shell/value_entry.h"

#include "present/typed_value.h"
#include "shell/shell_texts.h"

namespace meridal {

void TValueEntry::Reset(int32_t value) {
  CurrentValue = value;
  PendingBase.reset();
}

std::string TValueEntry::Show(ValueBase base) {
  PendingBase.reset();
  return Display(CurrentValue, base);
}

std::string TValueEntry::Display(int32_t value, ValueBase base) const {
  return base == ValueBase::Meters ? MetresText(value, Separator) : DisplayValue(value, base);
}

std::optional<std::string> TValueEntry::ConvertPending(const std::string& text, ValueBase selected) {
  if (!PendingBase) return std::nullopt;
  const ValueBase typedIn = *PendingBase;
  PendingBase.reset();
  const TTypedValue typed = ReadTypedValue(text, ValueName, ValueKindOf(ValueName), selected, Separator);
  if (typed.value) {
    CurrentValue = *typed.value;
    return std::nullopt;
  }
  ShowRefusal(messages_, WithReason("Input not valid !", typed.refusal));
  return Display(CurrentValue, typedIn);
}

std::optional<int> AcceptSectionNumber(const std::string& text, int numberOfSections, IMessages& messages) {
  const auto n = ParseCanonicalDecimal(text);
  if (!n) {
    ShowRefusal(messages, "Input not valid !");
    return std::nullopt;
  }
  if (*n < 0 || *n >= numberOfSections) {
    ShowRefusal(messages, "Input not valid ! Range Error !");
    return std::nullopt;
  }
  return *n;
}

}  // namespace meridal
