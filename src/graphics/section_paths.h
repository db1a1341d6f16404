#pragma once
// The lines of a section as sequences of window pixels. Every line of a section
// (a wall's, a trace's, the zero line) runs through a fixed sequence of world
// points from the section's start cross-section to its end: two points on a
// straight, eleven on an arc (ten chords whatever the size or the zoom). The
// strips, outlines and highlights are built from these lines.
#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <new>

#include "platform/canvas.h"

namespace meridal {

class TCurvedSection;
class TScaleDraw;
class TSection;
class TStraightSection;

// A short run of window pixels: a line (2 or 11 points), a strip polygon (4 or
// 22) or an outline (5 or 23). Kept inline, without the heap: a repaint of a
// large track makes a few hundred thousand of them.
class PixelPath {
 public:
  static constexpr int kCapacity = 24;
  PixelPath() = default;
  PixelPath(std::initializer_list<TPoint> points) {
    for (const TPoint& p : points) push_back(p);
  }
  PixelPath(const PixelPath& other) : size_(other.size_) { std::memcpy(storage_, other.storage_, Bytes(size_)); }
  PixelPath& operator=(const PixelPath& other) {
    size_ = other.size_;
    std::memcpy(storage_, other.storage_, Bytes(size_));
    return *this;
  }
  void push_back(TPoint p) {
    if (size_ < kCapacity) std::memcpy(storage_ + Bytes(size_++), &p, sizeof p);
  }
  const TPoint* data() const { return std::launder(reinterpret_cast<const TPoint*>(storage_)); }
  int size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const TPoint& operator[](int i) const { return data()[i]; }
  const TPoint& front() const { return data()[0]; }
  const TPoint& back() const { return data()[size_ - 1]; }
  friend bool operator==(const PixelPath& a, const PixelPath& b) {
    return a.size_ == b.size_ && std::equal(a.data(), a.data() + a.size_, b.data());
  }

 private:
  static size_t Bytes(int points) { return sizeof(TPoint) * static_cast<size_t>(points); }
  // Raw storage, filled by copying points in: building a path does not first
  // clear room for 24 points it will mostly not use.
  alignas(TPoint) unsigned char storage_[sizeof(TPoint) * kCapacity];
  int size_ = 0;
};

class SectionPaths {
 public:
  virtual ~SectionPaths() = default;
  virtual PixelPath WallLine(int k) const = 0;
  virtual PixelPath TraceLine(int j) const = 0;
  virtual PixelPath ZeroLine() const = 0;
  // The closed path around the band between two wall lines.
  virtual PixelPath Outline(const PixelPath& lineA, const PixelPath& lineB) const = 0;
  PixelPath Outline(int a, int b) const { return Outline(WallLine(a), WallLine(b)); }
  // Whether strip i (between walls i and i + 1) is narrower than `pixels` at
  // both of its ends.
  virtual bool StripNarrowerThan(int i, double pixels) const = 0;
  // The polygon of a strip: the first wall's line forward, the second's backward.
  static PixelPath Strip(const PixelPath& lineA, const PixelPath& lineB);
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
  PixelPath Outline(const PixelPath& lineA, const PixelPath& lineB) const override;
  bool StripNarrowerThan(int i, double pixels) const override;

 private:
  TPoint Pixel(double x, double y) const;
  const TStraightSection& section_;
  const TScaleDraw& view_;
};

// An arc: every line is ten chords from the start angle over the swept angle; a
// wall's radius changes linearly from its start radius to its end radius. The
// directions of the eleven points are the same for every line of the section,
// so they are computed once.
class CurvedPaths : public SectionPaths {
 public:
  static constexpr int kChords = 10;
  CurvedPaths(const TCurvedSection& section, const TScaleDraw& view);
  PixelPath WallLine(int k) const override;
  PixelPath TraceLine(int j) const override;
  PixelPath ZeroLine() const override;
  // Along wall a, across the end to wall b, back along wall b, back across the start.
  PixelPath Outline(const PixelPath& lineA, const PixelPath& lineB) const override;
  bool StripNarrowerThan(int i, double pixels) const override;

 private:
  PixelPath Arc(double startRadius, double endRadius) const;
  const TCurvedSection& section_;
  const TScaleDraw& view_;
  double cos_[kChords + 1], sin_[kChords + 1];
};

// The drawing steps both kinds of section share.
void DrawSectionBody(const TSection& section, const SectionPaths& paths, TScaleDraw& view, int viewFlags);
void DrawSectionHighlight(const TSection& section, const SectionPaths& paths, ICanvas& canvas);

}  // namespace meridal
