#include "graphics/profile_view.h"

#include <algorithm>

#include "model/units.h"

namespace meridal {

namespace {

constexpr double kNarrowestSpan = kUnitsPerMeter;

}  // namespace

void TProfileView::SetExtent(TDistanceRange extent) {
  extent_ = extent;
  if (fitted_) ZoomToFit();
  else KeepInside();
}

void TProfileView::ZoomToFit() {
  first_ = extent_.first;
  span_ = extent_.last - extent_.first;
  fitted_ = true;
}

bool TProfileView::ZoomAbout(double fraction, bool in) {
  const double whole = extent_.last - extent_.first;
  const double span = in ? span_ / 2 : span_ * 2;
  if (in ? span < std::min(kNarrowestSpan, whole) : fitted_) return false;
  const double anchor = first_ + std::clamp(fraction, 0.0, 1.0) * span_;
  if (!in && span >= whole) {
    ZoomToFit();
    return true;
  }
  first_ = anchor - std::clamp(fraction, 0.0, 1.0) * span;
  span_ = span;
  fitted_ = false;
  KeepInside();
  return true;
}

void TProfileView::PanBy(double pixels, int width) {
  if (width <= 0) return;
  first_ += pixels * span_ / width;
  KeepInside();
}

void TProfileView::KeepInside() {
  const double whole = extent_.last - extent_.first;
  if (span_ >= whole) {
    ZoomToFit();
    return;
  }
  first_ = std::clamp(first_, extent_.first, extent_.last - span_);
}

}  // namespace meridal
