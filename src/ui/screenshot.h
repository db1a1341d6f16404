#pragma once
// A picture of the main window for the documentation: the open track (a new one
// when none is open) in the tree and graphics windows side by side, the tree
// expanded and a section selected, or one of its walls; or the elevation profile
// or the track check filling the frame.
#include <QString>

namespace meridal {

class TFormMain;

// Profile: the middle trace's altitude of the section is selected and its trace
// coloured by its gradient. Check: the first problem's row is chosen. History: a
// few edits made and the last one undone, the History window beside the others.
// Drag: the first arc's end being dragged, with its read-out. DrawArc: an arc
// being drawn out of the last section's end. DrawStraight: a straight drawn from
// there, its length being typed, the Tools toolbar showing Draw Straight. Measure: the plan alone with a measuring drag along the track. Background: the
// plan alone over an aerial picture, with the Background Image dialog. Centreline: the plan
// alone of a fitted centreline (the file given) with the source line over it. SectionRun:
// a run of sections selected in the plan, beside the tree and its list.
enum class ScreenshotView { Main, Profile, Check, History, Measure, Background, Drag, DrawArc, DrawStraight, Centreline, SectionRun, Lap };

struct ScreenshotOptions {
  ScreenshotView view = ScreenshotView::Main;
  int wall = -1;        // >= 0: that wall of the section is selected after the section
  bool edited = false;  // a value changed and the track exported first: the title's
                        // modified mark and the status bar's note show
};

// Saves the picture as a PNG file; false when it could not be taken or written.
// Under a window manager the picture takes in the frame with its title bar.
bool TakeScreenshot(TFormMain& window, const QString& path, const ScreenshotOptions& options = {});

// The picture of the next message box to come up (a warning while a file opens),
// the frame filling the screen behind it; the box is then answered. Call it
// before whatever shows the box; `taken` is set once the picture is written.
void ScreenshotOfNextMessage(TFormMain& window, const QString& path, bool* taken);

}  // namespace meridal
