#include "shell/value_entry.h"

#include "shell/shell_texts.h"

namespace meridal {

void TValueEntry::Reset(int32_t value) {
  CurrentValue = value;
  PendingBase.reset();
}

std::string TValueEntry::Show(ValueBase base) {
  PendingBase.reset();
  return DisplayValue(CurrentValue, base);
}

std::optional<std::string> TValueEntry::ConvertPending(const std::string& text, ValueBase selected) {
  if (!PendingBase) return std::nullopt;
  const ValueBase typedIn = *PendingBase;
  PendingBase.reset();
  if (const auto value = ParseValue(text, selected)) {
    CurrentValue = *value;
    return std::nullopt;
  }
  ShowRefusal(messages_, "Input not valid !");
  return DisplayValue(CurrentValue, typedIn);
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
