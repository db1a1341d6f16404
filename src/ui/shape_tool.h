#pragma once
// TShapeTool: shaping the track by hand in the plan view. The selected section
// shows its handles (a square at its end, a circle at an arc's midpoint for the
// radius, a circle beyond the end for the heading); pressing one drags it, and
// Shift on the section's body drags the whole section. Every move goes through
// the document, so every view follows; the release is one undo step, Escape
// puts everything back. Alt on an end handle that may be drawn from draws a new
// straight (with Shift an arc) out of it instead.
//
// While dragging: Ctrl (at the press, or held) inverts snapping, Shift moves at a tenth of the speed, A
// cycles the angle step (1, 5, 15 degrees). A read-out beside the pointer shows
// the value, its change, the loop's closure and the snapping.
#include <QPoint>
#include <QString>
#include <memory>
#include <optional>

#include "model/values.h"
#include "shape/document_drag.h"
#include "shape/draw_section.h"

class QKeyEvent;
class QPainter;
class QWidget;

namespace meridal {

class TDocumentShell;
class TScaleDraw;

class TShapeTool {
 public:
  // The heading handle lies this many pixels beyond the end; a handle is grabbed
  // within kGrabPixels of its centre; an end lands on a start within kReachPixels.
  static constexpr int kHeadingPixels = 28;
  static constexpr int kGrabPixels = 7;
  static constexpr int kReachPixels = 8;

  TShapeTool(TDocumentShell& shell, QWidget& viewport);
  ~TShapeTool();

  bool keepJoined = true;
  bool snapOn = true;      // the default; Ctrl inverts it while held
  double angleStep = 1;    // degrees

  // Each returns whether it took the event.
  bool Press(QPoint pixel, Qt::KeyboardModifiers modifiers);
  bool Move(QPoint pixel, Qt::KeyboardModifiers modifiers);
  bool Release(QPoint pixel, Qt::KeyboardModifiers modifiers);
  bool Key(const QKeyEvent& event);

  bool Active() const { return drag_ != nullptr || drawing_.has_value(); }
  // Whether the drag under way moves the whole section (Shift on its body).
  bool MovingBody() const;
  // Puts everything back as Escape does.
  void Cancel();
  // The handle under a pixel of the selected section, if any.
  std::optional<shape::Handle> HandleAt(QPoint pixel) const;
  // A handle's pixel on the plan as it is drawn now.
  std::optional<QPoint> HandlePixel(shape::Handle handle) const;
  // The read-out's lines, empty when nothing is dragged.
  QString Readout() const;
  // Why the handle stopped, for the status bar; empty while it follows.
  QString StopMessage() const;

  // The handles of the selected section, and while dragging the read-out (and
  // the section being drawn).
  void Paint(QPainter& painter) const;

 private:
  const TScaleDraw* View() const;
  const TSection* Selected() const;
  shape::TSnapRules Rules(Qt::KeyboardModifiers modifiers) const;
  // The world point the handle follows: the pointer's moves, a tenth of them with Shift.
  TPointD Follow(QPoint pixel, Qt::KeyboardModifiers modifiers);
  shape::TDrawAim DrawAim(Qt::KeyboardModifiers modifiers) const;
  // What the press chose for the whole drag: an arc (Shift) and no snapping (Ctrl).
  bool drawArc_ = false;
  bool ctrlAtPress_ = false;
  void Update();

  TDocumentShell& shell_;
  QWidget& viewport_;
  std::unique_ptr<shape::TDocumentDrag> drag_;
  std::optional<shape::TDrawAim> drawing_;
  int drawFrom_ = -1;
  TPointD followed_;
  QPoint pointer_, lastPixel_;
  Qt::KeyboardModifiers modifiers_;
};

}  // namespace meridal
