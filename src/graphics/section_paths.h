#pragma once
// The lines of a section as sequences of window pixels. Every line of a section
// (a wall's, a trace's, the zero line) runs through a fixed sequence of world
// points from the section's start cross-section to its end: two points on a
// straight, eleven on an arc (ten chords whatever the size or the zoom). The
// strips, outlines and highlights are built from these lines.
#include <vector>

#include "platform/canvas.h"

namespace meridal {

class TCurvedSection;
class TScaleDraw;
class TSection;
class TStraightSection;

using PixelPath = std::vector<TPoint>;

class SectionPaths {
 public:
  virtual ~SectionPaths() = default;
  virtual PixelPath WallLine(int k) const = 0;
  virtual PixelPath TraceLine(int j) const = 0;
  virtual PixelPath ZeroLine() const = 0;
  // The closed path around the band between walls a and b.
  virtual PixelPath Outline(int a, int b) const = 0;
  // The polygon of strip i: wall i's line forward, then wall i + 1's backward.
  PixelPath Strip(int i) const;
};

// A straight: wall k runs from its FromPoint to its ToPoint moved by the span,
// trace j from its start point to that point moved by the span.
class StraightPaths : public SectionPaths {
 public:
  StraightPaths(const TStraightSection& section, const TScaleDraw& view) : section_(section), view_(view) {}
  PixelPath WallLine(int k) const override;
  PixelPath TraceLine(int j) const override;
  PixelPath ZeroLine() const override;
  // Across the start to wall b, along wall b, back across the end, back along wall a.
  PixelPath Outline(int a, int b) const override;

 private:
  TPoint Pixel(double x, double y) const;
  const TStraightSection& section_;
  const TScaleDraw& view_;
};

// An arc: every line is ten chords from the start angle over the swept angle; a
// wall's radius changes linearly from its start radius to its end radius.
class CurvedPaths : public SectionPaths {
 public:
  static constexpr int kChords = 10;
  CurvedPaths(const TCurvedSection& section, const TScaleDraw& view) : section_(section), view_(view) {}
  PixelPath WallLine(int k) const override;
  PixelPath TraceLine(int j) const override;
  PixelPath ZeroLine() const override;
  // Along wall a, across the end to wall b, back along wall b, back across the start.
  PixelPath Outline(int a, int b) const override;

 private:
  PixelPath Arc(double startRadius, double endRadius) const;
  const TCurvedSection& section_;
  const TScaleDraw& view_;
};

// The drawing steps both kinds of section share.
void DrawSectionBody(const TSection& section, const SectionPaths& paths, ICanvas& canvas, int viewFlags);
void DrawSectionHighlight(const TSection& section, const SectionPaths& paths, ICanvas& canvas);
// Moves to the first point and draws lines through the rest.
void DrawPolyline(ICanvas& canvas, const PixelPath& path);

}  // namespace meridal
