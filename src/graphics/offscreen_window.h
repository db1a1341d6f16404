#pragma once
// TOffscreenWindow: a draw window without a screen, for drawing the track into an
// image (the command line's rendering) or anywhere else a scroll area does not
// exist. It hands out a given canvas, reports that canvas's client size and keeps
// the two scroll bars in memory, clamping each position to
// 0 .. max(0, range - client extent) as a real scroll bar does.
//
//   TPainterCanvas canvas(painter, image.size());
//   TOffscreenWindow window(canvas);
//   TScaleDraw view(window, track.Extent, 600);
//   view.OriginFromScroll();
//   TTrackPainter(track).Draw(view, kViewAll, selection);
#include <cstdint>

#include "platform/draw_window.h"

namespace meridal {

class TOffscreenWindow : public IDrawWindow {
 public:
  explicit TOffscreenWindow(ICanvas& canvas) : canvas_(canvas) {}

  ICanvas& Canvas() override { return canvas_; }
  int ClientWidth() const override;
  int ClientHeight() const override;
  void SetScrollRange(ScrollBar bar, int32_t range) override;
  void SetScrollPosition(ScrollBar bar, int32_t position) override;
  int32_t ScrollRange(ScrollBar bar) const override { return Bar(bar).range; }
  int32_t ScrollPosition(ScrollBar bar) const override { return Bar(bar).position; }
  // There is nothing to repaint; the requests are only counted.
  void Repaint() override { ++repaintRequests_; }
  int RepaintRequests() const { return repaintRequests_; }

 private:
  struct ScrollState {
    int32_t range = 0, position = 0;
  };
  ScrollState& Bar(ScrollBar bar) { return bar == ScrollBar::Horizontal ? horizontal_ : vertical_; }
  const ScrollState& Bar(ScrollBar bar) const { return bar == ScrollBar::Horizontal ? horizontal_ : vertical_; }

  ICanvas& canvas_;
  ScrollState horizontal_, vertical_;
  int repaintRequests_ = 0;
};

}  // namespace meridal
