#pragma once
// A number typed while a handle is dragged or a section drawn: the digits go
// into the entry, Backspace takes the last back, Escape drops the number (the
// pointer leads again), and the tool sets the dragged value to it exactly on
// Enter. A bare number reads in metres for a length and in degrees for an angle;
// a unit after it ("15 cm", "0.5 rad") is read as the value dialogs read it.
#include <QString>
#include <optional>

#include "shape/handle_geometry.h"

class QKeyEvent;

namespace meridal {

class TTypedEntry {
 public:
  // A key during the drag: true when it was the entry's.
  bool Key(const QKeyEvent& event);
  bool Empty() const { return text_.isEmpty(); }
  const QString& Text() const { return text_; }
  void Clear() { text_.clear(); }
  // The number in the drag's quantity: track units for a length, radians for an
  // angle; nothing while it does not read as one.
  std::optional<double> Value(shape::Typed kind) const;
  // "Typed: 150 m", for the read-out; empty without a number.
  QString Line(shape::Typed kind) const;

 private:
  QString text_;
};

}  // namespace meridal
