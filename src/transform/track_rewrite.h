#pragma once
// A whole track made anew by a transform (reverse, mirror): its traces and, in
// order, every section's kind and stored values with its altitudes and walls. The
// geometry a section derives from them (base point, radius, wall points, box) is
// worked out again when the rewrite is put in place, as after reading a file;
// so are the starts and the record indices.
#include <cstdint>
#include <string>
#include <vector>

#include "history/track_patch.h"

namespace meridal::transform {

struct TTrackRewrite {
  std::vector<int32_t> traces;
  std::vector<history::SectionSnapshot> sections;
};

// Why a transform was refused: "Section 5: ..." and what would not fit.
std::string BeyondText(const std::string& what, long long value);

}  // namespace meridal::transform
