#include "ui/settings_file.h"

#include <QStandardPaths>

namespace meridal {

QString SettingsFile() {
  return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/meridal.conf");
}

}  // namespace meridal
