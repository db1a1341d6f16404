#pragma once
// Level of detail: how the parts of a section smaller than a pixel are drawn.
// Zoomed out on a large track, a section is a few pixels across and its dozen
// strips are slivers; drawing each in full is most of a repaint, yet all that
// shows of them is their edges. Each rule below draws the cheapest marks that
// give the same picture at that scale:
// - a strip narrower than kThinStrip pixels is drawn as the line of its first
//   wall (its fill and hatches reach no pixel its edges do not cover, and its
//   second wall's line is drawn again later by the next strip or the outline);
// - a section whose box lies inside one pixel is drawn as that pixel, in the
//   colour of the last part the full drawing puts there;
// - a section whose strips are all thin is drawn as a list of 1-pixel lines, and
//   a line that a later line of the section covers pixel for pixel is left out
//   (a 1-pixel line covers the same pixels drawn either way round).
// At a scale where every strip is a pixel wide or more, nothing changes.
#include "graphics/section_paths.h"
#include "model/base.h"

namespace meridal {

class TScaleDraw;
class TSection;
class TWall;

constexpr double kThinStrip = 0.7071;  // 1 / sqrt(2): under a pixel along any axis

// Polylines in one pen, handed to the canvas together.
class PolylineBatch {
 public:
  explicit PolylineBatch(ICanvas& canvas) : canvas_(canvas) {}
  bool Empty() const { return paths_ == 0; }
  void Add(const TPoint* points, int count);
  void Add(const PixelPath& path) { Add(path.data(), path.size()); }
  void Flush();

 private:
  static constexpr int kPaths = 32, kPoints = kPaths * 12;
  ICanvas& canvas_;
  TPoint points_[kPoints];
  int sizes_[kPaths];
  int pointCount_ = 0, paths_ = 0;
};

// The pen that outlines strip i: black with the wall outline option, else the
// strip's own colour.
TColor StripPen(const TWall& wall, int viewFlags);

bool InOnePixel(const TScaleDraw& view, const TRect& box);
// For StraightPaths and CurvedPaths.
template <class Paths>
void DrawAsOnePixel(const TSection& section, const Paths& paths, ICanvas& canvas, int viewFlags);
template <class Paths>
bool AllStripsThin(const TSection& section, const Paths& paths);
template <class Paths>
void DrawThinSection(const TSection& section, const Paths& paths, ICanvas& canvas, int viewFlags);

}  // namespace meridal
