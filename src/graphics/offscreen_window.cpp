#include "graphics/offscreen_window.h"

#include <algorithm>

#include "platform/canvas.h"

namespace meridal {

int TOffscreenWindow::ClientWidth() const { return canvas_.ClientWidth(); }
int TOffscreenWindow::ClientHeight() const { return canvas_.ClientHeight(); }

void TOffscreenWindow::SetScrollRange(ScrollBar bar, int32_t range) {
  Bar(bar).range = range;
  SetScrollPosition(bar, Bar(bar).position);  // re-applies the clamping
}

void TOffscreenWindow::SetScrollPosition(ScrollBar bar, int32_t position) {
  const int64_t client = bar == ScrollBar::Horizontal ? ClientWidth() : ClientHeight();
  const int64_t last = std::max<int64_t>(0, int64_t{Bar(bar).range} - client);
  Bar(bar).position = static_cast<int32_t>(std::clamp<int64_t>(position, 0, last));
}

}  // namespace meridal
