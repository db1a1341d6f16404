// The plan view of one section: strips in surface colours with their hatches, the
// outline, the traces and the zero line; its highlight; the start/finish marker;
// the surface colours.
#include "graphics/section_painter.h"

#include <typeinfo>

#include "graphics/drawing_style.h"
#include "graphics/scale_draw.h"
#include "graphics/section_detail.h"
#include "graphics/section_paths.h"
#include "graphics/view_flags.h"
#include "model/curved_section.h"
#include "model/straight_section.h"
#include "model/units.h"

namespace meridal {

TColor SurfaceFillColor(int32_t surface) {
  // Codes of 2048 and above are the code below them with an extra marking.
  const int32_t code = surface >= kSurfaceFlag ? surface - kSurfaceFlag : surface;
  switch (code) {
    case kSurfaceTarmac: return TColor{128, 128, 128, true};
    case kSurfaceConcrete: return TColor{170, 170, 170, true};
    case kSurfaceCurbs: return TColor{212, 212, 212, true};
    case kSurfaceGrass: return TColor{0, 128, 0};
    case kSurfaceDirt: return TColor{114, 109, 64, true};
    case kSurfaceGravel: return TColor{212, 200, 128, true};
    case kSurfaceBanking: return TColor{128, 128, 0};
    default: return style::kYellow;  // "Left Border" and every unnamed code
  }
}

TColor SurfaceColor(const TWall& wall) { return SurfaceFillColor(wall.Surface); }

namespace {

// Calls `draw` with the paths of the section's kind; a section of neither kind
// has nothing to draw. The exact class is tried first, as the cheaper test.
template <class Draw>
void WithPaths(const TSection& section, const TScaleDraw& view, Draw&& draw) {
  if (typeid(section) == typeid(TStraightSection)) draw(StraightPaths(static_cast<const TStraightSection&>(section), view));
  else if (typeid(section) == typeid(TCurvedSection)) draw(CurvedPaths(static_cast<const TCurvedSection&>(section), view));
  else if (const auto* straight = dynamic_cast<const TStraightSection*>(&section)) draw(StraightPaths(*straight, view));
  else if (const auto* arc = dynamic_cast<const TCurvedSection*>(&section)) draw(CurvedPaths(*arc, view));
}

void FillAgain(ICanvas& canvas, BrushStyle style, TColor color, const PixelPath& polygon) {
  canvas.SetBrushStyle(style);
  canvas.SetBrushColor(color);
  canvas.Polygon(polygon.data(), polygon.size());
}

// Strip i, between wall i and wall i + 1, described by wall i. Ends with a white
// solid brush and a black pen 1 pixel wide.
void DrawStrip(const TWall& wall, const PixelPath& polygon, ICanvas& canvas, int viewFlags) {
  const TColor color = SurfaceColor(wall);
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.SetBrushColor(color);
  canvas.SetPenColor(StripPen(wall, viewFlags));
  canvas.Polygon(polygon.data(), polygon.size());
  if (wall.Surface >= kSurfaceFlag) FillAgain(canvas, BrushStyle::Cross, style::kFlagHatchColor, polygon);
  if (wall.Height != 0 && (viewFlags & kViewShowNonZeroHeight))
    FillAgain(canvas, BrushStyle::BDiagonal, style::kHeightHatchColor, polygon);
  if (wall.Unk1 != 0 && (viewFlags & kViewShowNonZeroUnk1))
    FillAgain(canvas, BrushStyle::FDiagonal, style::kUnk1HatchColor, polygon);
  canvas.SetBrushColor(style::kWhite);
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.SetPenColor(style::kBlack);
  canvas.SetPenWidth(1);
}

void DrawPath(ICanvas& canvas, const PixelPath& path) { canvas.Polyline(path.data(), path.size()); }

// The strips of a section. A thin strip is drawn as its first wall's line alone:
// the line of its second wall is drawn again, later, by the next strip or by the
// outline. Leaves wall 0's line in `first` and the last wall's in `last`.
template <class Paths>
void DrawStrips(const TSection& section, const Paths& paths, ICanvas& canvas, int viewFlags, bool levelOfDetail,
                PixelPath& first, PixelPath& last) {
  const int walls = section.NumberOfWalls();
  paths.WallLine(0, first);
  // The line of wall i and of wall i + 1 take turns in two buffers.
  PixelPath buffers[2];
  const PixelPath* line = &first;
  PolylineBatch thin(canvas);
  TColor thinPen = style::kBlack;
  bool thinPenSet = false;  // whether the canvas holds thinPen since the last full strip
  for (int i = 0; i + 1 < walls; ++i) {
    PixelPath& next = buffers[i & 1];
    paths.WallLine(i + 1, next);
    const TWall& wall = *section.Wall(i);
    if (levelOfDetail && paths.StripNarrowerThan(i, kThinStrip)) {
      // A line on the pixels of the next one is drawn over by it anyway.
      if (!(*line == next)) {
        const TColor pen = StripPen(wall, viewFlags);
        if (!(pen == thinPen) || !thinPenSet) {
          thin.Flush();
          canvas.SetPenColor(pen);
          thinPen = pen;
          thinPenSet = true;
        }
        thin.Add(*line);
      }
    } else {
      thin.Flush();
      PixelPath strip;
      SectionPaths::Strip(*line, next, strip);
      DrawStrip(wall, strip, canvas, viewFlags);
      thinPenSet = false;
    }
    line = &next;
  }
  thin.Flush();
  if (thinPenSet && !(thinPen == style::kBlack)) canvas.SetPenColor(style::kBlack);
  last = *line;
}

template <class Paths>
void DrawTraces(const TSection& section, const Paths& paths, ICanvas& canvas, bool levelOfDetail) {
  const int traces = section.NumberOfAltitudes();
  canvas.SetPenColor(style::kTraceColor);
  PolylineBatch batch(canvas);
  PixelPath buffers[2];
  const PixelPath* drawn = nullptr;
  TPoint first{}, last{};
  for (int j = 0; j < traces; ++j) {
    // Into the buffer that does not hold the last trace drawn.
    PixelPath& trace = drawn == &buffers[0] ? buffers[1] : buffers[0];
    paths.TraceLine(j, trace);
    if (j == 0) first = trace.front();
    if (j == traces - 1) last = trace.front();
    // Traces closer than a pixel land on the same pixels: drawn once.
    if (levelOfDetail && drawn != nullptr && trace == *drawn) continue;
    batch.Add(trace);
    drawn = &trace;
  }
  // The line across the section's start, from trace 0 to the last trace.
  const TPoint across[2] = {first, last};
  batch.Add(across, 2);
  batch.Flush();
}

template <class Paths>
void DrawBody(const TSection& section, const Paths& paths, const TScaleDraw& view, int viewFlags) {
  ICanvas& canvas = view.Canvas();
  const bool levelOfDetail = view.LevelOfDetail();
  if (levelOfDetail && InOnePixel(view, section.Extent)) {
    DrawAsOnePixel(section, paths, canvas, viewFlags);
    return;
  }
  if (levelOfDetail && AllStripsThin(section, paths)) {
    DrawThinSection(section, paths, canvas, viewFlags);
    return;
  }
  // The last wall begins no strip: its Surface, Height and Unk1 are never drawn.
  // The outline is always black, whatever the wall outline option says.
  if (section.NumberOfWalls() > 0) {
    PixelPath first, last, outline;
    DrawStrips(section, paths, canvas, viewFlags, levelOfDetail, first, last);
    paths.Outline(first, last, outline);
    DrawPath(canvas, outline);
  }
  if ((viewFlags & kViewTraces) && section.NumberOfAltitudes() > 0) DrawTraces(section, paths, canvas, levelOfDetail);
  if (viewFlags & kViewZeroLine) {
    canvas.SetPenColor(style::kZeroLineColor);
    PixelPath zero;
    paths.ZeroLine(zero);
    DrawPath(canvas, zero);
  }
  canvas.SetPenColor(style::kBlack);
}

template <class Paths>
void DrawHighlight(const TSection& section, const Paths& paths, ICanvas& canvas, int k, int j) {
  const int walls = section.NumberOfWalls();
  canvas.SetPenColor(style::kSectionHighlightColor);
  canvas.SetPenWidth(style::kHighlightWidth);
  PixelPath path;
  if (walls > 0) {
    paths.Outline(0, walls - 1, path);
    DrawPath(canvas, path);
  }
  if (k >= 0 && k < walls) {
    // The strip that begins at wall k; the last wall highlights its own line.
    const int other = k < walls - 1 ? k + 1 : k;
    canvas.SetPenColor(style::kWallHighlightColor);
    paths.Outline(k, other, path);
    DrawPath(canvas, path);
  }
  if (j >= 0 && j < section.NumberOfAltitudes()) {
    canvas.SetPenColor(style::kTraceHighlightColor);
    canvas.SetPenWidth(1);
    paths.TraceLine(j, path);
    DrawPath(canvas, path);
  }
  canvas.SetPenColor(style::kBlack);
  canvas.SetPenWidth(1);
}

// The start/finish marker: a line across the whole track at the start, continued
// 10 m past wall 0 and closed back to wall 0 through a point 10 m further along:
// a triangle right of the track pointing in the direction of travel.
void DrawMarker(ICanvas& canvas, const TScaleDraw& view, const TPointD (&points)[4]) {
  canvas.SetPenColor(style::kStartFinishColor);
  canvas.SetPenWidth(style::kStartFinishWidth);
  canvas.MoveTo(view.ToWindowX(points[0].x), view.ToWindowY(points[0].y));
  for (int i = 1; i < 4; ++i) canvas.LineTo(view.ToWindowX(points[i].x), view.ToWindowY(points[i].y));
  canvas.SetPenColor(style::kBlack);
  canvas.SetPenWidth(1);
}

void MarkerPoints(const TStraightSection& s, TPointD (&points)[4]) {
  const int n = s.NumberOfWalls();
  const double f = s.Wall(0)->From;
  points[0] = s.Wall(n - 1)->FromPoint;  // the leftmost wall
  points[1] = {s.LocalToX(0, f - kTenMeters), s.LocalToY(0, f - kTenMeters)};
  points[2] = {s.LocalToX(kTenMeters, f - kFiveMeters), s.LocalToY(kTenMeters, f - kFiveMeters)};
  points[3] = s.Wall(0)->FromPoint;  // the rightmost
}

void MarkerPoints(const TCurvedSection& s, TPointD (&points)[4]) {
  const int n = s.NumberOfWalls();
  const double f = s.Wall(0)->From;
  const double a0 = s.StartAngle;
  // 10 m along the zero line as an angle; none on a degenerate arc of radius 0.
  const double along = s.Radius != 0 ? kTenMeters / s.Radius : 0.0;
  const double r0 = s.Wall(0)->FromPoint.x, rLast = s.Wall(n - 1)->FromPoint.x;
  const double rOut = s.Radius - f + kTenMeters, rTip = s.Radius - f + kFiveMeters;
  points[0] = {s.LocalToX(a0, rLast), s.LocalToY(a0, rLast)};
  points[1] = {s.LocalToX(a0, rOut), s.LocalToY(a0, rOut)};
  points[2] = {s.LocalToX(a0 + along, rTip), s.LocalToY(a0 + along, rTip)};
  points[3] = {s.LocalToX(a0, r0), s.LocalToY(a0, r0)};
}

}  // namespace

void TSectionPainter::Draw(int32_t viewFlags) const {
  // Skipped before any point is computed when the box misses the window.
  if (!view_.IsVisible(section_.Extent)) return;
  WithPaths(section_, view_, [&](const auto& paths) { DrawBody(section_, paths, view_, viewFlags); });
}

void TSectionPainter::DrawSelection(int wall, int trace) const {
  if (!view_.IsVisible(section_.Extent)) return;
  WithPaths(section_, view_, [&](const auto& paths) { DrawHighlight(section_, paths, view_.Canvas(), wall, trace); });
}

void TSectionPainter::DrawStartFinish() const {
  if (section_.NumberOfWalls() == 0) return;
  TPointD points[4];
  if (const auto* straight = dynamic_cast<const TStraightSection*>(&section_)) MarkerPoints(*straight, points);
  else if (const auto* arc = dynamic_cast<const TCurvedSection*>(&section_)) MarkerPoints(*arc, points);
  else return;
  DrawMarker(view_.Canvas(), view_, points);
}

void TSectionPainter::EraseBox() const { EraseBox(view_, section_.Extent); }

void TSectionPainter::EraseBox(const TScaleDraw& view, const TRect& box) {
  ICanvas& canvas = view.Canvas();
  canvas.SetBrushColor(style::kWhite);
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.SetPenColor(style::kWhite);
  canvas.Rectangle(view.ToWindowX(box.left), view.ToWindowY(box.top), view.ToWindowX(box.right),
                   view.ToWindowY(box.bottom));
  canvas.SetPenColor(style::kBlack);
}

}  // namespace meridal
