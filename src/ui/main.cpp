// meridal [FILE]: the track editor, opening FILE when one is given: a project
// (*.mrd), a JSON text (*.json), or a track file (*.trk), which is imported.
// Without one it opens the example circuit installed with it.
#include <QApplication>
#include <QCommandLineParser>
#include <clocale>

#include "platform/memory_hints.h"
#include "program_version.h"
#include "ui/centreline_import.h"
#include "ui/example_tracks.h"
#include "ui/main_window.h"
#include "ui/screenshot.h"
#include "ui/ui_resources.h"

int main(int argc, char* argv[]) {
  meridal::RestartWithHugePages(argv);
  QApplication app(argc, argv);
  // The core formats and reads numbers with the C library: never with a decimal comma.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QStringLiteral("Meridal"));
  QApplication::setApplicationVersion(QLatin1String(meridal::kProgramVersion));
  // The desktop entry's name: the window is shown with its icon and name.
  QGuiApplication::setDesktopFileName(QStringLiteral("meridal"));
  QApplication::setWindowIcon(meridal::ProgramIcon());

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Meridal, the track editor"));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("file"),
                               QStringLiteral("A track to open: a project (*.mrd), a JSON text (*.json), "
                                              "or a track file (*.trk) to import. Without one, the example "
                                              "circuit installed with the program."),
                               QStringLiteral("[FILE]"));
  // Saves a picture of the window with the track's first sections listed, then quits.
  QCommandLineOption screenshot(QStringLiteral("screenshot"), QString(), QStringLiteral("png"));
  screenshot.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOption(screenshot);
  // With the screenshot: that wall of the section is selected too.
  QCommandLineOption screenshotWall(QStringLiteral("screenshot-wall"), QString(), QStringLiteral("number"));
  screenshotWall.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOption(screenshotWall);
  // With the screenshot: a value changed and the track exported first, so that the
  // title's modified mark and the status bar's note show.
  QCommandLineOption screenshotEdited(QStringLiteral("screenshot-edited"));
  screenshotEdited.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOption(screenshotEdited);
  // With the screenshot: the elevation profile or the track check fills the frame.
  QCommandLineOption screenshotView(QStringLiteral("screenshot-view"), QString(), QStringLiteral("profile|check|history|measure|background|drag|draw-arc|draw-straight|centreline|section-run"));
  screenshotView.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOption(screenshotView);
  // A picture of the first message box the opening of the file brings up.
  QCommandLineOption screenshotMessage(QStringLiteral("screenshot-message"), QString(), QStringLiteral("png"));
  screenshotMessage.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOption(screenshotMessage);
  parser.process(app);

  meridal::TFormMain window;
  window.show();
  QStringList files = parser.positionalArguments();
  if (files.isEmpty()) {
    const QString example = meridal::ExampleCircuitPath();
    if (!example.isEmpty()) files.append(example);
  }
  bool messageTaken = false;
  if (parser.isSet(screenshotMessage))
    meridal::ScreenshotOfNextMessage(window, parser.value(screenshotMessage), &messageTaken);
  // The centreline view takes a centreline, fitted as File > Import Centreline… does.
  const bool centreline = parser.isSet(screenshot) && parser.value(screenshotView) == QStringLiteral("centreline");
  if (!files.isEmpty() && centreline) meridal::ImportCentrelinePath(window, files.front().toStdString());
  else if (!files.isEmpty()) window.OpenAtStartUp(files.front());
  if (parser.isSet(screenshotMessage)) return messageTaken ? 0 : 1;
  if (parser.isSet(screenshot)) {
    bool numbered = false;
    const int wall = parser.value(screenshotWall).toInt(&numbered);
    meridal::ScreenshotOptions options;
    options.wall = numbered ? wall : -1;
    options.edited = parser.isSet(screenshotEdited);
    const QString view = parser.value(screenshotView);
    if (view == QStringLiteral("profile")) options.view = meridal::ScreenshotView::Profile;
    if (view == QStringLiteral("check")) options.view = meridal::ScreenshotView::Check;
    if (view == QStringLiteral("history")) options.view = meridal::ScreenshotView::History;
    if (view == QStringLiteral("measure")) options.view = meridal::ScreenshotView::Measure;
    if (view == QStringLiteral("background")) options.view = meridal::ScreenshotView::Background;
    if (view == QStringLiteral("drag")) options.view = meridal::ScreenshotView::Drag;
    if (view == QStringLiteral("draw-arc")) options.view = meridal::ScreenshotView::DrawArc;
    if (view == QStringLiteral("draw-straight")) options.view = meridal::ScreenshotView::DrawStraight;
    if (centreline) options.view = meridal::ScreenshotView::Centreline;
    if (view == QStringLiteral("section-run")) options.view = meridal::ScreenshotView::SectionRun;
    if (view == QStringLiteral("lap")) options.view = meridal::ScreenshotView::Lap;
    return meridal::TakeScreenshot(window, parser.value(screenshot), options) ? 0 : 1;
  }
  return app.exec();
}
