#pragma once
// A picture of the main window for the documentation: the open track (a new one
// when none is open) in the tree and graphics windows side by side, the tree
// expanded and a section selected, or one of its walls.
#include <QString>

namespace meridal {

class TFormMain;

// Saves the picture as a PNG file; false when it could not be taken or written.
// With `wall` >= 0 that wall of the section is selected after the section.
bool TakeScreenshot(TFormMain& window, const QString& path, int wall = -1);

}  // namespace meridal
