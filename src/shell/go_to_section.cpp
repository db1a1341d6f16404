#include "shell/go_to_section.h"

#include <cstdint>

#include "model/track.h"
#include "present/typed_value.h"

namespace meridal {

TGoTo SectionToGoTo(const TTrack& track, const std::string& text, char separator) {
  const int count = track.NumberOfSections();
  const std::string takes = "Go to a section number from 0 to " + std::to_string(count - 1) +
                            ", or a distance along the track in m, cm, mm or km";
  if (const auto number = ParseCanonicalDecimal(text)) {
    if (*number >= 0 && *number < count) return {*number, {}};
    return {std::nullopt, takes};
  }
  // Not a number: a distance, which only a unit makes one.
  const TTypedValue distance = ReadTypedValue(text, "Go to Section", ValueKind::Length, ValueBase::Decimal, separator);
  if (!distance.value || *distance.value < 0) return {std::nullopt, takes};
  int64_t start = 0;
  for (int s = 0; s < count; ++s) {
    start += track.Section(s)->Length;
    if (*distance.value < start) return {s, {}};
  }
  return {std::nullopt, "The track is only " + MetresText(static_cast<int32_t>(start > INT32_MAX ? INT32_MAX : start)) +
                            " long"};
}

}  // namespace meridal
