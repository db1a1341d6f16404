#pragma once
// The example tracks that come with the program: installed under
// PREFIX/share/meridal/examples, found from the program's own folder, so that the
// editor finds them whichever folder it is started from and wherever it is installed.
#include <QString>

namespace meridal {

// The example circuit installed beside the program in `programFolder` (its bin
// folder), else in the desktop's data folders ($XDG_DATA_HOME, $XDG_DATA_DIRS);
// empty when there is none.
QString ExampleCircuitPath(const QString& programFolder);
// The same for the running program.
QString ExampleCircuitPath();

}  // namespace meridal
