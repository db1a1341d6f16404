#pragma once
// A graphics window for tests: a recording canvas, a client size, two scroll bars
// that clamp their positions to 0 .. max(0, range - client extent) as the real
// ones do, and a count of repaint requests.
#include <algorithm>
#include <cstdint>

#include "platform/draw_window.h"
#include "support/recording_canvas.h"

namespace meridal::testing {

class FakeDrawWindow : public IDrawWindow {
 public:
  explicit FakeDrawWindow(int width = 700, int height = 400) : canvas(width, height) {}

  RecordingCanvas canvas;
  int repaints = 0;

  // Resizing re-applies the clamping interval, as a real window does.
  void Resize(int width, int height) {
    canvas.SetClientSize(width, height);
    for (ScrollBar bar : {ScrollBar::Horizontal, ScrollBar::Vertical}) SetScrollPosition(bar, ScrollPosition(bar));
  }
  // What dragging a scroll bar does: a clamped new position.
  void ScrollTo(ScrollBar bar, int32_t position) { SetScrollPosition(bar, position); }

  ICanvas& Canvas() override { return canvas; }
  int ClientWidth() const override { return canvas.ClientWidth(); }
  int ClientHeight() const override { return canvas.ClientHeight(); }
  void SetScrollRange(ScrollBar bar, int32_t range) override {
    Bar(bar).range = range;
    SetScrollPosition(bar, Bar(bar).position);
  }
  void SetScrollPosition(ScrollBar bar, int32_t position) override {
    const int64_t client = bar == ScrollBar::Horizontal ? ClientWidth() : ClientHeight();
    const int64_t top = std::max<int64_t>(0, int64_t{Bar(bar).range} - client);
    Bar(bar).position = static_cast<int32_t>(std::clamp<int64_t>(position, 0, top));
  }
  int32_t ScrollRange(ScrollBar bar) const override { return Bar(bar).range; }
  int32_t ScrollPosition(ScrollBar bar) const override { return Bar(bar).position; }
  void Repaint() override { ++repaints; }

 private:
  struct State {
    int32_t range = 0, position = 0;
  };
  State& Bar(ScrollBar bar) { return bar == ScrollBar::Horizontal ? h_ : v_; }
  const State& Bar(ScrollBar bar) const { return bar == ScrollBar::Horizontal ? h_ : v_; }
  State h_, v_;
};

}  // namespace meridal::testing
