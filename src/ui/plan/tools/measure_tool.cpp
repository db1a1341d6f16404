#include "ui/plan/tools/measure_tool.h"

#include <QPainter>
#include <QPen>
#include <QWidget>

#include "document/document.h"
#include "graphics/scale_draw.h"
#include "measure/track_distance.h"
#include "ui/plan/tools/readout_box.h"

namespace meridal {

namespace {

QPointF ToWindow(const TScaleDraw& view, QPointF world) {
  const double ppu = view.PixelsPerUnit();
  return QPointF((world.x() - view.OriginX()) * ppu, (view.OriginY() - world.y()) * ppu);
}

}  // namespace

bool TMeasureTool::Press(const TPlanPointer& p) {
  if (host_.Current() != PlanTool::Measure || p.button != Qt::LeftButton) return false;
  from_ = p.world;
  to_ = p.world;
  pointer_ = p.pixel;
  along_ = p.modifiers & Qt::AltModifier;
  dragging_ = true;
  host_.ToolChanged();
  return true;
}

bool TMeasureTool::Move(const TPlanPointer& p) {
  if (!dragging_) return false;
  to_ = p.world;
  pointer_ = p.pixel;
  along_ = p.modifiers & Qt::AltModifier;
  host_.ToolChanged();
  return true;
}

bool TMeasureTool::Release(const TPlanPointer& p) {
  if (!dragging_) return false;
  if (p.button == Qt::LeftButton) dragging_ = false;
  host_.ToolChanged();
  return true;
}

bool TMeasureTool::Cancel() {
  if (!from_) return false;
  Clear();
  host_.ToolChanged();
  return true;
}

void TMeasureTool::Clear() {
  from_.reset();
  dragging_ = false;
}

QString TMeasureTool::Text(const TTrack& track) const {
  if (!from_) return {};
  const TStraightMeasure straight = MeasureStraight(from_->x(), from_->y(), to_.x(), to_.y());
  if (along_) {
    if (const auto along = TTrackDistance(track).Between(from_->x(), from_->y(), to_.x(), to_.y()))
      return QString::fromStdString(AlongMeasureText(*along, straight));
  }
  return QString::fromStdString(StraightMeasureText(straight));
}

QString TMeasureTool::Status() const {
  if (host_.Current() != PlanTool::Measure) return {};
  const QString reading = Text(host_.Document().Track());
  return reading.isEmpty() ? QStringLiteral("Measure: drag in the plan (Alt: along the track)")
                           : QStringLiteral("Measure: ") + reading;
}

void TMeasureTool::Paint(QPainter& painter) const {
  if (!from_) return;
  const TScaleDraw& view = host_.Scale();
  const QPointF a = ToWindow(view, *from_), b = ToWindow(view, to_);
  QPolygonF line{a, b};
  if (along_) {
    // The path along the track that was measured, not the straight line.
    const TTrack& track = host_.Document().Track();
    const auto path = TTrackDistance(track).Path(from_->x(), from_->y(), to_.x(), to_.y());
    if (!path.empty()) {
      line.clear();
      for (const auto& [x, y] : path) line << ToWindow(view, QPointF(x, y));
    }
  }
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  // A white line under a dark one shows on every surface colour.
  painter.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPolyline(line);
  painter.setPen(QPen(along_ ? QColor(0, 90, 200) : QColor(200, 0, 90), 2, Qt::SolidLine, Qt::RoundCap,
                      Qt::RoundJoin));
  painter.drawPolyline(line);
  if (along_) {
    // The two points measured from, joined to their places on the track.
    painter.setPen(QPen(QColor(0, 90, 200), 1, Qt::DotLine));
    painter.drawLine(a, line.front());
    painter.drawLine(b, line.back());
  }
  painter.setPen(QPen(QColor(90, 90, 90), 1));
  painter.setBrush(Qt::white);
  for (const QPointF& p : {a, b}) painter.drawEllipse(p, 3.5, 3.5);
  painter.restore();
  // The result beside the pointer, where the eye is.
  DrawReadout(painter, Text(host_.Document().Track()), pointer_, host_.Surface().rect());
}

}  // namespace meridal
