#pragma once
// TProfileView: which stretch of the track the elevation profile shows, and how
// it is coloured. Only the distance axis zooms and pans; the heights always fit
// what is in view. A window keeps one and drives it with its gestures:
//
//   view.SetExtent(TrackDistances(track, SectionStarts(track)));  // after every change
//   view.ZoomAbout(pointerX / plotWidth, true);                    // Ctrl+wheel up
//   view.PanBy(-dragX, plotWidth);                                 // a drag to the right
#include "graphics/profile_sampling.h"

namespace meridal {

class TProfileView {
 public:
  // The distances the track covers. A view that showed the whole track goes on
  // showing all of it; a zoomed view keeps its span and stays inside.
  void SetExtent(TDistanceRange extent);
  void ZoomToFit();
  // One zoom step, x2 in or out, that keeps the distance shown at `fraction` of
  // the width (0 left edge, 1 right edge) where it is. Zooming in stops at a span
  // of one metre, zooming out at the whole track; a step past either is refused.
  bool ZoomAbout(double fraction, bool in);
  // Moves the view by `pixels` of a plot `width` pixels wide: positive shows
  // later distances. The view stays inside the track.
  void PanBy(double pixels, int width);

  double First() const { return first_; }
  double Last() const { return first_ + span_; }
  bool Fitted() const { return fitted_; }

  // Colour the selected trace by its gradient.
  bool SlopeColouring = false;

 private:
  void KeepInside();

  TDistanceRange extent_;
  double first_ = 0, span_ = 0;
  bool fitted_ = true;
};

}  // namespace meridal
