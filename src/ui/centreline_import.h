#pragma once
// File > Import Centreline…: a circuit's centreline (CSV, GPX or GeoJSON) read,
// fitted with straights and arcs as `meridal-cli fit` fits it, with the options
// of the dialog that follows the file's choice, and opened as a new untitled
// document, the source line drawn over the plan until the track is first
// changed. The fit runs beside the window, which can cancel it. What the reader
// or the fit refuses, and what they warn of, shows in a message box; a track
// found outside the tolerance can be opened all the same; the fit's summary
// shows in the status bar.
#include <string>

#include "solve/centreline_fit.h"

namespace meridal {

class TFormMain;

// Asks for the file (a modified document is offered for saving first), then
// for the options.
void ImportCentrelineClick(TFormMain& window);
// Reads and fits the file at `path`; false, the open document kept, when it
// cannot be read or fitted, or the fit was cancelled.
bool ImportCentrelinePath(TFormMain& window, const std::string& path, const TFitOptions& options = {});

}  // namespace meridal
