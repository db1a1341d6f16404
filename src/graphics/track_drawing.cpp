// The whole track's drawing, the highlight of the selection and its incremental
// update, and the surface colours of the strips.
#include "graphics/drawing_style.h"
#include "graphics/scale_draw.h"
#include "graphics/view_flags.h"
#include "model/track.h"
#include "model/wall.h"

namespace meridal {

TColor TWall::SurfaceColor() const { return SurfaceFillColor(Surface); }

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

void TTrack::Draw(TScaleDraw& scaleDraw, int32_t viewFlags) {
  // In list order, each section complete before the next, so a later section
  // covers an earlier one where they overlap.
  for (auto& section : Sections) section->Draw(scaleDraw, viewFlags);
  if ((viewFlags & kViewSFLine) && !Sections.empty()) Sections.front()->DrawStartFinish(scaleDraw);
  if (TSection* selected = HighlightedSection()) selected->DrawSelection(scaleDraw);
}

void TTrack::DrawSelection(TScaleDraw& scaleDraw) {
  if (TSection* selected = HighlightedSection()) selected->DrawSelection(scaleDraw);
}

void TTrack::EraseSelection(TScaleDraw& scaleDraw, int32_t viewFlags) {
  // Blanks the selected section's box and redraws only the sections whose boxes
  // overlap it; the window itself is not repainted.
  TSection* selected = HighlightedSection();
  if (selected == nullptr) return;
  selected->EraseBox(scaleDraw);
  DrawInside(scaleDraw, viewFlags, selected->Extent, false);
}

void TTrack::RedrawBox(TScaleDraw& scaleDraw, int32_t viewFlags, const TRect& box) {
  TSection::EraseBox(scaleDraw, box);
  DrawInside(scaleDraw, viewFlags, box, true);
}

void TTrack::DrawInside(TScaleDraw& scaleDraw, int32_t viewFlags, const TRect& box, bool selection) {
  // Drawn again only inside the blanked box: a section drawn whole would also
  // cover, outside it, the start of a later section that is not drawn again, and
  // the picture would no longer be the one a full repaint gives. The highlight
  // too: drawn smooth a second time over itself, it would come out darker.
  ICanvas& canvas = scaleDraw.Canvas();
  canvas.ClipTo(scaleDraw.ToWindowX(box.left), scaleDraw.ToWindowY(box.top), scaleDraw.ToWindowX(box.right),
                scaleDraw.ToWindowY(box.bottom));
  for (auto& section : Sections)
    if (TScaleDraw::RectsOverlap(box, section->Extent)) section->Draw(scaleDraw, viewFlags);
  if ((viewFlags & kViewSFLine) && !Sections.empty()) Sections.front()->DrawStartFinish(scaleDraw);
  if (selection) DrawSelection(scaleDraw);
  canvas.ClipOff();
}

}  // namespace meridal
