#pragma once
// The lap's line drawn over the plan, coloured by its speeds (blue slow to red
// fast), with the scale in the plan's top right corner; greyed while the track
// changed since the lap was driven. It belongs to the plan window, which the
// frame gives each lap while View > Racing Line is on.
//
//   overlay.SetLap(runner.Result(), runner.Stale());
//   overlay.Paint(painter, scaleDraw);   // after the track, in window pixels
#include <memory>

class QPainter;

namespace meridal {

class TScaleDraw;
struct TLapResult;

class TSpeedLineOverlay {
 public:
  // nullptr: nothing drawn.
  void SetLap(std::shared_ptr<const TLapResult> result, bool stale);
  bool Shown() const;
  bool Stale() const { return stale_; }

  void Paint(QPainter& painter, const TScaleDraw& view) const;

 private:
  void PaintLegend(QPainter& painter, int width) const;

  std::shared_ptr<const TLapResult> result_;
  bool stale_ = false;
};

}  // namespace meridal
