#include "graphics/qt/painter_canvas.h"

#include <QBrush>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <QVector>
#include <algorithm>

namespace meridal {

namespace {

QColor ToQColor(TColor c) { return QColor(c.r, c.g, c.b); }

// How far outside the client area a rectangle may reach once clamped: more than
// any pen is wide, so a clamped edge is never seen.
constexpr int64_t kRectMargin = 64;

}  // namespace

TPainterCanvas::TPainterCanvas(QPainter& painter, QSize clientSize) : painter_(painter), size_(clientSize) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setBackgroundMode(Qt::TransparentMode);
  ApplyPen();
  ApplyBrush();
}

Qt::BrushStyle TPainterCanvas::QtStyle(BrushStyle s) {
  switch (s) {
    case BrushStyle::Solid: return Qt::SolidPattern;
    case BrushStyle::FDiagonal: return Qt::FDiagPattern;
    case BrushStyle::BDiagonal: return Qt::BDiagPattern;
    case BrushStyle::Cross: return Qt::CrossPattern;
  }
  return Qt::SolidPattern;
}

void TPainterCanvas::ApplyPen() {
  painter_.setPen(QPen(penColor_, std::max(penWidth_, 1), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void TPainterCanvas::ApplyBrush() { painter_.setBrush(QBrush(brushColor_, QtStyle(brushStyle_))); }

void TPainterCanvas::SetPenColor(TColor c) {
  penColor_ = ToQColor(c);
  ApplyPen();
}

void TPainterCanvas::SetPenWidth(int width) {
  penWidth_ = width;
  ApplyPen();
}

void TPainterCanvas::SetBrushColor(TColor c) {
  brushColor_ = ToQColor(c);
  ApplyBrush();
}

void TPainterCanvas::SetBrushStyle(BrushStyle s) {
  brushStyle_ = s;
  ApplyBrush();
}

void TPainterCanvas::MoveTo(int32_t x, int32_t y) { current_ = QPoint(x, y); }

void TPainterCanvas::LineTo(int32_t x, int32_t y) {
  const QPoint to(x, y);
  painter_.drawLine(current_, to);
  current_ = to;
}

void TPainterCanvas::Polygon(const TPoint* points, int count) {
  if (points == nullptr || count <= 0) return;
  QVector<QPoint> polygon;
  polygon.reserve(count);
  for (int i = 0; i < count; ++i) polygon.append(QPoint(points[i].x, points[i].y));
  painter_.drawPolygon(polygon.constData(), count, Qt::OddEvenFill);
}

void TPainterCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  // Clamped near the client area first, so that the width and height of a
  // rectangle spanning the 32-bit range cannot overflow.
  const auto clampX = [&](int64_t v) { return std::clamp<int64_t>(v, -kRectMargin, size_.width() + kRectMargin); };
  const auto clampY = [&](int64_t v) { return std::clamp<int64_t>(v, -kRectMargin, size_.height() + kRectMargin); };
  const int64_t left = clampX(std::min(x1, x2)), right = clampX(std::max(x1, x2));
  const int64_t top = clampY(std::min(y1, y2)), bottom = clampY(std::max(y1, y2));
  if (right <= left || bottom <= top) return;
  // A stroked QRect covers one pixel more than its size; this one covers
  // left .. right - 1 and top .. bottom - 1.
  painter_.drawRect(QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left - 1),
                          static_cast<int>(bottom - top - 1)));
}

}  // namespace meridal
