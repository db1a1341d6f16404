#include "graphics/track_painter.h"

#include <algorithm>

#include "graphics/scale_draw.h"
#include "graphics/section_painter.h"
#include "graphics/view_flags.h"
#include "model/track.h"

namespace meridal {

const TSection* TTrackPainter::SelectedSection(const TObjectPath& selection) const {
  if (selection.kind == TObjectPath::Kind::Track) return nullptr;
  if (selection.section < 0 || selection.section >= track_.NumberOfSections()) return nullptr;
  return track_.Section(selection.section);
}

void TTrackPainter::Draw(const TScaleDraw& view, int32_t viewFlags, const TObjectPath& selection) const {
  for (const auto& section : track_.Sections) TSectionPainter(*section, view).Draw(viewFlags);
  if (viewFlags & kViewSFLine) DrawStartFinish(view);
  DrawSelection(view, selection);
}

void TTrackPainter::DrawSelection(const TScaleDraw& view, const TObjectPath& selection) const {
  DrawSelection(view, selection, nullptr);
}

void TTrackPainter::DrawSelection(const TScaleDraw& view, const TObjectPath& selection, const TRect* box) const {
  const TSection* section = SelectedSection(selection);
  if (section == nullptr) return;
  // The rest of the run first, the selected section's strip or trace over them;
  // within a box, only the sections that reach into it.
  if (run_.Count() > 1) {
    const int last = std::min(run_.last, track_.NumberOfSections() - 1);
    for (int s = std::max(run_.first, 0); s <= last; ++s) {
      const TSection& other = *track_.Section(s);
      if (s == selection.section || (box && !TScaleDraw::RectsOverlap(*box, other.Extent))) continue;
      TSectionPainter(other, view).DrawSelection(-1, -1);
    }
  }
  const int wall = selection.kind == TObjectPath::Kind::Wall ? selection.child : -1;
  const int trace = selection.kind == TObjectPath::Kind::Altitude ? selection.child : -1;
  TSectionPainter(*section, view).DrawSelection(wall, trace);
}

void TTrackPainter::DrawStartFinish(const TScaleDraw& view) const {
  if (!track_.Sections.empty()) TSectionPainter(*track_.Sections.front(), view).DrawStartFinish();
}

void TTrackPainter::EraseSelection(const TScaleDraw& view, int32_t viewFlags, const TObjectPath& selection) const {
  const TSection* section = SelectedSection(selection);
  if (section == nullptr) return;
  TSectionPainter(*section, view).EraseBox();
  DrawInside(view, viewFlags, section->Extent, nullptr);
}

void TTrackPainter::RedrawBox(const TScaleDraw& view, int32_t viewFlags, const TRect& box,
                              const TObjectPath& selection) const {
  EraseBox(view, box);
  DrawInside(view, viewFlags, box, &selection);
}

void TTrackPainter::EraseBox(const TScaleDraw& view, const TRect& box) { TSectionPainter::EraseBox(view, box); }

void TTrackPainter::DrawInside(const TScaleDraw& view, int32_t viewFlags, const TRect& box,
                               const TObjectPath* selection) const {
  // Drawn again only inside the blanked box: a section drawn whole would also
  // cover, outside it, the start of a later section that is not drawn again, and
  // the picture would no longer be the one a full repaint gives. The highlight
  // too: drawn smooth a second time over itself, it would come out darker.
  ICanvas& canvas = view.Canvas();
  canvas.ClipTo(view.ToWindowX(box.left), view.ToWindowY(box.top), view.ToWindowX(box.right),
                view.ToWindowY(box.bottom));
  for (const auto& section : track_.Sections)
    if (TScaleDraw::RectsOverlap(box, section->Extent)) TSectionPainter(*section, view).Draw(viewFlags);
  if (viewFlags & kViewSFLine) DrawStartFinish(view);
  if (selection) DrawSelection(view, *selection, &box);
  canvas.ClipOff();
}

}  // namespace meridal
