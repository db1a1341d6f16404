#pragma once
// The values a refused entry could have taken, for the line beneath "Input not
// valid ! Range Error!": "Radius: at least 5.08 m". The limits are the setters'
// own, found by trying values on the track and taking each one back at once, so
// that they cannot drift from what the setters check (the walls about an arc's
// centre, the plan's 32-bit coordinates, the longest track a file holds...).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace meridal {

class TBase;

// The run of accepted values around `known`, an accepted one; a side without an
// end goes to the 32-bit limit. `accepts` must leave everything as it was.
struct TAcceptedRange {
  std::optional<int32_t> least, most;  // none: no limit that way
};
std::optional<TAcceptedRange> ProbeAcceptedRange(int32_t known, const std::function<bool(int32_t)>& accepts);

// "Radius: at least 5.08 m", "Length: from 0.0508 mm to 109,092.17 m": the values
// `name` of `object` takes around its current one; empty when it takes every
// value or none. The object's track is tried and left exactly as it was.
std::string ValueRangeText(const TBase& object, const std::string& name);
// The same for the first part's length of a split: "Length of first part: ...".
std::string SplitRangeText(const TBase& section);

}  // namespace meridal
