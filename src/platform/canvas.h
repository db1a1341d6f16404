#pragma once
// A drawing surface in window pixels. The Qt adapter paints with QPainter; tests
// record every call.
#include <cstdint>
#include <string>

namespace meridal {

struct TColor {
  uint8_t r = 0, g = 0, b = 0;
  // Requested palette-relative (nearest palette entry on palette displays); the
  // plain RGB colour everywhere else.
  bool paletteRelative = false;
  friend bool operator==(const TColor&, const TColor&) = default;
};

enum class BrushStyle {
  Solid,
  FDiagonal,  // forward diagonal hatch "\\\": lines from top-left to bottom-right
  BDiagonal,  // backward diagonal hatch "///": lines from bottom-left to top-right
  Cross,      // horizontal and vertical lines
};

// Where a text stands against the x it is given; y is always the text's middle.
enum class TextAlign { Left, Center, Right };

// A vertical run of pixels, top and bottom included.
struct TRun {
  int32_t top = 0, bottom = 0;
};

struct TPoint {
  int32_t x = 0, y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

class ICanvas {
 public:
  virtual ~ICanvas() = default;
  virtual void SetPenColor(TColor c) = 0;
  virtual void SetPenWidth(int width) = 0;
  virtual void SetBrushColor(TColor c) = 0;
  // A hatched brush paints only its lines, leaving the pixels between them as they were.
  virtual void SetBrushStyle(BrushStyle s) = 0;
  virtual void MoveTo(int32_t x, int32_t y) = 0;
  virtual void LineTo(int32_t x, int32_t y) = 0;
  // `count` polylines one after the other in `points`, the i-th of sizes[i]
  // points: for each, a move to its first point and lines through the others.
  // The pixels are exactly those of these moves and lines; a canvas may hand
  // them to the surface in one go, which the drawing of a large track needs.
  virtual void Polylines(const TPoint* points, const int* sizes, int count) {
    for (int i = 0; i < count; points += sizes[i++]) {
      if (sizes[i] <= 0) continue;
      MoveTo(points[0].x, points[0].y);
      for (int k = 1; k < sizes[i]; ++k) LineTo(points[k].x, points[k].y);
    }
  }
  void Polyline(const TPoint* points, int count) { Polylines(points, &count, 1); }
  // Fills the polygon with the brush and outlines it with the pen.
  virtual void Polygon(const TPoint* points, int count) = 0;
  // Fills and outlines the rectangle from (x1, y1) to (x2, y2).
  virtual void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
  // Vertical runs of pixels in the pen's colour, one a column from x on: column
  // x + i covers runs[i].top to runs[i].bottom, both included; a pen wider than
  // a pixel widens every run by as much on each side. A profile of thousands of
  // columns is one call, which a canvas may fill far faster than as many lines.
  virtual void VerticalRuns(int32_t x, const TRun* runs, int count) {
    for (int i = 0; i < count; ++i) {
      MoveTo(x + i, runs[i].top);
      LineTo(x + i, runs[i].bottom);
    }
  }
  // One line of UTF-8 text in the pen's colour, its middle at y. A canvas without
  // fonts draws nothing and measures every character as 7 x 13 pixels.
  virtual void Text(int32_t /*x*/, int32_t /*y*/, const std::string& /*utf8*/, TextAlign /*align*/) {}
  virtual int TextWidth(const std::string& utf8) const { return 7 * static_cast<int>(utf8.size()); }
  virtual int TextHeight() const { return 13; }
  // Limits the drawing to the pixels Rectangle(x1, y1, x2, y2) would fill, until
  // ClipOff. A canvas whose picture is always drawn whole may ignore both.
  virtual void ClipTo(int32_t /*x1*/, int32_t /*y1*/, int32_t /*x2*/, int32_t /*y2*/) {}
  virtual void ClipOff() {}
  virtual int ClientWidth() const = 0;
  virtual int ClientHeight() const = 0;
};

}  // namespace meridal
