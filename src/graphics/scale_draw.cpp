#include "graphics/scale_draw.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/numbers.h"
#include "platform/canvas.h"
#include "platform/draw_window.h"

namespace meridal {

namespace {

constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();

// |trunc(v)| as a scroll extent or position, saturated at the int32 maximum.
int32_t PixelExtent(double v) {
  const int64_t t = trunc64(v);
  const int64_t magnitude = t < 0 ? (t == std::numeric_limits<int64_t>::min() ? kInt32Max : -t) : t;
  return static_cast<int32_t>(std::min<int64_t>(magnitude, kInt32Max));
}

// Whether |trunc(v)| fits the int32 range (false for NaN).
bool ExtentFits(double v) { return std::fabs(v) < 2147483648.0; }

}  // namespace

TScaleDraw::TScaleDraw(IDrawWindow& window, TRect bounds, int32_t sizePixels)
    : window_(window), sizePixels_(sizePixels) {
  StoreBounds(bounds);
  // The larger extent spans sizePixels at zoom 1. A rectangle without extent
  // (or a malformed one) would make the scale infinite or negative: its extent
  // counts as one unit, and a size below one pixel as one pixel.
  const double extent = boundsWidth_ > boundsHeight_ ? boundsWidth_ : boundsHeight_;
  scale_ = std::max(sizePixels_, 1) / std::max(extent, 1.0);
  zoom_ = 1.0;
  originX_ = bounds_.left;
  originY_ = bounds_.top;
  window_.SetScrollRange(ScrollBar::Horizontal, HorizontalRange());
  window_.SetScrollPosition(ScrollBar::Horizontal, 0);
  window_.SetScrollRange(ScrollBar::Vertical, VerticalRange());
  window_.SetScrollPosition(ScrollBar::Vertical, 0);
}

ICanvas& TScaleDraw::Canvas() const { return window_.Canvas(); }
int TScaleDraw::ClientWidth() const { return window_.ClientWidth(); }
int TScaleDraw::ClientHeight() const { return window_.ClientHeight(); }

void TScaleDraw::StoreBounds(TRect bounds) {
  bounds_ = bounds;
  // The differences are taken in 64 bits: a rectangle spanning more than half the
  // 32-bit range must not come out with a wrapped, negative width.
  boundsWidth_ = static_cast<double>(int64_t{bounds.right} - bounds.left);
  boundsHeight_ = static_cast<double>(int64_t{bounds.top} - bounds.bottom);
}

void TScaleDraw::SetBounds(TRect bounds) {
  StoreBounds(bounds);
  KeepOriginInside();
  RefreshScrollBars();
}

void TScaleDraw::SetFreeOrigin(bool on) {
  if (on == freeOrigin_) return;
  OriginFromScroll();
  freeOrigin_ = on;
  KeepOriginInside();
  RefreshScrollBars();
}

bool TScaleDraw::SetMapping(double pixelsPerUnit, double originX, double originY) {
  if (!SetZoom(pixelsPerUnit / scale_)) return false;
  originX_ = originX;
  originY_ = originY;
  KeepOriginInside();
  RefreshScrollBars();
  return true;
}

void TScaleDraw::KeepOriginInside() {
  if (freeOrigin_) return;
  if (bounds_.left > originX_) originX_ = bounds_.left;
  if (bounds_.top < originY_) originY_ = bounds_.top;
}

int32_t TScaleDraw::HorizontalRange() const { return PixelExtent(boundsWidth_ * PixelsPerUnit()); }
int32_t TScaleDraw::VerticalRange() const { return PixelExtent(-boundsHeight_ * PixelsPerUnit()); }

void TScaleDraw::RefreshScrollBars() {
  // Each range before its position, so the window clamps the position against the
  // new range.
  const double sz = PixelsPerUnit();
  if (freeOrigin_) {
    // The rectangle and the part shown: the bars reach both from where the view is.
    const double shownRight = originX_ + ClientWidth() / sz, shownBottom = originY_ - ClientHeight() / sz;
    scrollLeft_ = std::min<double>(bounds_.left, originX_);
    scrollTop_ = std::max<double>(bounds_.top, originY_);
    const double right = std::max<double>(bounds_.right, shownRight);
    const double bottom = std::min<double>(bounds_.bottom, shownBottom);
    window_.SetScrollRange(ScrollBar::Horizontal, PixelExtent(std::ceil((right - scrollLeft_) * sz)));
    window_.SetScrollPosition(ScrollBar::Horizontal, PixelExtent(std::round((originX_ - scrollLeft_) * sz)));
    window_.SetScrollRange(ScrollBar::Vertical, PixelExtent(std::ceil((scrollTop_ - bottom) * sz)));
    window_.SetScrollPosition(ScrollBar::Vertical, PixelExtent(std::round((scrollTop_ - originY_) * sz)));
    setPositions_[0] = window_.ScrollPosition(ScrollBar::Horizontal);
    setPositions_[1] = window_.ScrollPosition(ScrollBar::Vertical);
    return;
  }
  window_.SetScrollRange(ScrollBar::Horizontal, HorizontalRange());
  window_.SetScrollPosition(ScrollBar::Horizontal, PixelExtent((originX_ - bounds_.left) * sz));
  window_.SetScrollRange(ScrollBar::Vertical, VerticalRange());
  window_.SetScrollPosition(ScrollBar::Vertical, PixelExtent((bounds_.top - originY_) * sz));
}

// Beyond the 32-bit range the value stays at the range's end (a far-away point
// must not wrap back into the window).
int32_t TScaleDraw::FarToPixel(double v) {
  return static_cast<int32_t>(std::clamp<int64_t>(trunc64(v), kInt32Min, kInt32Max));
}
double TScaleDraw::ToWorldX(double x) const { return x / (scale_ * zoom_) + originX_; }
double TScaleDraw::ToWorldY(double y) const { return originY_ - y / (scale_ * zoom_); }

void TScaleDraw::OriginFromScroll() {
  const double sz = PixelsPerUnit();
  if (freeOrigin_) {
    // Only a bar the user moved moves the view, by the pixels it moved.
    const int32_t x = window_.ScrollPosition(ScrollBar::Horizontal), y = window_.ScrollPosition(ScrollBar::Vertical);
    originX_ += (x - setPositions_[0]) / sz;
    originY_ -= (y - setPositions_[1]) / sz;
    setPositions_[0] = x;
    setPositions_[1] = y;
    return;
  }
  originX_ = bounds_.left + window_.ScrollPosition(ScrollBar::Horizontal) / sz;
  originY_ = bounds_.top - window_.ScrollPosition(ScrollBar::Vertical) / sz;
}

void TScaleDraw::CenterOn(double wx, double wy) { AnchorAt(wx, wy, ClientWidth() / 2, ClientHeight() / 2); }

void TScaleDraw::AnchorAt(double wx, double wy, double px, double py) {
  const double sz = PixelsPerUnit();
  originX_ = wx - px / sz;
  originY_ = wy + py / sz;
  KeepOriginInside();
  RefreshScrollBars();
  window_.Repaint();
}

bool TScaleDraw::ZoomAbout(bool in, double px, double py) {
  OriginFromScroll();
  const double wx = ToWorldX(px), wy = ToWorldY(py);
  if (!(in ? ZoomIn() : ZoomOut())) return false;
  AnchorAt(wx, wy, px, py);
  return true;
}

double TScaleDraw::FitZoom() const {
  // One pixel is kept free on the right and at the bottom: the extent's far
  // edges map to the last pixel of the client, not just past it.
  const double across = std::max(ClientWidth() - 1, 1) / std::max(boundsWidth_ * scale_, 1e-300);
  const double down = std::max(ClientHeight() - 1, 1) / std::max(boundsHeight_ * scale_, 1e-300);
  return std::min(across, down);
}

bool TScaleDraw::AtFit() const { return zoom_ == FitZoom(); }

bool TScaleDraw::ZoomToFit() {
  if (!SetZoom(FitZoom())) return false;
  if (!freeOrigin_) {
    AnchorAt(bounds_.left, bounds_.top, 0, 0);
    return true;
  }
  // The rectangle's middle at the client's middle: the room left over is shared.
  const double sz = PixelsPerUnit();
  AnchorAt(bounds_.left + (boundsWidth_ - (ClientWidth() - 1) / sz) / 2,
           bounds_.top - (boundsHeight_ - (ClientHeight() - 1) / sz) / 2, 0, 0);
  return true;
}

void TScaleDraw::ScrollBy(int32_t dx, int32_t dy) {
  for (const auto& [bar, delta] : {std::pair{ScrollBar::Horizontal, dx}, std::pair{ScrollBar::Vertical, dy}})
    if (delta != 0)
      window_.SetScrollPosition(bar, static_cast<int32_t>(std::clamp<int64_t>(
                                         int64_t{window_.ScrollPosition(bar)} + delta, 0, kInt32Max)));
  window_.Repaint();
}

bool TScaleDraw::ZoomFits(double zoom) const {
  const double sz = scale_ * zoom;
  return ExtentFits(boundsWidth_ * sz) && ExtentFits(-boundsHeight_ * sz);
}

bool TScaleDraw::SetZoom(double zoom) {
  if (!std::isfinite(zoom) || !(zoom > 0)) return false;
  if (!std::isnormal(scale_ * zoom)) return false;
  // A drawing that outgrew the range through SetBounds can still be zoomed out.
  if (!ZoomFits(zoom) && zoom >= zoom_) return false;
  zoom_ = zoom;
  return true;
}

bool TScaleDraw::ZoomIn() { return SetZoom(zoom_ * 2.0); }
bool TScaleDraw::ZoomOut() { return SetZoom(zoom_ * 0.5); }

bool TScaleDraw::RectsOverlap(const TRect& a, const TRect& b) {
  const int32_t aHi = std::max(a.top, a.bottom), aLo = std::min(a.top, a.bottom);
  const int32_t bHi = std::max(b.top, b.bottom), bLo = std::min(b.top, b.bottom);
  return a.right >= b.left && a.left < b.right && aHi >= bLo && aLo < bHi;
}

bool TScaleDraw::IsVisible(const TRect& worldBox) const {
  const TRect window{ToWindowX(worldBox.left), ToWindowY(worldBox.top), ToWindowX(worldBox.right),
                     ToWindowY(worldBox.bottom)};
  return RectsOverlap(window, TRect{0, 0, ClientWidth(), ClientHeight()});
}

}  // namespace meridal
