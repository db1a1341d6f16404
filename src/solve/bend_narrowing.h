#pragma once
// Narrowing a fitted track where it bends tighter than it is wide: an arc whose
// inner wall would come nearer its centre than kInnerRadius has that side brought
// in, at both its ends, so that its neighbours taper to meet it and no wall jumps
// at a joint. The traces run the whole lap, so on each side they reach no
// further than the tightest such bend allows.
//
//   TBendNarrowing n = NarrowBends(segments, right, left, 7.5, 7.5);
//   for (const std::string& w : n.warnings) warn(w);
#include <cstdint>
#include <string>
#include <vector>

#include "solve/chain_fit.h"

namespace meridal {

struct TBendNarrowing {
  int sections = 0;  // sections that lost width
  double traceRight = 0, traceLeft = 0;  // metres: how far the traces may reach
  std::vector<std::string> warnings;     // one a section that lost width, and one a side of traces brought in
};

// `right` and `left` are the wall widths at each joint in track units (right
// negative), one more than the segments, the last the first again; they are
// brought in where a bend needs it. `traceRight` and `traceLeft` are how far
// (metres) the traces would reach.
TBendNarrowing NarrowBends(const std::vector<TSegment>& segments, std::vector<int32_t>& right,
                           std::vector<int32_t>& left, double traceRight, double traceLeft);

}  // namespace meridal
