#pragma once
// The centreline a track was fitted to, drawn over the plan as a thin closed
// line so that the fit can be judged against its source. It belongs to the plan
// window, not to the track: nothing of it is saved, and it goes with the window.
// The frame switches it off at the document's first change of the track, as the
// track then no longer is the fit of that line (View > Centreline Overlay shows
// it again).
#include <QPointF>
#include <vector>

class QPainter;

namespace meridal {

class TScaleDraw;

class TCentrelineOverlay {
 public:
  // The source points in track units, as the track lies; shown at once.
  void SetLine(std::vector<QPointF> points);
  bool HasLine() const { return points_.size() >= 2; }
  const std::vector<QPointF>& Line() const { return points_; }
  bool Visible() const { return visible_ && HasLine(); }
  void SetVisible(bool visible) { visible_ = visible; }
  // The document changed its track: the first change since SetLine switches the
  // line off (true then), later ones leave it as the user set it.
  bool TrackChanged();

  // Over the plan in window pixels: a closed polyline one pixel wide.
  void Paint(QPainter& painter, const TScaleDraw& view) const;

 private:
  std::vector<QPointF> points_;
  bool visible_ = false;
  bool fitted_ = false;  // the track is still the line's fit, unchanged
};

}  // namespace meridal
