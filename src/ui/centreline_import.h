#pragma once
// File > Import Centreline…: a circuit's centreline (CSV, GPX or GeoJSON) read,
// fitted with straights and arcs as `meridal-cli fit` does by default (0.5 m,
// three traces), and opened as a new untitled document, the source line drawn
// over the plan until the track is first changed. What the reader or the fit
// refuses, and what they warn of, shows in a message box; the fit's summary in
// the status bar.
#include <string>

namespace meridal {

class TFormMain;

// Asks for the file (a modified document is offered for saving first).
void ImportCentrelineClick(TFormMain& window);
// Reads and fits the file at `path`; false, the open document kept, when it
// cannot be read or fitted.
bool ImportCentrelinePath(TFormMain& window, const std::string& path);

}  // namespace meridal
