#include "ui/ui_resources.h"

#include <QtGlobal>

static void InitMeridalResources() { Q_INIT_RESOURCE(meridal); }

namespace meridal {

void EnsureResources() {
  static const bool done = (InitMeridalResources(), true);
  (void)done;
}

QIcon ProgramIcon() {
  EnsureResources();
  return QIcon(QStringLiteral(":/icons/meridal.svg"));
}

}  // namespace meridal
