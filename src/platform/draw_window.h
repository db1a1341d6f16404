#pragma once
// The graphics window as the viewport mapping sees it: a canvas, a client size
// and two scroll bars whose positions are clamped to 0 .. max(0, range - client).
#include <cstdint>

namespace meridal {

class ICanvas;

enum class ScrollBar { Horizontal, Vertical };

class IDrawWindow {
 public:
  virtual ~IDrawWindow() = default;
  virtual ICanvas& Canvas() = 0;
  virtual int ClientWidth() const = 0;
  virtual int ClientHeight() const = 0;
  virtual void SetScrollRange(ScrollBar bar, int32_t range) = 0;
  // Sets the position, clamped to 0 .. max(0, range - client extent).
  virtual void SetScrollPosition(ScrollBar bar, int32_t position) = 0;
  virtual int32_t ScrollRange(ScrollBar bar) const = 0;
  virtual int32_t ScrollPosition(ScrollBar bar) const = 0;
  virtual void Repaint() = 0;
};

}  // namespace meridal
