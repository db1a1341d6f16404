#include "graphics/qt/painter_canvas.h"

#include "graphics/qt/line_stamps.h"

#include <QBrush>
#include <QPaintEngine>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <QTransform>
#include <QVector>
#include <algorithm>
#include <optional>

namespace meridal {

namespace {

QColor ToQColor(TColor c) { return QColor(c.r, c.g, c.b); }

// How far outside the client area a rectangle may reach once clamped: more than
// any pen is wide, so a clamped edge is never seen.
constexpr int64_t kRectMargin = 64;

}  // namespace

TPainterCanvas::TPainterCanvas(QPainter& painter, QSize clientSize, bool smooth)
    : painter_(painter), size_(clientSize), smooth_(smooth) {
  painter_.setRenderHint(QPainter::Antialiasing, smooth_);
  painter_.setBackgroundMode(Qt::TransparentMode);
  vector_ = painter_.paintEngine() && painter_.paintEngine()->type() == QPaintEngine::SVG;
  penDirty_ = brushDirty_ = true;
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

// The drawing sets its pen and brush far more often than it changes them (every
// strip ends by going back to black and white): the painter is only told when a
// draw call needs a state that differs from the one it holds.
void TPainterCanvas::ApplyPen() {
  if (!penDirty_) return;
  painter_.setPen(CurrentPen());
  penDirty_ = false;
}

const QPen& TPainterCanvas::CurrentPen() {
  if (currentPen_) return *currentPen_;
  // A zoomed-out track switches between a few pens thousands of times: each is
  // made once and handed over as it is.
  const int width = std::max(penWidth_, 1);
  const uint64_t key = (uint64_t{penColor_.rgb()} << 32) | static_cast<uint32_t>(width);
  auto it = pens_.find(key);
  if (it == pens_.end())
    it = pens_.emplace(key, QPen(penColor_, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)).first;
  currentPen_ = &it->second;
  return *currentPen_;
}

void TPainterCanvas::ApplyBrush() {
  if (!brushDirty_) return;
  if (brushStyle_ == BrushStyle::Solid) painter_.setBrush(brushColor_);
  else if (vector_) painter_.setBrush(QBrush(brushColor_, QtStyle(brushStyle_)));
  else painter_.setBrush(HatchBrush(brushColor_, brushStyle_));
  brushDirty_ = false;
}

// A hatch as a texture: Qt's own 8 x 8 pattern in the hatch colour on a
// transparent tile, made once per colour and style. The painter takes a texture
// as it is, where a pattern brush has its tile rebuilt at every brush change; the
// pixels drawn are the same, the tile being aligned to the same origin.
const QBrush& TPainterCanvas::HatchBrush(const QColor& colour, BrushStyle style) {
  const uint64_t key = (uint64_t{colour.rgb()} << 8) | static_cast<uint64_t>(style);
  auto it = hatches_.find(key);
  if (it != hatches_.end()) return it->second;
  QImage tile(8, 8, QImage::Format_ARGB32_Premultiplied);
  tile.fill(Qt::transparent);
  {
    QPainter tilePainter(&tile);
    tilePainter.fillRect(tile.rect(), QBrush(colour, QtStyle(style)));
  }
  return hatches_.emplace(key, QBrush(tile)).first->second;
}

void TPainterCanvas::SetPenColor(TColor c) {
  const QColor colour = ToQColor(c);
  if (colour == penColor_) return;
  penDirty_ = true;
  currentPen_ = nullptr;
  penColor_ = colour;
}

void TPainterCanvas::SetPenWidth(int width) {
  if (width == penWidth_) return;
  penDirty_ = true;
  currentPen_ = nullptr;
  penWidth_ = width;
}

void TPainterCanvas::SetBrushColor(TColor c) {
  const QColor colour = ToQColor(c);
  brushDirty_ = brushDirty_ || colour != brushColor_;
  brushColor_ = colour;
}

void TPainterCanvas::SetBrushStyle(BrushStyle s) {
  brushDirty_ = brushDirty_ || s != brushStyle_;
  brushStyle_ = s;
}

void TPainterCanvas::MoveTo(int32_t x, int32_t y) { current_ = QPoint(x, y); }

void TPainterCanvas::LineTo(int32_t x, int32_t y) {
  ApplyPen();
  const QPoint to(x, y);
  painter_.drawLine(current_, to);
  current_ = to;
}

void TPainterCanvas::Polylines(const TPoint* points, const int* sizes, int count) {
  if (penWidth_ > 1) {  // wider pens: line by line, as LineTo draws them
    ICanvas::Polylines(points, sizes, count);
    return;
  }
  // Short lines go into the pixels as stamps where they can, the others to the
  // painter; in their order, as a stamp may cover a line drawn before it.
  const QPen& pen = CurrentPen();
  const TLineStamps::Target* target = StampTarget();
  TLineStamps* stamps = target && TLineStamps::Suits(pen) ? &TLineStamps::ForThread(smooth_) : nullptr;
  const uint32_t colour = 0xff000000u | penColor_.rgb();
  lines_.clear();
  const auto drawHeld = [&] {
    if (lines_.isEmpty()) return;
    ApplyPen();
    painter_.drawLines(lines_.constData(), static_cast<int>(lines_.size()));
    lines_.clear();
  };
  for (int i = 0; i < count; points += sizes[i++]) {
    if (sizes[i] <= 0) continue;
    for (int k = 1; k < sizes[i]; ++k) {
      const TPoint a = points[k - 1], b = points[k];
      if (const TLineStamps::Stamp* stamp = stamps ? stamps->Find(*target, pen, a.x, a.y, b.x, b.y) : nullptr) {
        drawHeld();
        stamps->Put(*target, *stamp, colour, a.x, a.y);
      } else {
        lines_.append(QLine(a.x, a.y, b.x, b.y));
      }
    }
    current_ = QPoint(points[sizes[i] - 1].x, points[sizes[i] - 1].y);
  }
  drawHeld();
}

void TPainterCanvas::Polygon(const TPoint* points, int count) {
  if (points == nullptr || count <= 0) return;
  ApplyPen();
  ApplyBrush();
  polygon_.resize(count);
  for (int i = 0; i < count; ++i) polygon_[i] = QPoint(points[i].x, points[i].y);
  painter_.drawPolygon(polygon_.constData(), count, Qt::OddEvenFill);
}

void TPainterCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  // Clamped near the client area first, so that the width and height of a
  // rectangle spanning the 32-bit range cannot overflow.
  const auto clampX = [&](int64_t v) { return std::clamp<int64_t>(v, -kRectMargin, size_.width() + kRectMargin); };
  const auto clampY = [&](int64_t v) { return std::clamp<int64_t>(v, -kRectMargin, size_.height() + kRectMargin); };
  const int64_t left = clampX(std::min(x1, x2)), right = clampX(std::max(x1, x2));
  const int64_t top = clampY(std::min(y1, y2)), bottom = clampY(std::max(y1, y2));
  if (right <= left || bottom <= top) return;
  ApplyPen();
  ApplyBrush();
  // A stroked QRect covers one pixel more than its size; this one covers
  // left .. right - 1 and top .. bottom - 1. Smoothed, its outline would spill
  // half a pixel beyond them.
  if (smooth_) painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.drawRect(QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left - 1),
                          static_cast<int>(bottom - top - 1)));
  if (smooth_) painter_.setRenderHint(QPainter::Antialiasing, true);
}

// The runs of a profile come by the ten thousand. On a plain image, unclipped and
// at most scaled (the screen's pixel ratio), they are written straight into its
// pixels; anywhere else each is a filled rectangle. Both cover the same pixels.
void TPainterCanvas::VerticalRuns(int32_t x, const TRun* runs, int count) {
  if (runs == nullptr || count <= 0) return;
  const int64_t spread = (std::max(penWidth_, 1) - 1) / 2;
  const auto clampY = [&](int64_t v) { return std::clamp<int64_t>(v, -kRectMargin, size_.height() + kRectMargin); };
  QImage* image = WritableImage();
  const QTransform toDevice = painter_.deviceTransform();
  const QRgb colour = penColor_.rgb();
  for (int i = 0; i < count; ++i) {
    const int64_t top = clampY(int64_t{std::min(runs[i].top, runs[i].bottom)} - spread);
    const int64_t bottom = clampY(int64_t{std::max(runs[i].top, runs[i].bottom)} + spread);
    const QRect rect(static_cast<int>(int64_t{x} + i - spread), static_cast<int>(top), static_cast<int>(2 * spread + 1),
                     static_cast<int>(bottom - top + 1));
    if (!image) {
      painter_.fillRect(rect, penColor_);
      continue;
    }
    const QRect pixels = toDevice.mapRect(QRectF(rect)).toAlignedRect() & image->rect();
    for (int row = pixels.top(); row <= pixels.bottom(); ++row) {
      QRgb* line = reinterpret_cast<QRgb*>(image->scanLine(row));
      std::fill(line + pixels.left(), line + pixels.right() + 1, colour);
    }
  }
}

QImage* TPainterCanvas::WritableImage() const {
  QPaintDevice* device = painter_.device();
  if (device == nullptr || device->devType() != QInternal::Image) return nullptr;
  auto* image = static_cast<QImage*>(device);
  const QImage::Format format = image->format();
  const bool plain = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
                     format == QImage::Format_ARGB32_Premultiplied;
  // A shared image would be copied by the first write, away from the painter.
  if (!plain || !image->isDetached() || painter_.hasClipping() || painter_.opacity() < 1 ||
      painter_.compositionMode() != QPainter::CompositionMode_SourceOver ||
      painter_.deviceTransform().type() > QTransform::TxScale)
    return nullptr;
  return image;
}

const TLineStamps::Target* TPainterCanvas::StampTarget() {
  // The image, its format and the transform are the painter's from the start; a
  // clip comes and goes (the window's redraw of a box).
  if (!stampTargetKnown_) {
    QPaintDevice* device = painter_.device();
    auto* image = device && device->devType() == QInternal::Image ? static_cast<QImage*>(device) : nullptr;
    const bool suits = image && TLineStamps::Suits(*image) && image->isDetached() && painter_.opacity() >= 1 &&
                       painter_.compositionMode() == QPainter::CompositionMode_SourceOver &&
                       painter_.deviceTransform().type() == QTransform::TxNone;
    stampTarget_ = suits ? std::optional(TLineStamps::Target(*image)) : std::nullopt;
    stampTargetKnown_ = true;
  }
  if (!stampTarget_ || painter_.hasClipping() || painter_.testRenderHint(QPainter::Antialiasing) != smooth_)
    return nullptr;
  return &*stampTarget_;
}

void TPainterCanvas::Text(int32_t x, int32_t y, const std::string& utf8, TextAlign align) {
  ApplyPen();
  const QString text = QString::fromStdString(utf8);
  const QFontMetrics metrics(painter_.font());
  const int width = metrics.horizontalAdvance(text);
  const int left = align == TextAlign::Left ? x : align == TextAlign::Center ? x - width / 2 : x - width;
  painter_.drawText(QPoint(left, y + (metrics.ascent() - metrics.descent()) / 2), text);
}

int TPainterCanvas::TextWidth(const std::string& utf8) const {
  return QFontMetrics(painter_.font()).horizontalAdvance(QString::fromStdString(utf8));
}

int TPainterCanvas::TextHeight() const { return QFontMetrics(painter_.font()).height(); }

}  // namespace meridal
