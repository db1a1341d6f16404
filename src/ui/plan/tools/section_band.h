#pragma once
// The plan view's rubber band: a left drag with Ctrl held in the Select mode
// draws a rectangle, and on the release the sections it touches become the
// selected run. A run is contiguous and never wraps past the last section, so
// the run is the smallest one holding every touched section: from the lowest
// touched number to the highest. A press with Ctrl that never moves past the
// platform's drag distance is a click (the window toggles the section in the
// run, as the tree's Ctrl+click does). Escape drops the band.
#include <QPoint>
#include <QRect>
#include <memory>
#include <optional>

#include "model/section_run.h"

class QRubberBand;
class QWidget;

namespace meridal {

class TScaleDraw;
class TSection;
class TTrack;

class TSectionBand {
 public:
  explicit TSectionBand(QWidget& surface);
  ~TSectionBand();

  // A Ctrl press at a pixel: a band may follow.
  void Press(QPoint at);
  // The pointer moved with the button held: true when the band took the move.
  bool Move(QPoint at);
  // The release: the band's rectangle when it was dragged (then shown no more),
  // nothing when the press stayed a click or there was no press.
  std::optional<QRect> Release(QPoint at);
  // Escape: true when a band was dropped.
  bool Cancel();

  bool Pressed() const { return pressed_; }
  bool Dragging() const { return dragging_; }

 private:
  QRect Rectangle(QPoint at) const { return QRect(from_, at).normalized(); }

  QWidget& surface_;
  std::unique_ptr<QRubberBand> band_;
  QPoint from_;
  bool pressed_ = false, dragging_ = false;
};

// The sections whose bodies (between their outermost walls, as the outline is
// drawn; a section of fewer than two walls by its box) meet a rectangle of
// window pixels, as the smallest run holding them all; empty when none does.
TSectionRun SectionsTouched(const TTrack& track, const TScaleDraw& view, const QRect& pixels);

// A point of a section's zero line two fifths along, in window pixels: where a
// click selects the section, clear of the handles at its middle and its end.
QPoint SectionClickPoint(const TSection& section, const TScaleDraw& view);

}  // namespace meridal
