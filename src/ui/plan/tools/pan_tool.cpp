#include "ui/plan/tools/pan_tool.h"

#include <QKeyEvent>
#include <QWidget>

#include "graphics/scale_draw.h"

namespace meridal {

TPanTool::TPanTool(IPlanHost& host) : TPlanTool(host), gestures_(host.Surface(), [&host] { host.RestoreCursor(); }) {}

bool TPanTool::Press(const TPlanPointer& p) {
  return gestures_.Press(p.button, p.pixel, host_.Current() == PlanTool::Pan);
}

bool TPanTool::Move(const TPlanPointer& p) {
  const auto moved = gestures_.Move(p.pixel);
  if (!moved) return false;
  host_.Scale().ScrollBy(-moved->x(), -moved->y());
  return true;
}

bool TPanTool::Release(const TPlanPointer& p) { return gestures_.Release(p.button); }

bool TPanTool::Key(const QKeyEvent& event, bool pressed) { return gestures_.Key(event, pressed); }

QString TPanTool::Status() const {
  return host_.Current() == PlanTool::Pan ? QStringLiteral("Pan: drag the plan") : QString();
}

}  // namespace meridal
