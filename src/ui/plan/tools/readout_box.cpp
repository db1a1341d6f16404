#include "ui/plan/tools/readout_box.h"

#include <QPainter>
#include <QPainterPath>

namespace meridal {

QRect PlaceReadout(QSize size, QPoint pointer, const QRect& area, const QPolygon& avoid) {
  const int gap = 18;
  const QRect candidates[] = {
      QRect(pointer + QPoint(gap, gap), size),
      QRect(pointer + QPoint(-gap - size.width(), gap), size),
      QRect(pointer + QPoint(gap, -gap - size.height()), size),
      QRect(pointer + QPoint(-gap - size.width(), -gap - size.height()), size),
      QRect(area.topLeft() + QPoint(8, 8), size),
      QRect(QPoint(area.right() - 8 - size.width(), area.top() + 8), size),
      QRect(QPoint(area.left() + 8, area.bottom() - 8 - size.height()), size),
      QRect(area.bottomRight() - QPoint(8, 8) - QPoint(size.width(), size.height()), size),
  };
  QPainterPath section;
  section.addPolygon(avoid);
  section.closeSubpath();
  for (const QRect& box : candidates)
    if (area.contains(box) && (avoid.isEmpty() || !section.intersects(QRectF(box)))) return box;
  // Nowhere clear: beside the pointer, within the window.
  QRect box = candidates[0];
  if (box.right() > area.right()) box.moveRight(pointer.x() - gap);
  if (box.bottom() > area.bottom()) box.moveBottom(pointer.y() - gap);
  return box;
}

void DrawReadout(QPainter& painter, const QString& text, QPoint pointer, const QRect& area, const QPolygon& avoid) {
  painter.save();
  const QFontMetrics metrics = painter.fontMetrics();
  const QRect box = metrics.boundingRect(QRect(0, 0, 600, 200), Qt::AlignLeft, text).adjusted(-6, -4, 6, 4);
  const QRect placed = PlaceReadout(box.size(), pointer, area, avoid);
  painter.setPen(QColor(90, 90, 90));
  painter.setBrush(QColor(255, 255, 225, 235));
  painter.drawRect(placed);
  painter.setPen(Qt::black);
  painter.drawText(placed.adjusted(6, 4, -6, -4), Qt::AlignLeft, text);
  painter.restore();
}

}  // namespace meridal
