#pragma once
// Large tracks made to order, for trying the editor on big documents, for the
// benchmarks and for the fuzzers' seeds: a chain of sections laid end to end in
// rows, a row of 99 straights and then a half turn of 20 m radius, left and right
// in turn (the rows are 40 m apart). The straights are 20 m long, or shorter on a
// track of so many sections that 20 m would take it near the longest a track can
// be (model/length_limit.h): the whole track stays within 95 % of that, leaving
// room for edits. Every section has its altitudes and walls filled with varied
// values. The same arguments always give the same track.
#include <cstdint>
#include <memory>

namespace meridal {

class TTrack;

// The most sections a synthetic track may have: its rows then still lie well
// inside the 32-bit plan, and its project file under the readers' size limit.
constexpr int32_t kMaxSyntheticSections = 100000;

// `sections` from 1 to kMaxSyntheticSections, `traces` from 1 to 16, `walls` 0 or
// more; nullptr for anything else.
std::unique_ptr<TTrack> SyntheticTrack(int32_t sections, int32_t traces = 16, int32_t walls = 12);

}  // namespace meridal
