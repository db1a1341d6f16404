#include "ui/lap/speed_line_overlay.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "graphics/scale_draw.h"
#include "graphics/speed_colours.h"
#include "model/units.h"
#include "ui/lap/lap_runner.h"

namespace meridal {

namespace {

constexpr int kShades = 32;  // the line is drawn in runs of one shade each
constexpr double kLineWidth = 3.0;  // pixels

QColor Shade(double speed, double lowest, double top, bool stale) {
  const TColor c = SpeedColour(speed, lowest, top);
  QColor colour(c.r, c.g, c.b);
  // Greyed half way, as the stale lap is everywhere.
  return stale ? QColor((c.r + 170) / 2, (c.g + 170) / 2, (c.b + 170) / 2) : colour;
}

}  // namespace

void TSpeedLineOverlay::SetLap(std::shared_ptr<const TLapResult> result, bool stale) {
  result_ = std::move(result);
  stale_ = stale;
}

bool TSpeedLineOverlay::Shown() const { return result_ && result_->lap.ok && result_->lap.line.points.size() >= 2; }

void TSpeedLineOverlay::Paint(QPainter& painter, const TScaleDraw& view) const {
  if (!Shown()) return;
  const TLap& lap = result_->lap;
  const auto& points = lap.line.points;
  const size_t n = std::min(points.size(), lap.speed.v.size());
  if (n < 2) return;
  // Not through ToWindowX/Y: their truncation would make a zoomed-in line step.
  const double ppu = view.PixelsPerUnit();
  const auto at = [&](size_t i) {
    const auto& p = points[i % n];
    return QPointF((p.x * kUnitsPerMeter - view.OriginX()) * ppu, (view.OriginY() - p.y * kUnitsPerMeter) * ppu);
  };
  const auto shadeOf = [&](size_t i) {
    const double f = lap.topSpeed > lap.lowestSpeed ? (lap.speed.v[i] - lap.lowestSpeed) / (lap.topSpeed - lap.lowestSpeed) : 0.5;
    return std::clamp(int(std::lround(f * (kShades - 1))), 0, kShades - 1);
  };
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setBrush(Qt::NoBrush);
  QPen pen;
  pen.setWidthF(kLineWidth);
  pen.setCosmetic(true);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  // Round the lap in runs of one shade: each step in its first point's.
  QPolygonF run;
  size_t i = 0;
  while (i < n) {
    const int shade = shadeOf(i);
    run.clear();
    run << at(i);
    size_t j = i;
    while (j < n && shadeOf(j) == shade) run << at(++j);
    const double speed = lap.lowestSpeed + (lap.topSpeed - lap.lowestSpeed) * shade / (kShades - 1);
    pen.setColor(Shade(speed, lap.lowestSpeed, lap.topSpeed, stale_));
    painter.setPen(pen);
    painter.drawPolyline(run);
    i = j;
  }
  PaintLegend(painter, view.ClientWidth());
  painter.restore();
}

void TSpeedLineOverlay::PaintLegend(QPainter& painter, int width) const {
  const TLap& lap = result_->lap;
  const QFontMetrics metrics = painter.fontMetrics();
  const QString top = QStringLiteral("%1 km/h").arg(lap.topSpeed * 3.6, 0, 'f', 0);
  const QString lowest = QStringLiteral("%1 km/h").arg(lap.lowestSpeed * 3.6, 0, 'f', 0);
  const QString title = QStringLiteral("Speed");
  const int bar = 14, height = 120, pad = 6;
  const int labels = std::max({metrics.horizontalAdvance(top), metrics.horizontalAdvance(lowest)});
  const int boxWidth = std::max(pad + bar + pad + labels + pad, pad + metrics.horizontalAdvance(title) + pad);
  const int boxHeight = pad + metrics.height() + pad + height + pad;
  const QRect box(width - boxWidth - 10, 10, boxWidth, boxHeight);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QColor(120, 120, 120));
  painter.setBrush(QColor(255, 255, 255, 230));
  painter.drawRect(box);
  painter.setPen(Qt::black);
  painter.drawText(box.left() + pad, box.top() + pad + metrics.ascent(), title);
  const int barTop = box.top() + pad + metrics.height() + pad;
  // Fastest at the top.
  for (int y = 0; y < height; ++y) {
    const double speed = lap.topSpeed - (lap.topSpeed - lap.lowestSpeed) * y / (height - 1);
    painter.setPen(Shade(speed, lap.lowestSpeed, lap.topSpeed, stale_));
    painter.drawLine(box.left() + pad, barTop + y, box.left() + pad + bar - 1, barTop + y);
  }
  painter.setPen(Qt::black);
  const int textX = box.left() + pad + bar + pad;
  painter.drawText(textX, barTop + metrics.ascent(), top);
  painter.drawText(textX, barTop + height, lowest);
}

}  // namespace meridal
