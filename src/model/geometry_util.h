#pragma once
// Small helpers the two section kinds share for their boxes.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "model/base.h"

namespace meridal {

// A bounding box grown point by point in 64-bit, stored saturated to int32.
class BoxBuilder {
 public:
  BoxBuilder(int64_t x, int64_t y) : left_(Limit(x)), right_(left_), top_(Limit(y)), bottom_(top_) {}
  void Add(int64_t x, int64_t y) {
    x = Limit(x);
    y = Limit(y);
    left_ = std::min(left_, x);
    right_ = std::max(right_, x);
    top_ = std::max(top_, y);
    bottom_ = std::min(bottom_, y);
  }
  // Widens each horizontal side by a tenth of the height and each vertical side by
  // a tenth of the width, so a long thin section gets a margin across it.
  TRect Widened() const {
    const int64_t h = top_ - bottom_, w = right_ - left_;
    return TRect{Clamp(left_ - h / 10), Clamp(top_ + w / 10), Clamp(right_ + h / 10), Clamp(bottom_ - w / 10)};
  }

 private:
  // Points far beyond the plan (a damaged file's geometry can put them near the
  // int64 ends) are held well inside int64, so the width, height and margins can be
  // computed without overflow; the stored box saturates at the int32 ends anyway.
  static int64_t Limit(int64_t v) { return std::clamp<int64_t>(v, -(int64_t{1} << 40), int64_t{1} << 40); }
  static int32_t Clamp(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
  }
  int64_t left_, right_, top_, bottom_;
};

}  // namespace meridal
