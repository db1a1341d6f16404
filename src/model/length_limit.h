#pragma once
// The longest a track can be. Its Length and every section's Start are kept in
// 32 bits of track units (the track file stores them so), so the running sum of
// the section lengths must stay within 2,147,483,647 units, about 109 km.
#include <cstdint>
#include <string>

namespace meridal {

class TTrack;

constexpr int64_t kMaxTrackLength = 2147483647;

// The sum of the section lengths, in 64 bits: it may be beyond the limit.
int64_t TotalSectionLength(const TTrack& track);
// Whether every section's Start and the track's Length fit their 32 bits.
bool WithinLengthLimit(const TTrack& track);
// What is wrong with a track beyond the limit, naming the limit: "the sections
// add up to 204262.34 m, more than the 109092.17 m (2147483647 units) a track can
// hold".
std::string LengthLimitText(const TTrack& track);

}  // namespace meridal
