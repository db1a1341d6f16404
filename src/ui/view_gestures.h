#pragma once
// The navigation gestures the plan view and the profile share, so that both
// answer the hand the same way: the middle button, or Space with the left
// button, drags the view (with a hand for a cursor); Ctrl+wheel zooms by whole
// steps, one a notch however finely the wheel reports; a plain wheel scrolls by
// the platform's lines, Shift+wheel across.
//
// The window passes its events on and acts on the answers:
//   if (gestures_.Press(event->button(), p)) return;        // a drag began
//   if (auto moved = gestures_.Move(p)) view.ScrollBy(-moved->x(), -moved->y());
#include <QPoint>
#include <functional>
#include <optional>

class QFocusEvent;
class QKeyEvent;
class QWheelEvent;
class QWidget;

namespace meridal {

class TViewGestures {
 public:
  // `surface` shows the hand cursors; `restoreCursor` puts the window's own back.
  TViewGestures(QWidget& surface, std::function<void()> restoreCursor);

  // Whether a drag is on, or Space is held for one: the window's own cursor waits.
  bool Active() const { return button_ != Qt::NoButton || spaceHeld_; }
  bool SpaceHeld() const { return spaceHeld_; }

  // A press: true when it began a drag (and is no click). `leftDrags`: the left
  // button drags too (the plan's Pan tool).
  bool Press(Qt::MouseButton button, QPoint at, bool leftDrags = false);
  // The pointer moved: how far since the last move while dragging.
  std::optional<QPoint> Move(QPoint at);
  // A release: true when it ended the drag.
  bool Release(Qt::MouseButton button);
  // Space pressed or let go: true when the key was taken.
  bool Key(const QKeyEvent& event, bool pressed);
  // A Space let go elsewhere never reaches the window.
  void FocusOut();

  // Ctrl+wheel: the whole zoom steps turned so far, positive inwards.
  int ZoomSteps(const QWheelEvent& event);
  // A plain wheel: the pixels to scroll the content by (positive: the content
  // moves right or down, showing what lies left or above). `lineStep` is the
  // pixels of one line.
  static QPoint ScrollPixels(const QWheelEvent& event, int lineStep);

 private:
  QWidget& surface_;
  std::function<void()> restoreCursor_;
  Qt::MouseButton button_ = Qt::NoButton;  // the button that drags
  QPoint last_;
  bool spaceHeld_ = false;
  int wheelZoom_ = 0;  // eighths of a degree not yet turned into zoom steps
};

}  // namespace meridal
