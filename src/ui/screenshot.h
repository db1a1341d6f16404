#pragma once
// A picture of the main window for the documentation: the open track (a new one
// when none is open) with its tree expanded and a section's rows listed.
#include <QString>

namespace meridal {

class TFormMain;

// Saves the picture as a PNG file; false when it could not be taken or written.
bool TakeScreenshot(TFormMain& window, const QString& path);

}  // namespace meridal
