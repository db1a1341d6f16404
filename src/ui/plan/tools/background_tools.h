#pragma once
// The mouse tools of the background image under the plan, switched on from its
// dialog (background_dialog.h), each ending with the dialog: Calibrate takes two
// clicks on the image; Place drags the image, Shift+drag turns it. Escape ends
// either.
#include "ui/plan/tools/plan_tool.h"

namespace meridal {

class TBackgroundLayer;

class TCalibrateTool : public TPlanTool {
 public:
  TCalibrateTool(IPlanHost& host, TBackgroundLayer& layer) : TPlanTool(host), layer_(layer) {}
  bool Press(const TPlanPointer& p) override;
  void Paint(QPainter& painter) const override;
  bool Cancel() override;
  QString Status() const override;

 private:
  TBackgroundLayer& layer_;
};

class TPlaceTool : public TPlanTool {
 public:
  TPlaceTool(IPlanHost& host, TBackgroundLayer& layer) : TPlanTool(host), layer_(layer) {}
  bool Press(const TPlanPointer& p) override;
  bool Move(const TPlanPointer& p) override;
  bool Release(const TPlanPointer& p) override;
  bool Cancel() override;
  bool Busy() const override { return dragging_; }
  QString Status() const override;

 private:
  TBackgroundLayer& layer_;
  bool dragging_ = false;
};

}  // namespace meridal
