#pragma once
// The typed-value field of the Edit Value and Split Section dialogs: the value
// held, the base a not yet converted text was typed in, and the conversion that
// runs when the field loses the focus or OK is pressed.
#include <cstdint>
#include <optional>
#include <string>

#include "present/value_text.h"

namespace meridal {

class IMessages;

class TValueEntry {
 public:
  explicit TValueEntry(IMessages& messages) : messages_(messages) {}

  int32_t CurrentValue = 0;
  std::optional<ValueBase> PendingBase;  // none: the text shows CurrentValue
  // The value's name: its kind decides the units a text may carry, and refusals
  // say what it takes.
  std::string ValueName;
  // The locale's decimal separator, taken beside '.' and written in metres.
  char Separator = '.';

  // Starts anew with a value; nothing pending.
  void Reset(int32_t value);
  // The text of CurrentValue in a base; afterwards nothing is pending.
  std::string Show(ValueBase base);
  // The user changed the text while `selected` was the chosen base.
  void TextChanged(ValueBase selected) { PendingBase = selected; }
  // Converts a pending text, read in the base chosen now unless it carries its
  // unit. When the text is not valid, says "Input not valid !" with what the
  // value takes beneath, and returns the text to show instead:
  // the held value in the base it was typed in. Nothing is pending afterwards.
  std::optional<std::string> ConvertPending(const std::string& text, ValueBase selected);
  // Any value's text in a base, metres with the locale's separator.
  std::string Display(int32_t value, ValueBase base) const;

 private:
  IMessages& messages_;
};

// The Copy Walls dialog's number: the canonical decimal form of a section number
// in 0 .. numberOfSections - 1; otherwise the refusal is shown and nothing returned.
std::optional<int> AcceptSectionNumber(const std::string& text, int numberOfSections, IMessages& messages);

}  // namespace meridal
