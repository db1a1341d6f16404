#pragma once
// The plan view's measuring tool (M, or the popup's Measure): a left drag draws
// a line and the status bar gives its straight length and bearing; with Alt held
// it gives the distance along the track between the line's two ends instead.
// The line stays shown until the next drag or until the tool is left.
#include <QPointF>
#include <QString>
#include <optional>

class QPainter;

namespace meridal {

class TScaleDraw;
class TTrack;

class TMeasureTool {
 public:
  // A press at a world point begins a line.
  void Begin(QPointF world, bool along);
  // The pointer moved to a world point while dragging; Alt may come and go.
  void Drag(QPointF world, bool along);
  void End() { dragging_ = false; }
  void Clear();
  bool Dragging() const { return dragging_; }
  bool HasLine() const { return from_.has_value(); }

  // The status text of the line on this track; empty without a line.
  QString Text(const TTrack& track) const;
  // The line with its end marks over the plan, in window pixels.
  void Paint(QPainter& painter, const TScaleDraw& view) const;

 private:
  std::optional<QPointF> from_;
  QPointF to_;
  bool along_ = false;
  bool dragging_ = false;
};

}  // namespace meridal
