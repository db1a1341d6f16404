#pragma once
// What the Go to Section box takes: a section's number, or a distance along the
// track with its unit ("1.2 km", "350 m"), which goes to the section that lies
// that far from the start line.
#include <optional>
#include <string>

namespace meridal {

class TTrack;

struct TGoTo {
  std::optional<int> section;  // where to go
  std::string refusal;         // otherwise why not
};

// `separator`: the locale's decimal separator, taken beside '.'.
TGoTo SectionToGoTo(const TTrack& track, const std::string& text, char separator = '.');

}  // namespace meridal
