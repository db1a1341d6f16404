#pragma once
// TScaleDraw: how the graphics window shows the track. It keeps the world
// rectangle being viewed, a base scale fixed at construction, the zoom factor and
// the world point shown at the window's top-left corner, maps world points to
// window pixels and back, and keeps the window's two scroll bars in step with the
// zoomed size of the drawing.
//
// World coordinates: X to the right, Y upwards, in track units. Window
// coordinates: pixels of the client area, x to the right, y downwards, (0, 0) at
// the top-left corner. Scale x Zoom is the current number of pixels per track unit.
//
// Typical use by the graphics window:
//   TScaleDraw view(window, track.Extent, 600);   // document opened
//   view.OriginFromScroll(); painter.Draw(view, viewFlags, selection);  // every repaint
//   if (view.ZoomIn()) {} view.CenterOn(wx, wy);  // a Zoom In click at (wx, wy)
//   track.UpdateExtent(); view.SetBounds(track.Extent);    // after an edit
// There is one TScaleDraw per open document; a new document starts again at zoom 1.
#include <cstdint>

#include "model/base.h"

namespace meridal {

class ICanvas;
class IDrawWindow;

class TScaleDraw {
 public:
  // The base scale makes the larger extent of `bounds` span `sizePixels` pixels at
  // zoom 1 (the program always passes 600). Zoom 1, the origin at the rectangle's
  // top-left corner, both scroll positions 0. An extent of 0 (a rectangle of no
  // width or no height) counts as 1 track unit for the scale, so that a degenerate
  // rectangle still gives a finite scale.
  TScaleDraw(IDrawWindow& window, TRect bounds, int32_t sizePixels);

  IDrawWindow& Window() const { return window_; }
  ICanvas& Canvas() const;
  int ClientWidth() const;
  int ClientHeight() const;

  const TRect& Bounds() const { return bounds_; }
  double BoundsWidth() const { return boundsWidth_; }    // Right - Left
  double BoundsHeight() const { return boundsHeight_; }  // Top - Bottom
  int32_t SizePixels() const { return sizePixels_; }
  double Scale() const { return scale_; }  // base pixels per track unit
  double Zoom() const { return zoom_; }
  double OriginX() const { return originX_; }  // world X shown at window x = 0
  double OriginY() const { return originY_; }  // world Y shown at window y = 0
  double PixelsPerUnit() const { return scale_ * zoom_; }

  // Replaces the viewed rectangle after an edit. Scale and Zoom stay, so the
  // drawing keeps its magnification; the origin is kept inside the rectangle's
  // top-left corner and the scroll bars follow the new size.
  void SetBounds(TRect bounds);

  // World to window, truncated toward zero. A point so far away that its pixel
  // lies beyond the 32-bit range gets the nearest end of that range rather than a
  // wrapped value that could land inside the window.
  int32_t ToWindowX(double x) const { return ToPixel((x - originX_) * scale_ * zoom_); }
  int32_t ToWindowY(double y) const { return ToPixel((originY_ - y) * scale_ * zoom_); }
  // Window to world, not truncated (callers truncate where they need integers).
  double ToWorldX(double x) const;
  double ToWorldY(double y) const;

  // The scroll positions are the authority for the origin: every repaint derives
  // the origin from them before anything is drawn.
  void OriginFromScroll();

  // Centres the view on a world point as far as the drawing's edges allow, then
  // asks the window to repaint. Used by the Center, Zoom In and Zoom Out clicks
  // after they have set the new zoom.
  void CenterOn(double wx, double wy);
  // Shows a world point at window pixel (px, py), as far as the drawing's edges
  // allow, then asks for a repaint. Centring is this at the client's middle.
  void AnchorAt(double wx, double wy, double px, double py);

  // ---- navigation by the mouse and the View menu ----
  // One zoom step in or out that keeps the world point under window pixel
  // (px, py) there (within a pixel, as far as the edges allow); false, and
  // nothing changed, when the step is refused.
  bool ZoomAbout(bool in, double px, double py);
  // The largest zoom at which the whole of Bounds fits the client area, shown
  // from its top-left corner (in the client's middle with FreeOrigin on).
  bool ZoomToFit();
  // Whether the zoom is the one ZoomToFit gives for the client's size now.
  bool AtFit() const;

  // The origin is the view's own, not the scroll bars': a zoom about a pixel, a
  // centring or a fit puts the world point exactly where asked, also beyond the
  // rectangle's edges, and a change of the rectangle (an edit) never moves the
  // view. The scroll bars then span the rectangle together with the part now
  // shown, so that they reach back from wherever the view is. Off unless a window
  // asks for it: the plan window does; the plain scroll-bar origin stays for the
  // callers that rely on its clamping.
  void SetFreeOrigin(bool on);
  bool FreeOrigin() const { return freeOrigin_; }
  // Sets the mapping itself: `pixelsPerUnit` (a zoom against the base scale) and
  // the world point at the client's top-left corner; false, nothing changed,
  // when the zoom is refused. The plan's picture is drawn anywhere at another
  // size through this (Export Image) with the window's own mapping.
  bool SetMapping(double pixelsPerUnit, double originX, double originY);
  // Scrolls by whole pixels (positive: towards larger window x and y), clamped
  // like any scroll, and asks for a repaint.
  void ScrollBy(int32_t dx, int32_t dy);

  // Zoom steps: multiply Zoom by 2 or by 0.5. A step is refused (false, Zoom
  // unchanged) when it would make the drawing's pixel extents leave the 32-bit
  // range (a step towards smaller extents is always allowed, even if the drawing
  // has outgrown the range through SetBounds), or when the pixels per unit would
  // no longer be a normal positive number. Neither moves the origin nor the
  // scroll bars: the caller centres next.
  bool ZoomIn();
  bool ZoomOut();
  // Sets any zoom factor with the same refusals (and refuses a zoom that is not a
  // finite positive number). For callers that show the drawing at a given zoom.
  bool SetZoom(double zoom);
  // Whether the drawing's pixel extents fit the 32-bit range at this zoom.
  bool ZoomFits(double zoom) const;

  // Rectangles given as (left, y1, right, y2), in TRect's order: left, top,
  // right, bottom. The y values may come in either order; left <= right is
  // assumed. True when A.right >= B.left, A.left < B.right, A.yHi >= B.yLo and
  // A.yLo < B.yHi: touching on A's right (or high) edge counts as overlapping,
  // on A's left (or low) edge does not. Serves world and window rectangles alike.
  static bool RectsOverlap(const TRect& a, const TRect& b);

  // Whether a world box (a section's Extent) mapped to the window overlaps the
  // window's client rectangle: the drawing skips what fails this test.
  bool IsVisible(const TRect& worldBox) const;

  // Whether the drawing may simplify what is smaller than a pixel: a strip
  // narrower than a pixel drawn as its edge line, a section inside one pixel as
  // that pixel, a line repeated on the same pixels drawn once. On, unless a test
  // or a benchmark compares with the drawing in full.
  bool LevelOfDetail() const { return levelOfDetail_; }
  void SetLevelOfDetail(bool on) { levelOfDetail_ = on; }

  // The pixel extents of the drawing at the current zoom, as the scroll bars get them.
  int32_t HorizontalRange() const;
  int32_t VerticalRange() const;

 private:
  // Truncation toward zero; a repaint converts a few hundred thousand points, so
  // the common case is inline and only the far-away ones (and NaN) take the call.
  static int32_t ToPixel(double v) {
    if (v > -2147483648.0 && v < 2147483648.0) return static_cast<int32_t>(v);
    return FarToPixel(v);
  }
  static int32_t FarToPixel(double v);
  void StoreBounds(TRect bounds);
  double FitZoom() const;
  void KeepOriginInside();
  void RefreshScrollBars();

  IDrawWindow& window_;
  TRect bounds_;
  double boundsWidth_ = 0;
  double boundsHeight_ = 0;
  int32_t sizePixels_ = 0;
  double scale_ = 0;
  double zoom_ = 1.0;
  double originX_ = 0;
  double originY_ = 0;
  bool levelOfDetail_ = true;
  bool freeOrigin_ = false;
  // With a free origin: the world point of the scroll bars' zero and the
  // positions last given to the bars, so that a position the user moved is told
  // from the one the view set.
  double scrollLeft_ = 0, scrollTop_ = 0;
  int32_t setPositions_[2] = {0, 0};
};

}  // namespace meridal
