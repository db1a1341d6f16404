#pragma once
// TShapeTool: shaping the track by hand with the handles of the selected section
// (see plan_handles.h). Pressing a handle drags it, and Shift on the section's
// body drags the whole section. Every move goes through the document, so every
// view follows; the release is one undo step, Escape puts everything back.
//
// While dragging: Ctrl (at the press, or held) inverts snapping, Shift moves at
// a tenth of the speed, A cycles the angle step (1, 5, 15 degrees), and a number
// typed sets the value exactly on Enter (typed_entry.h). A read-out beside the
// pointer, clear of the dragged section, shows the value, its change, the
// loop's closure and the snapping.
#include <QPoint>
#include <QString>
#include <memory>
#include <optional>

#include "model/values.h"
#include "shape/document_drag.h"
#include "ui/plan/tools/plan_handles.h"
#include "ui/plan/tools/plan_tool.h"
#include "ui/plan/tools/readout_box.h"
#include "ui/plan/tools/typed_entry.h"

namespace meridal {

class TShapeTool : public TPlanTool {
 public:
  // An end lands on a start within kReachPixels.
  static constexpr int kReachPixels = 8;

  explicit TShapeTool(IPlanHost& host);
  ~TShapeTool() override;

  bool keepJoined = true;
  bool snapOn = true;    // the default; Ctrl inverts it while held
  double angleStep = 1;  // degrees

  bool Press(const TPlanPointer& p) override;
  bool Move(const TPlanPointer& p) override;
  bool Release(const TPlanPointer& p) override;
  bool Key(const QKeyEvent& event, bool pressed) override;
  void Paint(QPainter& painter) const override;
  bool Cancel() override;
  bool Busy() const override { return drag_ != nullptr; }

  // Whether the drag under way moves the whole section (Shift on its body).
  bool MovingBody() const;
  // A handle's pixel on the plan as it is drawn now.
  std::optional<QPoint> HandlePixel(shape::Handle handle) const { return handles_.Pixel(handle); }
  const TPlanHandles& Handles() const { return handles_; }
  // The handle lit under the pointer, if any.
  std::optional<shape::Handle> Lit() const { return lit_; }
  // The read-out's lines, empty when nothing is dragged.
  QString Readout() const;
  // Why the handle stopped, for the status bar; empty while it follows.
  QString StopMessage() const;
  // The snap rules for the modifiers held, at the view's zoom.
  shape::TSnapRules Rules(Qt::KeyboardModifiers modifiers, bool ctrlAtPress) const;

 private:
  // The world point the handle follows: the pointer's moves, a tenth of them with Shift.
  TPointD Follow(QPoint pixel, bool fine);
  // The typed number, once it reads, put in place of the pointer's value.
  void ApplyTyped();
  void Finish();

  TPlanHandles handles_;
  std::unique_ptr<shape::TDocumentDrag> drag_;
  TTypedEntry typed_;
  std::optional<shape::Handle> lit_;
  // A Shift press on the selected section's body: a move of the section, or,
  // released before it went the drag distance, a Shift+click.
  std::optional<QPoint> bodyPress_;
  bool ctrlAtPress_ = false;
  TPointD followed_;
  QPoint pointer_, lastPixel_;
  Qt::KeyboardModifiers modifiers_;
};

}  // namespace meridal
