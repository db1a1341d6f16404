#pragma once
// The one file the program keeps its settings in between runs, meridal.conf under
// the user's configuration folder (or the test one while QStandardPaths is in
// test mode): the recent files, the history's memory cap, the value dialogs'
// bases.
#include <QString>

namespace meridal {

QString SettingsFile();

}  // namespace meridal
