#include "solve/bend_narrowing.h"

#include <algorithm>
#include <cmath>

#include "model/numbers.h"
#include "model/units.h"
#include "present/format.h"
#include "solve/centreline_fit.h"

namespace meridal {

TBendNarrowing NarrowBends(const std::vector<TSegment>& segments, std::vector<int32_t>& right,
                           std::vector<int32_t>& left, double traceRight, double traceLeft) {
  TBendNarrowing out;
  out.traceRight = traceRight;
  out.traceLeft = traceLeft;
  const size_t m = segments.size();
  const std::vector<int32_t> wasRight = right, wasLeft = left;
  // The most each side may keep at each joint, in units: the tighter of the two
  // arcs that meet there.
  const double units = kUnitsPerMeter;
  int tightestRight = -1, tightestLeft = -1;
  for (size_t k = 0; k < m; ++k) {
    const TSegment& s = segments[k];
    if (s.straight || s.curvature == 0) continue;
    const double room = 1.0 / std::fabs(s.curvature) - kInnerRadius;  // metres
    const int32_t most = int32_t(std::max(0.0, std::floor(room * units)));
    if (s.curvature > 0) {
      for (size_t j : {k, k + 1}) left[j] = std::min(left[j], most);
      if (room < out.traceLeft) out.traceLeft = room, tightestLeft = int(k);
    } else {
      for (size_t j : {k, k + 1}) right[j] = std::max(right[j], -most);
      if (room < out.traceRight) out.traceRight = room, tightestRight = int(k);
    }
  }
  // The loop's own joint is one joint.
  right[0] = right[m] = std::max(right[0], right[m]);
  left[0] = left[m] = std::min(left[0], left[m]);
  for (size_t k = 0; k < m; ++k) {
    const double lostRight = std::max(right[k] - wasRight[k], right[k + 1] - wasRight[k + 1]) / units;
    const double lostLeft = std::max(wasLeft[k] - left[k], wasLeft[k + 1] - left[k + 1]) / units;
    if (lostRight <= 0 && lostLeft <= 0) continue;
    ++out.sections;
    std::string text = FormatPrintf("section %d: narrowed", int(k));
    if (lostRight > 0) text += FormatPrintf(" by %.2f m on the right", lostRight);
    if (lostRight > 0 && lostLeft > 0) text += " and";
    if (lostLeft > 0) text += FormatPrintf(" by %.2f m on the left", lostLeft);
    out.warnings.push_back(text + FormatPrintf(", so that the inside of a bend keeps a radius of %g m", kInnerRadius));
  }
  if (tightestRight >= 0)
    out.warnings.push_back(FormatPrintf(
        "the traces on the right reach %.2f m from the centre, not %.2f m: they run the whole lap, and the bend of "
        "section %d is that tight", out.traceRight, traceRight, tightestRight));
  if (tightestLeft >= 0)
    out.warnings.push_back(FormatPrintf(
        "the traces on the left reach %.2f m from the centre, not %.2f m: they run the whole lap, and the bend of "
        "section %d is that tight", out.traceLeft, traceLeft, tightestLeft));
  return out;
}

}  // namespace meridal
