#pragma once
// TPanTool: dragging the view. The middle button, Space with the left button,
// or the left button with the Pan tool (H) chosen, drags the plan with the
// pointer, the world point under the press staying under it, with a hand for a
// cursor (see view_gestures.h, which the profile shares).
#include "ui/plan/tools/plan_tool.h"
#include "ui/view_gestures.h"

namespace meridal {

class TPanTool : public TPlanTool {
 public:
  explicit TPanTool(IPlanHost& host);

  bool Press(const TPlanPointer& p) override;
  bool Move(const TPlanPointer& p) override;
  bool Release(const TPlanPointer& p) override;
  bool Key(const QKeyEvent& event, bool pressed) override;
  bool Busy() const override { return gestures_.Active(); }
  QString Status() const override;

  // Whether a drag is on or Space is held: the view's own cursor waits.
  bool Active() const { return gestures_.Active(); }
  bool SpaceHeld() const { return gestures_.SpaceHeld(); }
  // A Space let go elsewhere never reaches the plan.
  void FocusOut() { gestures_.FocusOut(); }
  // Ctrl+wheel: the whole zoom steps turned so far.
  int ZoomSteps(const QWheelEvent& event) { return gestures_.ZoomSteps(event); }

 private:
  TViewGestures gestures_;
};

}  // namespace meridal
