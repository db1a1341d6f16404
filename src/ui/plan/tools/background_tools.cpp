#include "ui/plan/tools/background_tools.h"

#include "ui/plan/background_layer.h"

namespace meridal {

using Tool = TBackgroundLayer::Tool;

bool TCalibrateTool::Press(const TPlanPointer& p) {
  if (layer_.ActiveTool() != Tool::Calibrate || p.button != Qt::LeftButton) return false;
  layer_.Press(p.world, false);
  return true;
}

void TCalibrateTool::Paint(QPainter& painter) const { layer_.PaintMarks(painter, host_.Scale()); }

bool TCalibrateTool::Cancel() {
  if (layer_.ActiveTool() != Tool::Calibrate) return false;
  layer_.SetTool(Tool::None);
  return true;
}

QString TCalibrateTool::Status() const { return layer_.ActiveTool() == Tool::Calibrate ? layer_.ToolHint() : QString(); }

bool TPlaceTool::Press(const TPlanPointer& p) {
  if (layer_.ActiveTool() != Tool::Place || p.button != Qt::LeftButton) return false;
  dragging_ = layer_.Press(p.world, p.modifiers & Qt::ShiftModifier);
  return true;
}

bool TPlaceTool::Move(const TPlanPointer& p) {
  if (!dragging_) return false;
  layer_.Drag(p.world);
  return true;
}

bool TPlaceTool::Release(const TPlanPointer& p) {
  if (!dragging_) return false;
  if (p.button == Qt::LeftButton) {
    layer_.Release();
    dragging_ = false;
  }
  return true;
}

bool TPlaceTool::Cancel() {
  if (layer_.ActiveTool() != Tool::Place) return false;
  if (dragging_) layer_.Release();
  dragging_ = false;
  layer_.SetTool(Tool::None);
  return true;
}

QString TPlaceTool::Status() const { return layer_.ActiveTool() == Tool::Place ? layer_.ToolHint() : QString(); }

}  // namespace meridal
