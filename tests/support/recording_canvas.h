#pragma once
// A canvas for tests: records every call as one line of text, keeps the current
// pen and brush, and keeps the polygons with the pen and brush they were drawn with.
//   "pen 255,0,0"  "pen 128,128,128 pal"  "width 3"  "brush 0,128,0"  "style cross"
//   "move 10,20"  "line 30,40"  "polygon 1,2 3,4 5,6"  "rect 0,0,10,10"
//   "text 10,20 left Trace 0" (measured at 7 x 13 pixels a character)
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace meridal::testing {

inline std::string ColorText(TColor c) {
  std::string text = std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
  return c.paletteRelative ? text + " pal" : text;
}

inline const char* StyleText(BrushStyle s) {
  switch (s) {
    case BrushStyle::Solid: return "solid";
    case BrushStyle::FDiagonal: return "fdiag";
    case BrushStyle::BDiagonal: return "bdiag";
    case BrushStyle::Cross: return "cross";
  }
  return "?";
}

class RecordingCanvas : public ICanvas {
 public:
  struct Filled {
    std::vector<TPoint> points;
    TColor pen;
    int penWidth;
    TColor brush;
    BrushStyle style;
  };

  RecordingCanvas(int width = 700, int height = 400) : width_(width), height_(height) {}

  // Every call since construction or the last Clear().
  std::vector<std::string> log;
  std::vector<Filled> polygons;
  // Current state; a fresh canvas has the state every drawing operation leaves.
  TColor pen{0, 0, 0};
  int penWidth = 1;
  TColor brush{255, 255, 255};
  BrushStyle style = BrushStyle::Solid;

  void Clear() {
    log.clear();
    polygons.clear();
  }
  void SetClientSize(int width, int height) {
    width_ = width;
    height_ = height;
  }
  // The state every drawing operation must leave: black pen 1 pixel, white solid brush.
  bool InRestState() const {
    return pen == TColor{0, 0, 0} && penWidth == 1 && brush == TColor{255, 255, 255} && style == BrushStyle::Solid;
  }
  // The log lines that start with `prefix`.
  std::vector<std::string> Lines(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& line : log)
      if (line.rfind(prefix, 0) == 0) out.push_back(line);
    return out;
  }

  void SetPenColor(TColor c) override {
    pen = c;
    log.push_back("pen " + ColorText(c));
  }
  void SetPenWidth(int width) override {
    penWidth = width;
    log.push_back("width " + std::to_string(width));
  }
  void SetBrushColor(TColor c) override {
    brush = c;
    log.push_back("brush " + ColorText(c));
  }
  void SetBrushStyle(BrushStyle s) override {
    style = s;
    log.push_back(std::string("style ") + StyleText(s));
  }
  void MoveTo(int32_t x, int32_t y) override { log.push_back("move " + Xy(x, y)); }
  void LineTo(int32_t x, int32_t y) override { log.push_back("line " + Xy(x, y)); }
  void Polygon(const TPoint* points, int count) override {
    std::string line = "polygon";
    Filled filled{{}, pen, penWidth, brush, style};
    for (int i = 0; i < count; ++i) {
      line += " " + Xy(points[i].x, points[i].y);
      filled.points.push_back(points[i]);
    }
    log.push_back(line);
    polygons.push_back(filled);
  }
  void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override {
    log.push_back("rect " + Xy(x1, y1) + "," + Xy(x2, y2));
  }
  void Text(int32_t x, int32_t y, const std::string& utf8, TextAlign align) override {
    const char* side = align == TextAlign::Left ? "left" : align == TextAlign::Center ? "center" : "right";
    log.push_back("text " + Xy(x, y) + " " + side + " " + utf8);
  }
  int ClientWidth() const override { return width_; }
  int ClientHeight() const override { return height_; }

 private:
  static std::string Xy(int32_t x, int32_t y) { return std::to_string(x) + "," + std::to_string(y); }
  int width_, height_;
};

}  // namespace meridal::testing
