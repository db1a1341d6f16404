#pragma once
// TTrackPainter: the plan view of a whole track on a view's canvas, the highlight
// of a selection and its incremental update. It only reads the track; the
// selection to highlight is handed to it as a path (a section, or a wall or an
// altitude of one: the section's outline with the wall's strip or the trace;
// the track itself highlights nothing). A run of several selected sections, when
// given, has every one of its sections outlined as the selected one is.
//
//   TTrackPainter painter(track);
//   painter.Draw(view, viewFlags, selection);        // a full repaint
//   painter.EraseSelection(view, viewFlags, before); // the selection moves...
//   painter.DrawSelection(view, after);              // ...without a repaint
//   painter.RedrawBox(view, viewFlags, box, selection);  // a change within a box
#include <cstdint>

#include "model/base.h"
#include "model/object_path.h"
#include "model/section_run.h"

namespace meridal {

class TScaleDraw;
class TSection;
class TTrack;

class TTrackPainter {
 public:
  explicit TTrackPainter(const TTrack& track, TSectionRun run = {}) : track_(track), run_(run) {}

  // Every section in list order, each complete before the next, so that a later
  // section covers an earlier one where they overlap; then the start/finish
  // marker (with its view option) and the highlight.
  void Draw(const TScaleDraw& view, int32_t viewFlags, const TObjectPath& selection) const;
  void DrawSelection(const TScaleDraw& view, const TObjectPath& selection) const;
  // The marker at the first section's start.
  void DrawStartFinish(const TScaleDraw& view) const;
  // Blanks the selected section's box and redraws, inside it only, the sections
  // whose boxes overlap it and the marker; the window itself is not repainted.
  void EraseSelection(const TScaleDraw& view, int32_t viewFlags, const TObjectPath& selection) const;
  // Blanks a box of the plan and draws again, inside it only, every section whose
  // box overlaps it, the marker and the highlight: what a change confined to that
  // box needs instead of a full repaint.
  void RedrawBox(const TScaleDraw& view, int32_t viewFlags, const TRect& box, const TObjectPath& selection) const;
  // Blanks any box of the plan.
  static void EraseBox(const TScaleDraw& view, const TRect& box);

 private:
  // The section a selection highlights, or nullptr.
  const TSection* SelectedSection(const TObjectPath& selection) const;
  // The highlight, with a box only the run's sections that reach into it.
  void DrawSelection(const TScaleDraw& view, const TObjectPath& selection, const TRect* box) const;
  // Draws, clipped to a box, the sections overlapping it and the marker, and
  // with `selection` the highlight.
  void DrawInside(const TScaleDraw& view, int32_t viewFlags, const TRect& box, const TObjectPath* selection) const;

  const TTrack& track_;
  TSectionRun run_;
};

}  // namespace meridal
