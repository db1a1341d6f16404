#include "model/length_limit.h"

#include <cstdio>

#include "model/track.h"
#include "model/units.h"

namespace meridal {

int64_t TotalSectionLength(const TTrack& track) {
  int64_t sum = 0;
  for (const auto& section : track.Sections) sum += section->Length;
  return sum;
}

bool WithinLengthLimit(const TTrack& track) {
  // Lengths may be 0 or negative in a file, so every running sum counts.
  int64_t sum = 0;
  for (const auto& section : track.Sections) {
    sum += section->Length;
    if (sum > kMaxTrackLength || sum < -kMaxTrackLength - 1) return false;
  }
  return true;
}

std::string LengthLimitText(const TTrack& track) {
  // The running sum furthest from 0 (the total, unless some lengths are negative).
  int64_t sum = 0, furthest = 0;
  for (const auto& section : track.Sections) {
    sum += section->Length;
    if (sum > furthest || -sum > furthest) furthest = sum < 0 ? -sum : sum;
  }
  char text[160];
  std::snprintf(text, sizeof text,
                "the sections add up to %.2Lf m, more than the %.2Lf m (%lld units) a track can hold",
                static_cast<long double>(furthest) * kMetersPerUnit,
                static_cast<long double>(kMaxTrackLength) * kMetersPerUnit, static_cast<long long>(kMaxTrackLength));
  return text;
}

}  // namespace meridal
