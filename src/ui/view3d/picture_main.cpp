// meridal-3d-picture: a picture of a track in the 3D view, for the documentation.
//   meridal-3d-picture FILE OUT.png [--size WxH] [--heights 1|2|5|10] [--select N]
//                      [--drive N [--along METRES]] [--plain]
// Needs a display with OpenGL 3.3 (xvfb-run gives one through Mesa).
#include <QApplication>
#include <QImage>
#include <QTimer>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "files/track_formats.h"
#include "model/track.h"
#include "platform/messages.h"
#include "ui/view3d/view3d.h"
#include "view_file/view_file.h"

namespace {

class TStderrMessages : public meridal::IMessages {
 public:
  meridal::MessageAnswer Show(const std::string& title, const std::string& text, meridal::MessageIcon,
                              meridal::MessageButtons) override {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    return meridal::MessageAnswer::Ok;
  }
};

// Each side of the picture: a window, and a framebuffer, that Mesa's software
// renderer draws in some seconds, with half a gigabyte at most.
constexpr int kMaxSide = 4096;

int Usage() {
  std::fprintf(stderr,
               "usage: meridal-3d-picture FILE OUT.png [--size WxH] [--heights 1|2|5|10] [--select N]\n"
               "                          [--drive N [--along METRES]] [--plain]\n"
               "  --size: each side 1 to 4096 pixels\n");
  return 2;
}

// A whole number from `min` to `max`, the whole text of it.
bool Whole(const QString& text, int min, int max, int& value) {
  bool ok = false;
  const int number = text.toInt(&ok);
  if (!ok || number < min || number > max) return false;
  value = number;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.size() < 2) return Usage();
  int width = 1280, height = 800, heights = 1, select = -1, drive = -1;
  double along = 0;
  bool plain = false;
  // A value that is not what the option takes is refused, not read as 0: a picture
  // of 0 x 0 pixels, or of gigabytes, or of another section than the one asked for.
  for (int i = 2; i < args.size(); ++i) {
    const QString& a = args[i];
    const QString value = i + 1 < args.size() ? args[i + 1] : QString();
    bool ok = true;
    if (a == "--size") {
      const QStringList sides = value.split('x');
      ok = sides.size() == 2 && Whole(sides[0], 1, kMaxSide, width) && Whole(sides[1], 1, kMaxSide, height);
      ++i;
    } else if (a == "--heights") {
      ok = Whole(value, 1, 10, heights) && (heights == 1 || heights == 2 || heights == 5 || heights == 10);
      ++i;
    } else if (a == "--select") {
      ok = Whole(value, 0, INT32_MAX, select), ++i;
    } else if (a == "--drive") {
      ok = Whole(value, 0, INT32_MAX, drive), ++i;
    } else if (a == "--along") {
      along = value.toDouble(&ok), ++i;
      ok = ok && std::isfinite(along);
    } else if (a == "--plain") {
      plain = true;
    } else {
      ok = false;
    }
    if (!ok) return Usage();
  }
  meridal::TTrack track;
  TStderrMessages messages;
  if (meridal::LoadTrackFile(args[0].toStdString(), std::nullopt, track, messages).status != meridal::FileStatus::Ok)
    return 1;
  for (const int section : {select, drive}) {
    if (section >= track.NumberOfSections()) {
      std::fprintf(stderr, "meridal-3d-picture: the track has no section %d\n", section);
      return 1;
    }
  }

  meridal::TView3D view;
  view.resize(width, height);
  view.show();
  if (!view.OpenGLAvailable()) {
    std::fprintf(stderr, "meridal-3d-picture: no OpenGL 3.3 on this display\n");
    return 1;
  }
  // The picture is of the drawing alone, the size asked for: the window grows by
  // its tool bar.
  view.resize(width, height + view.height() - view.Viewport()->height());
  view.SetTrack(track);
  // A fitted track stands in the terrain its side file names.
  std::string error;
  const auto settings = meridal::ReadViewSettings(args[0].toStdString(), error);
  if (settings && settings->terrain && !view.SetTerrain(settings->terrain, error))
    std::fprintf(stderr, "meridal-3d-picture: warning: the terrain model is not drawn: %s\n", error.c_str());
  view.SetHeightExaggeration(heights);
  view.SetSkyBackground(!plain);
  view.ZoomToFit();
  if (select >= 0) view.SetSelectedSection(select);
  if (drive >= 0) {
    view.SetSelectedSection(drive);
    view.SetDriveMode(true);
    view.DriveAlong(along);
  }
  int code = 0;
  QTimer::singleShot(200, [&] {
    const QImage picture = view.Picture();
    if (picture.isNull() || !picture.save(args[1])) {
      std::fprintf(stderr, "meridal-3d-picture: cannot write %s\n", qPrintable(args[1]));
      code = 1;
    }
    app.quit();
  });
  app.exec();
  return code;
}
