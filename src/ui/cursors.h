#pragma once
// The graphics window's three mouse cursors, loaded from the program's resources
// by name and kept under their numbers: 1 "CENTER", 2 "ZOOMIN", 3 "ZOOMOUT".
#include <QCursor>
#include <QString>

namespace meridal {

enum CursorNumber : int { kCursorCenter = 1, kCursorZoomIn = 2, kCursorZoomOut = 3 };

class TCursorSet {
 public:
  // Loads the three cursors (start-up of the main window).
  void Load();
  // The cursor of a number; the arrow for any other number.
  QCursor Cursor(int number) const;

  // A 32 x 32 monochrome cursor resource by name, with its hot spot.
  static QCursor LoadByName(const QString& name);

 private:
  QCursor cursors_[4];
};

}  // namespace meridal
