#include "ui/view_gestures.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QWidget>

namespace meridal {

namespace {

constexpr int kWheelNotch = 120;  // eighths of a degree

}  // namespace

TViewGestures::TViewGestures(QWidget& surface, std::function<void()> restoreCursor)
    : surface_(surface), restoreCursor_(std::move(restoreCursor)) {}

bool TViewGestures::Press(Qt::MouseButton button, QPoint at, bool leftDrags) {
  if (button_ != Qt::NoButton) return true;  // another button during a drag is no click either
  if (button != Qt::MiddleButton && !(button == Qt::LeftButton && (spaceHeld_ || leftDrags))) return false;
  button_ = button;
  last_ = at;
  surface_.setCursor(Qt::ClosedHandCursor);
  return true;
}

std::optional<QPoint> TViewGestures::Move(QPoint at) {
  if (button_ == Qt::NoButton) return std::nullopt;
  const QPoint moved = at - last_;
  last_ = at;
  return moved;
}

bool TViewGestures::Release(Qt::MouseButton button) {
  if (button_ == Qt::NoButton || button != button_) return false;
  button_ = Qt::NoButton;
  if (spaceHeld_) surface_.setCursor(Qt::OpenHandCursor);
  else restoreCursor_();
  return true;
}

bool TViewGestures::Key(const QKeyEvent& event, bool pressed) {
  if (event.key() != Qt::Key_Space) return false;
  if (!event.isAutoRepeat() && spaceHeld_ != pressed) {
    spaceHeld_ = pressed;
    if (button_ == Qt::NoButton) pressed ? surface_.setCursor(Qt::OpenHandCursor) : restoreCursor_();
  }
  return true;
}

void TViewGestures::FocusOut() {
  spaceHeld_ = false;
  if (button_ == Qt::NoButton) restoreCursor_();
}

int TViewGestures::ZoomSteps(const QWheelEvent& event) {
  const QPoint angle = event.angleDelta();
  wheelZoom_ += angle.y() != 0 ? angle.y() : angle.x();
  const int steps = wheelZoom_ / kWheelNotch;  // toward zero: what is left over waits
  wheelZoom_ -= steps * kWheelNotch;
  return steps;
}

QPoint TViewGestures::ScrollPixels(const QWheelEvent& event, int lineStep) {
  // A touchpad gives pixels; a wheel gives notches of a few lines each.
  QPoint pixels = event.pixelDelta();
  if (pixels.isNull()) pixels = event.angleDelta() * (QApplication::wheelScrollLines() * lineStep) / kWheelNotch;
  if (event.modifiers() & Qt::ShiftModifier) pixels = QPoint(pixels.y() != 0 ? pixels.y() : pixels.x(), 0);
  return pixels;
}

}  // namespace meridal
