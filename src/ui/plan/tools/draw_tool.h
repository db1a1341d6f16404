#pragma once
// TDrawTool: drawing a new section out of an open end. With Draw Straight (D) or
// Draw Arc (Shift+D) chosen, a press anywhere draws out of the open end nearest
// it (or the selected section's, or the last one's) and the drag shapes the new
// section to the pointer; with Select, Alt on the selected section's end handle
// draws a straight, Alt+Shift an arc, for desktops that let Alt through. The
// release adds the section as one undo step, Escape drops it, and a number typed
// meanwhile sets the straight's length or the arc's sweep exactly on Enter.
#include <QPoint>
#include <QString>
#include <optional>

#include "shape/draw_section.h"
#include "ui/plan/tools/plan_handles.h"
#include "ui/plan/tools/plan_tool.h"
#include "ui/plan/tools/typed_entry.h"

namespace meridal {

class TShapeTool;

class TDrawTool : public TPlanTool {
 public:
  // The snapping follows the shape tool's settings.
  TDrawTool(IPlanHost& host, const TShapeTool& shape);

  bool Press(const TPlanPointer& p) override;
  bool Move(const TPlanPointer& p) override;
  bool Release(const TPlanPointer& p) override;
  bool Key(const QKeyEvent& event, bool pressed) override;
  void Paint(QPainter& painter) const override;
  bool Cancel() override;
  bool Busy() const override { return aim_.has_value(); }
  QString Status() const override;

  // The section drawn out of, while drawing.
  int From() const { return aim_ ? from_ : -1; }
  // The read-out's lines, empty when nothing is drawn.
  QString Readout() const;
  QString StopMessage() const;

 private:
  // The section whose end a press at this pixel draws out of, or -1.
  int SourceAt(QPoint pixel) const;
  void Aim();
  void Finish();
  // The point of the section being drawn a fraction along it (0 its start, 1 its end).
  TPointD DraftPoint(double fraction) const;
  // Where the drawn section would end, and its heading there.
  bool DraftEnd(double& x, double& y, int32_t& orientation) const;

  const TShapeTool& shape_;
  TPlanHandles handles_;
  TTypedEntry typed_;
  std::optional<shape::TDrawAim> aim_;
  shape::DrawKind kind_ = shape::DrawKind::Straight;
  int from_ = -1;
  bool ctrlAtPress_ = false;
  TPointD pointerWorld_;
  QPoint pointer_;
  Qt::KeyboardModifiers modifiers_;
};

}  // namespace meridal
