#pragma once
// The popup's Center, Zoom In and Zoom Out: a click centres the view on the
// point clicked after doubling, halving or keeping the zoom (a zoom step the
// drawing's 32-bit extents cannot take is refused, and the click only centres).
// The point is read with the zoom before the step.
#include "ui/plan/tools/plan_tool.h"

namespace meridal {

class TZoomClickTool : public TPlanTool {
 public:
  using TPlanTool::TPlanTool;
  bool Press(const TPlanPointer& p) override;
  bool Release(const TPlanPointer& p) override;
  bool Busy() const override { return pressed_; }
  QString Status() const override;

 private:
  bool Mine() const;
  bool pressed_ = false;
  QPointF pressWorld_;
};

}  // namespace meridal
