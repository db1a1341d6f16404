#include "ui/plan_tools/measure_tool.h"

#include <QPainter>
#include <QPen>

#include "graphics/scale_draw.h"
#include "measure/track_distance.h"

namespace meridal {

namespace {

QPointF ToWindow(const TScaleDraw& view, QPointF world) {
  const double ppu = view.PixelsPerUnit();
  return QPointF((world.x() - view.OriginX()) * ppu, (view.OriginY() - world.y()) * ppu);
}

}  // namespace

void TMeasureTool::Begin(QPointF world, bool along) {
  from_ = world;
  to_ = world;
  along_ = along;
  dragging_ = true;
}

void TMeasureTool::Drag(QPointF world, bool along) {
  if (!dragging_) return;
  to_ = world;
  along_ = along;
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

void TMeasureTool::Paint(QPainter& painter, const TScaleDraw& view) const {
  if (!from_) return;
  const QPointF a = ToWindow(view, *from_), b = ToWindow(view, to_);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  // A white line under a dark one shows on every surface colour.
  painter.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(a, b);
  painter.setPen(QPen(along_ ? QColor(0, 90, 200) : QColor(200, 0, 90), 2, along_ ? Qt::DashLine : Qt::SolidLine,
                      Qt::RoundCap));
  painter.drawLine(a, b);
  painter.setBrush(Qt::white);
  for (const QPointF& p : {a, b}) painter.drawEllipse(p, 3.5, 3.5);
  painter.restore();
}

}  // namespace meridal
