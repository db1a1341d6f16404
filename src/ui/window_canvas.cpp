#include "ui/window_canvas.h"

#include <QPainter>
#include <QRect>
#include <algorithm>

namespace meridal {

namespace {

// A canvas that gathers lines to draw them in one go has them drawn here; one
// that draws each line at once has nothing to hand over.
template <class Canvas>
void DrawHeldBack(Canvas& canvas) {
  if constexpr (requires { canvas.Flush(); }) canvas.Flush();
}

// Far enough outside the picture that no clipped edge can be seen, near enough
// that the rectangle's size fits an int.
constexpr int64_t kClipMargin = 64;

}  // namespace

void TWindowCanvas::Finish() { DrawHeldBack<TPainterCanvas>(*this); }

void TWindowCanvas::ClipTo(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  Finish();  // what was drawn before is not clipped
  const auto clampX = [this](int64_t v) { return std::clamp<int64_t>(v, -kClipMargin, ClientWidth() + kClipMargin); };
  const auto clampY = [this](int64_t v) { return std::clamp<int64_t>(v, -kClipMargin, ClientHeight() + kClipMargin); };
  const int64_t left = clampX(std::min(x1, x2)), right = clampX(std::max(x1, x2));
  const int64_t top = clampY(std::min(y1, y2)), bottom = clampY(std::max(y1, y2));
  // An empty rectangle clips everything away, as Rectangle then fills nothing.
  painter_.setClipRect(QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                             static_cast<int>(bottom - top)));
}

void TWindowCanvas::ClipOff() {
  Finish();
  painter_.setClipping(false);
}

}  // namespace meridal
