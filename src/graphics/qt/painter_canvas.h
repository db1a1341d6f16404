#pragma once
// TPainterCanvas: the track drawing's canvas painted with a QPainter, on a widget
// or on a QImage (ARGB32 or RGB32). Pen widths are in pixels; hatched brushes are
// Qt's standard patterns drawn over a transparent background, so the pixels
// between their lines keep what was there:
//   Solid -> Qt::SolidPattern, FDiagonal "\\\" -> Qt::FDiagPattern,
//   BDiagonal "///" -> Qt::BDiagPattern, Cross -> Qt::CrossPattern.
// Palette-relative colours are drawn as their plain RGB value.
//
// Usage (e.g. rendering a PNG):
//   QImage image(size, QImage::Format_ARGB32); image.fill(Qt::white);
//   QPainter painter(&image);
//   TPainterCanvas canvas(painter, image.size());
//   ... TTrackPainter(track).Draw(scaleDraw, viewFlags, selection) with a draw
//   window whose Canvas() is this
//
// The canvas starts with a black pen 1 pixel wide and a white solid brush, the
// state every drawing operation of the track leaves behind. It sets the painter's
// antialiasing (off unless asked to draw smoothly: the exact colours are the
// default) and its background mode to transparent. Rectangles are axis-aligned
// and always drawn without antialiasing, so a blanked box covers exactly its
// pixels. Text is drawn in the painter's font, which needs a QGuiApplication. Coordinates
// anywhere in the 32-bit range are accepted (a zoomed-in view hands over points
// far outside the client area; the painter clips them).
#include <QBrush>
#include <QColor>
#include <QPen>
#include <optional>
#include <unordered_map>
#include <QLine>
#include <QPoint>
#include <QSize>
#include <QVector>

#include "graphics/qt/line_stamps.h"
#include "platform/canvas.h"

class QImage;
class QPainter;

namespace meridal {

class TPainterCanvas : public ICanvas {
 public:
  TPainterCanvas(QPainter& painter, QSize clientSize, bool smooth = false);

  void SetPenColor(TColor c) override;
  void SetPenWidth(int width) override;
  void SetBrushColor(TColor c) override;
  void SetBrushStyle(BrushStyle s) override;
  void MoveTo(int32_t x, int32_t y) override;
  // Draws from the current position to (x, y), which becomes the current position.
  void LineTo(int32_t x, int32_t y) override;
  // Where the pen is 1 pixel wide, the short lines are put into a plain image's
  // pixels as the stamps of TLineStamps (the painter's own pixels, without its
  // setup for every line) and the others go to the painter in one call (its lines
  // are drawn one by one all the same, so the pixels do not change).
  void Polylines(const TPoint* points, const int* sizes, int count) override;
  // Filled with the even-odd rule, then outlined with the pen.
  void Polygon(const TPoint* points, int count) override;
  // Covers x1 .. x2 - 1 and y1 .. y2 - 1: the right and bottom edges are excluded.
  void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
  void VerticalRuns(int32_t x, const TRun* runs, int count) override;
  void Text(int32_t x, int32_t y, const std::string& utf8, TextAlign align) override;
  int TextWidth(const std::string& utf8) const override;
  int TextHeight() const override;
  int ClientWidth() const override { return size_.width(); }
  int ClientHeight() const override { return size_.height(); }

  static Qt::BrushStyle QtStyle(BrushStyle s);

 private:
  void ApplyPen();
  void ApplyBrush();
  // The pen the painter gets for the current colour and width.
  const QPen& CurrentPen();
  const QBrush& HatchBrush(const QColor& colour, BrushStyle style);
  // The image the painter draws on, when its pixels may be written directly.
  QImage* WritableImage() const;
  // The same, when its pixels are the canvas's pixels one for one and blend as
  // the stamps of lines assume, and nothing clips: the pixels lines are stamped
  // into. Decided at the first line: the painter keeps its device and transform
  // while the canvas draws.
  const TLineStamps::Target* StampTarget();

  QPainter& painter_;
  QSize size_;
  bool smooth_;
  // Drawing into an SVG file: hatches as the file's own patterns, which the
  // SVG writer makes of Qt's pattern brushes but not of a texture.
  bool vector_ = false;
  QColor penColor_{0, 0, 0};
  int penWidth_ = 1;
  QColor brushColor_{255, 255, 255};
  BrushStyle brushStyle_ = BrushStyle::Solid;
  QPoint current_;
  bool penDirty_ = true;
  bool brushDirty_ = true;
  QVector<QPoint> polygon_;  // reused by every polygon
  QVector<QLine> lines_;     // reused by every batch of polylines
  std::unordered_map<uint64_t, QBrush> hatches_;  // hatch textures by colour and style
  std::unordered_map<uint64_t, QPen> pens_;       // pens by colour and width
  const QPen* currentPen_ = nullptr;              // in pens_, for the current colour and width
  std::optional<TLineStamps::Target> stampTarget_;
  bool stampTargetKnown_ = false;
};

}  // namespace meridal
