#include "graphics/qt/offscreen_fonts.h"

#include <QGuiApplication>

namespace meridal {

void EnsureFonts() {
  if (QCoreApplication::instance()) return;
  static int argc = 3;
  static char name[] = "meridal", option[] = "-platform", platform[] = "offscreen";
  static char* argv[] = {name, option, platform, nullptr};
  // Never destroyed: it must outlive every painter of the run.
  static QGuiApplication* application = new QGuiApplication(argc, argv);
  (void)application;
}

}  // namespace meridal
