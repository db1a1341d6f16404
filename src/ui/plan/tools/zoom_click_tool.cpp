#include "ui/plan/tools/zoom_click_tool.h"

#include <QWidget>

#include "graphics/scale_draw.h"

namespace meridal {

bool TZoomClickTool::Mine() const {
  const PlanTool tool = host_.Current();
  return tool == PlanTool::Center || tool == PlanTool::ZoomIn || tool == PlanTool::ZoomOut;
}

bool TZoomClickTool::Press(const TPlanPointer& p) {
  if (!Mine() || p.button != Qt::LeftButton) return false;
  // The second press of a double-click does nothing of its own.
  pressed_ = !p.doubleClick;
  pressWorld_ = p.world;
  return true;
}

bool TZoomClickTool::Release(const TPlanPointer& p) {
  if (!pressed_) return false;
  if (p.button != Qt::LeftButton) return true;
  pressed_ = false;
  if (!host_.Surface().rect().contains(p.pixel)) return true;
  TScaleDraw& view = host_.Scale();
  const double wx = pressWorld_.x(), wy = pressWorld_.y();
  if (host_.Current() == PlanTool::ZoomIn) view.ZoomIn();
  else if (host_.Current() == PlanTool::ZoomOut) view.ZoomOut();
  view.CenterOn(wx, wy);
  host_.ToolChanged();
  return true;
}

QString TZoomClickTool::Status() const {
  switch (host_.Current()) {
    case PlanTool::Center: return QStringLiteral("Mode: Center");
    case PlanTool::ZoomIn: return QStringLiteral("Mode: Zoom In");
    case PlanTool::ZoomOut: return QStringLiteral("Mode: Zoom Out");
    default: return {};
  }
}

}  // namespace meridal
