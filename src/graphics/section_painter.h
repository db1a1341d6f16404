#pragma once
// TSectionPainter: the plan view of one section on a view's canvas: its strips in
// surface colours with their hatches, the outline, the traces and the zero line;
// its highlight; the start/finish marker; the blanking of its box. The painter
// only reads the section; what to highlight is handed to it.
//
//   TSectionPainter(section, view).Draw(viewFlags);
//   TSectionPainter(section, view).DrawSelection(wall, -1);
#include <cstdint>

#include "model/base.h"
#include "platform/canvas.h"

namespace meridal {

class TScaleDraw;
class TSection;
class TWall;

// The fill colour of the strip that begins at a wall.
TColor SurfaceColor(const TWall& wall);

class TSectionPainter {
 public:
  TSectionPainter(const TSection& section, const TScaleDraw& view) : section_(section), view_(view) {}

  // Strips, outline, traces and zero line as the view options say; nothing when
  // the section's box misses the window.
  void Draw(int32_t viewFlags) const;
  // The section's outline in red, and the strip beginning at `wall` in orange
  // (the last wall: its own line) and the line of `trace` in cyan where they are
  // not -1.
  void DrawSelection(int wall, int trace) const;
  // The start/finish marker at the section's start, drawn even when the section
  // lies outside the window.
  void DrawStartFinish() const;
  // Blanks the section's box.
  void EraseBox() const;
  // Blanks any box of the plan: white pen and brush, then the pen black again.
  static void EraseBox(const TScaleDraw& view, const TRect& box);

 private:
  const TSection& section_;
  const TScaleDraw& view_;
};

}  // namespace meridal
