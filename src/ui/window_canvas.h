#pragma once
// TWindowCanvas: the QPainter canvas of the graphics window's picture. It can
// clip (the highlight's erasing redraws only the box it blanked), and drawing
// ends with Finish, which hands everything the canvas may still hold back to the
// painter before the painter ends.
#include "graphics/qt/painter_canvas.h"

namespace meridal {

class TWindowCanvas : public TPainterCanvas {
 public:
  TWindowCanvas(QPainter& painter, QSize clientSize, bool smooth)
      : TPainterCanvas(painter, clientSize, smooth), painter_(painter) {}

  void ClipTo(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
  void ClipOff() override;
  void Finish();

 private:
  QPainter& painter_;
};

}  // namespace meridal
