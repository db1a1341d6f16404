// The plan view of one section: strips in surface colours with their hatches, the
// outline, the traces and the zero line; its highlight; the start/finish marker.
#include "graphics/drawing_style.h"
#include "graphics/scale_draw.h"
#include "graphics/section_detail.h"
#include "graphics/section_paths.h"
#include "graphics/view_flags.h"
#include "model/curved_section.h"
#include "model/straight_section.h"
#include "model/units.h"

namespace meridal {

namespace {

void FillAgain(ICanvas& canvas, BrushStyle style, TColor color, const PixelPath& polygon) {
  canvas.SetBrushStyle(style);
  canvas.SetBrushColor(color);
  canvas.Polygon(polygon.data(), polygon.size());
}

// Strip i, between wall i and wall i + 1, described by wall i. Ends with a white
// solid brush and a black pen 1 pixel wide.
void DrawStrip(const TWall& wall, const PixelPath& polygon, ICanvas& canvas, int viewFlags) {
  const TColor color = wall.SurfaceColor();
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

// The strips of a section. A thin strip is drawn as its first wall's line alone:
// the line of its second wall is drawn again, later, by the next strip or by the
// outline. Returns the last wall's line; `first` gets wall 0's.
PixelPath DrawStrips(const TSection& section, const SectionPaths& paths, ICanvas& canvas, int viewFlags,
                     bool levelOfDetail, PixelPath& first) {
  const int walls = section.NumberOfWalls();
  PixelPath line = paths.WallLine(0);
  first = line;
  PolylineBatch thin(canvas);
  TColor thinPen = style::kBlack;
  bool thinPenSet = false;  // whether the canvas holds thinPen since the last full strip
  for (int i = 0; i + 1 < walls; ++i) {
    PixelPath next = paths.WallLine(i + 1);
    const TWall& wall = *section.Wall(i);
    if (levelOfDetail && paths.StripNarrowerThan(i, kThinStrip)) {
      // A line on the pixels of the next one is drawn over by it anyway.
      if (!(line == next)) {
        const TColor pen = StripPen(wall, viewFlags);
        if (!(pen == thinPen) || !thinPenSet) {
          thin.Flush();
          canvas.SetPenColor(pen);
          thinPen = pen;
          thinPenSet = true;
        }
        thin.Add(line);
      }
    } else {
      thin.Flush();
      DrawStrip(wall, SectionPaths::Strip(line, next), canvas, viewFlags);
      thinPenSet = false;
    }
    line = next;
  }
  thin.Flush();
  if (thinPenSet && !(thinPen == style::kBlack)) canvas.SetPenColor(style::kBlack);
  return line;
}

void DrawPath(ICanvas& canvas, const PixelPath& path) { canvas.Polyline(path.data(), path.size()); }

}  // namespace

void DrawSectionBody(const TSection& section, const SectionPaths& paths, TScaleDraw& view, int viewFlags) {
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
    PixelPath first;
    const PixelPath last = DrawStrips(section, paths, canvas, viewFlags, levelOfDetail, first);
    DrawPath(canvas, paths.Outline(first, last));
  }
  const int traces = section.NumberOfAltitudes();
  if ((viewFlags & kViewTraces) && traces > 0) {
    canvas.SetPenColor(style::kTraceColor);
    PolylineBatch batch(canvas);
    PixelPath drawn;
    TPoint first{}, last{};
    for (int j = 0; j < traces; ++j) {
      const PixelPath trace = paths.TraceLine(j);
      if (j == 0) first = trace.front();
      if (j == traces - 1) last = trace.front();
      // Traces closer than a pixel land on the same pixels: drawn once.
      if (levelOfDetail && j > 0 && trace == drawn) continue;
      batch.Add(trace);
      drawn = trace;
    }
    // The line across the section's start, from trace 0 to the last trace.
    batch.Add(PixelPath{first, last});
    batch.Flush();
  }
  if (viewFlags & kViewZeroLine) {
    canvas.SetPenColor(style::kZeroLineColor);
    DrawPath(canvas, paths.ZeroLine());
  }
  canvas.SetPenColor(style::kBlack);
}

void DrawSectionHighlight(const TSection& section, const SectionPaths& paths, ICanvas& canvas) {
  const int walls = section.NumberOfWalls();
  canvas.SetPenColor(style::kSectionHighlightColor);
  canvas.SetPenWidth(style::kHighlightWidth);
  if (walls > 0) DrawPath(canvas, paths.Outline(0, walls - 1));
  const int k = section.SelectedChild;
  if (k >= 0 && k < walls) {
    // The strip that begins at wall k; the last wall highlights its own line.
    const int other = k < walls - 1 ? k + 1 : k;
    canvas.SetPenColor(style::kWallHighlightColor);
    DrawPath(canvas, paths.Outline(k, other));
  }
  const int j = section.SelectedItem;
  if (j >= 0 && j < section.NumberOfAltitudes()) {
    canvas.SetPenColor(style::kTraceHighlightColor);
    canvas.SetPenWidth(1);
    DrawPath(canvas, paths.TraceLine(j));
  }
  canvas.SetPenColor(style::kBlack);
  canvas.SetPenWidth(1);
}

// ---- the section kinds ----

void TStraightSection::Draw(TScaleDraw& scaleDraw, int32_t viewFlags) {
  // Skipped before any point is computed when the box misses the window.
  if (!scaleDraw.IsVisible(Extent)) return;
  DrawSectionBody(*this, StraightPaths(*this, scaleDraw), scaleDraw, viewFlags);
}

void TCurvedSection::Draw(TScaleDraw& scaleDraw, int32_t viewFlags) {
  if (!scaleDraw.IsVisible(Extent)) return;
  DrawSectionBody(*this, CurvedPaths(*this, scaleDraw), scaleDraw, viewFlags);
}

void TStraightSection::DrawSelection(TScaleDraw& scaleDraw) {
  if (!scaleDraw.IsVisible(Extent)) return;
  DrawSectionHighlight(*this, StraightPaths(*this, scaleDraw), scaleDraw.Canvas());
}

void TCurvedSection::DrawSelection(TScaleDraw& scaleDraw) {
  if (!scaleDraw.IsVisible(Extent)) return;
  DrawSectionHighlight(*this, CurvedPaths(*this, scaleDraw), scaleDraw.Canvas());
}

namespace {

// The start/finish marker: a line across the whole track at the start, continued
// 10 m past wall 0 and closed back to wall 0 through a point 10 m further along:
// a triangle right of the track pointing in the direction of travel. Drawn even
// when the section lies outside the window.
void DrawMarker(ICanvas& canvas, const TScaleDraw& view, const TPointD (&points)[4]) {
  canvas.SetPenColor(style::kStartFinishColor);
  canvas.SetPenWidth(style::kStartFinishWidth);
  canvas.MoveTo(view.ToWindowX(points[0].x), view.ToWindowY(points[0].y));
  for (int i = 1; i < 4; ++i) canvas.LineTo(view.ToWindowX(points[i].x), view.ToWindowY(points[i].y));
  canvas.SetPenColor(style::kBlack);
  canvas.SetPenWidth(1);
}

}  // namespace

void TStraightSection::DrawStartFinish(TScaleDraw& scaleDraw) {
  const int n = NumberOfWalls();
  if (n == 0) return;
  const double f = Wall(0)->From;
  const TPointD leftmost = Wall(n - 1)->FromPoint, rightmost = Wall(0)->FromPoint;
  const TPointD points[4] = {leftmost,
                             {LocalToX(0, f - kTenMeters), LocalToY(0, f - kTenMeters)},
                             {LocalToX(kTenMeters, f - kFiveMeters), LocalToY(kTenMeters, f - kFiveMeters)},
                             rightmost};
  DrawMarker(scaleDraw.Canvas(), scaleDraw, points);
}

void TCurvedSection::DrawStartFinish(TScaleDraw& scaleDraw) {
  const int n = NumberOfWalls();
  if (n == 0) return;
  const double f = Wall(0)->From;
  const double a0 = StartAngle;
  // 10 m along the zero line as an angle; none on a degenerate arc of radius 0.
  const double along = Radius != 0 ? kTenMeters / Radius : 0.0;
  const double r0 = Wall(0)->FromPoint.x, rLast = Wall(n - 1)->FromPoint.x;
  const double rOut = Radius - f + kTenMeters, rTip = Radius - f + kFiveMeters;
  const TPointD points[4] = {{LocalToX(a0, rLast), LocalToY(a0, rLast)},
                             {LocalToX(a0, rOut), LocalToY(a0, rOut)},
                             {LocalToX(a0 + along, rTip), LocalToY(a0 + along, rTip)},
                             {LocalToX(a0, r0), LocalToY(a0, r0)}};
  DrawMarker(scaleDraw.Canvas(), scaleDraw, points);
}

void TSection::EraseBox(TScaleDraw& scaleDraw) { EraseBox(scaleDraw, Extent); }

void TSection::EraseBox(TScaleDraw& scaleDraw, const TRect& box) {
  ICanvas& canvas = scaleDraw.Canvas();
  canvas.SetBrushColor(style::kWhite);
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.SetPenColor(style::kWhite);
  canvas.Rectangle(scaleDraw.ToWindowX(box.left), scaleDraw.ToWindowY(box.top), scaleDraw.ToWindowX(box.right),
                   scaleDraw.ToWindowY(box.bottom));
  canvas.SetPenColor(style::kBlack);
}

}  // namespace meridal
