#include "graphics/qt/offscreen_fonts.h"

#include <QGuiApplication>
#include <memory>

namespace meridal {

void EnsureFonts() {
  if (QCoreApplication::instance()) return;
  static int argc = 3;
  static char name[] = "meridal", option[] = "-platform", platform[] = "offscreen";
  static char* argv[] = {name, option, platform, nullptr};
  // Kept to the end of the run, after every painter, and then closed down with
  // the fonts it opened.
  static const std::unique_ptr<QGuiApplication> application = std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace meridal
