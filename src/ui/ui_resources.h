#pragma once
// The program's compiled-in resources (icon, cursors) live in a static library,
// so they are registered explicitly before the first use.
#include <QIcon>

namespace meridal {

void EnsureResources();
// The program's icon.
QIcon ProgramIcon();

}  // namespace meridal
