#include "ui/plan/centreline_overlay.h"

#include <QPainter>
#include <QPolygonF>

#include "graphics/scale_draw.h"

namespace meridal {

void TCentrelineOverlay::SetLine(std::vector<QPointF> points) {
  points_ = std::move(points);
  visible_ = fitted_ = HasLine();
}

bool TCentrelineOverlay::TrackChanged() {
  if (!fitted_) return false;
  fitted_ = visible_ = false;
  return true;
}

void TCentrelineOverlay::Paint(QPainter& painter, const TScaleDraw& view) const {
  if (!Visible()) return;
  // Not through ToWindowX/Y: their truncation would make a zoomed-in line step.
  const double ppu = view.PixelsPerUnit();
  QPolygonF line;
  line.reserve(static_cast<qsizetype>(points_.size()) + 1);
  for (const QPointF& p : points_) line << QPointF((p.x() - view.OriginX()) * ppu, (view.OriginY() - p.y()) * ppu);
  line << line.front();  // the loop is closed implicitly
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  QPen pen(QColor(230, 0, 140));
  pen.setWidthF(1.0);
  pen.setCosmetic(true);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.drawPolyline(line);
  painter.restore();
}

}  // namespace meridal
