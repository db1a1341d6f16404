#pragma once
// The plan view's measuring tool (M, the toolbar's or the popup's Measure): a
// left drag draws a line and gives its straight length and bearing; with Alt
// held it gives the distance along the track between the line's two ends, and
// draws the path it measured along the track's zero line. The result shows
// beside the pointer and in the status bar. The line stays shown until the next
// drag or until the tool is left; Escape drops it.
#include <QPointF>
#include <QString>
#include <optional>

#include "ui/plan/tools/plan_tool.h"

namespace meridal {

class TTrack;

class TMeasureTool : public TPlanTool {
 public:
  using TPlanTool::TPlanTool;

  bool Press(const TPlanPointer& p) override;
  bool Move(const TPlanPointer& p) override;
  bool Release(const TPlanPointer& p) override;
  void Paint(QPainter& painter) const override;
  bool Cancel() override;
  bool Busy() const override { return dragging_; }
  QString Status() const override;

  void Clear();
  bool Dragging() const { return dragging_; }
  bool HasLine() const { return from_.has_value(); }
  // The text of the line on this track; empty without a line.
  QString Text(const TTrack& track) const;

 private:
  std::optional<QPointF> from_;
  QPointF to_;
  QPoint pointer_;
  bool along_ = false;
  bool dragging_ = false;
};

}  // namespace meridal
