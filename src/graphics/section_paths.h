#pragma once
// The lines of a section as sequences of window pixels. Every line of a section
// (a wall's, a trace's, the zero line) runs through a fixed sequence of world
// points from the section's start cross-section to its end: two points on a
// straight, eleven on an arc (ten chords whatever the size or the zoom). The
// strips, outlines and highlights are built from these lines.
//
// A repaint of a large track builds a few hundred thousand of these paths: each
// is written into a path the caller keeps, none is copied on the way, and the
// two kinds are separate classes the drawing is instantiated for, so that the
// calls inline.
#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <new>

#include "graphics/scale_draw.h"
#include "model/curved_section.h"
#include "model/straight_section.h"
#include "platform/canvas.h"

namespace meridal {

// A short run of window pixels: a line (2 or 11 points), a strip polygon (4 or
// 22) or an outline (5 or 23). Kept inline, without the heap.
class PixelPath {
 public:
  static constexpr int kCapacity = 24;
  PixelPath() = default;
  PixelPath(std::initializer_list<TPoint> points) {
    for (const TPoint& p : points) push_back(p);
  }
  // Copies only the points in use.
  PixelPath(const PixelPath& other) { *this = other; }
  PixelPath& operator=(const PixelPath& other) {
    size_ = other.size_;
    for (int i = 0; i < size_; ++i) Store(i, other[i]);
    return *this;
  }
  void clear() { size_ = 0; }
  void push_back(TPoint p) {
    if (size_ < kCapacity) Store(size_++, p);
  }
  const TPoint* data() const { return std::launder(reinterpret_cast<const TPoint*>(storage_)); }
  int size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const TPoint& operator[](int i) const { return data()[i]; }
  const TPoint& front() const { return data()[0]; }
  const TPoint& back() const { return data()[size_ - 1]; }
  friend bool operator==(const PixelPath& a, const PixelPath& b) {
    if (a.size_ != b.size_) return false;
    for (int i = 0; i < a.size_; ++i)
      if (!(a[i] == b[i])) return false;
    return true;
  }

 private:
  void Store(int i, TPoint p) { std::memcpy(storage_ + sizeof(TPoint) * static_cast<size_t>(i), &p, sizeof p); }
  // Raw storage, filled by copying points in: building a path does not first
  // clear room for 24 points it will mostly not use.
  alignas(TPoint) unsigned char storage_[sizeof(TPoint) * kCapacity];
  int size_ = 0;
};

struct SectionPaths {
  // The polygon of a strip: the first wall's line forward, the second's backward.
  static void Strip(const PixelPath& lineA, const PixelPath& lineB, PixelPath& out) {
    out = lineA;
    for (int k = lineB.size(); k-- > 0;) out.push_back(lineB[k]);
  }
};

// A straight: wall k runs from its FromPoint to its ToPoint moved by the span,
// trace j from its start point to that point moved by the span.
class StraightPaths {
 public:
  StraightPaths(const TStraightSection& section, const TScaleDraw& view) : section_(section), view_(view) {}
  void WallLine(int k, PixelPath& out) const {
    const TWall& wall = *section_.Wall(k);
    Line(wall.FromPoint.x, wall.FromPoint.y, wall.ToPoint.x, wall.ToPoint.y, out);
  }
  void TraceLine(int j, PixelPath& out) const {
    const TAltitude& trace = *section_.Altitude(j);
    Line(trace.X, trace.Y, trace.X, trace.Y, out);
  }
  void ZeroLine(PixelPath& out) const { Line(section_.BaseX, section_.BaseY, section_.BaseX, section_.BaseY, out); }
  // The closed path around the band between two wall lines: across the start to
  // wall b, along wall b, back across the end, back along wall a.
  void Outline(const PixelPath& lineA, const PixelPath& lineB, PixelPath& out) const {
    out = {lineA[0], lineB[0], lineB[1], lineA[1], lineA[0]};
  }
  void Outline(int a, int b, PixelPath& out) const {
    PixelPath lineA, lineB;
    WallLine(a, lineA);
    WallLine(b, lineB);
    Outline(lineA, lineB, out);
  }
  // Whether strip i (between walls i and i + 1) is narrower than `pixels` at both
  // of its ends.
  bool StripNarrowerThan(int i, double pixels) const;

 private:
  // From (x0, y0) to (x1, y1) moved by the span.
  void Line(double x0, double y0, double x1, double y1, PixelPath& out) const {
    out.clear();
    out.push_back(TPoint{view_.ToWindowX(x0), view_.ToWindowY(y0)});
    out.push_back(TPoint{view_.ToWindowX(x1 + section_.SpanX), view_.ToWindowY(y1 + section_.SpanY)});
  }
  const TStraightSection& section_;
  const TScaleDraw& view_;
};

// An arc: every line is ten chords from the start angle over the swept angle; a
// wall's radius changes linearly from its start radius to its end radius. The
// directions of the eleven points are the same for every line of the section,
// so they are computed once.
class CurvedPaths {
 public:
  static constexpr int kChords = 10;
  CurvedPaths(const TCurvedSection& section, const TScaleDraw& view);
  void WallLine(int k, PixelPath& out) const {
    const TWall& wall = *section_.Wall(k);
    Arc(wall.FromPoint.x, wall.ToPoint.x, out);
  }
  void TraceLine(int j, PixelPath& out) const {
    const double radius = section_.Altitude(j)->X;
    Arc(radius, radius, out);
  }
  void ZeroLine(PixelPath& out) const { Arc(section_.Radius, section_.Radius, out); }
  // Along wall a, across the end to wall b, back along wall b, back across the start.
  void Outline(const PixelPath& lineA, const PixelPath& lineB, PixelPath& out) const {
    SectionPaths::Strip(lineA, lineB, out);
    out.push_back(lineA.front());
  }
  void Outline(int a, int b, PixelPath& out) const {
    PixelPath lineA, lineB;
    WallLine(a, lineA);
    WallLine(b, lineB);
    Outline(lineA, lineB, out);
  }
  bool StripNarrowerThan(int i, double pixels) const;

 private:
  void Arc(double startRadius, double endRadius, PixelPath& out) const;
  const TCurvedSection& section_;
  const TScaleDraw& view_;
  double cos_[kChords + 1], sin_[kChords + 1];
};

}  // namespace meridal
