#include "ui/cursors.h"

#include <QBitmap>

#include "ui/ui_resources.h"

namespace meridal {

namespace {

struct CursorResource {
  const char* name;
  const char* file;
  int hotX, hotY;
};

// The centre cross points with its middle; the magnifiers with their top-left corner.
const CursorResource kCursorResources[] = {
    {"CENTER", "center", 16, 16},
    {"ZOOMIN", "zoomin", 0, 0},
    {"ZOOMOUT", "zoomout", 0, 0},
};

}  // namespace

QCursor TCursorSet::LoadByName(const QString& name) {
  EnsureResources();
  for (const auto& r : kCursorResources) {
    if (name != QLatin1String(r.name)) continue;
    const QString base = QStringLiteral(":/cursors/%1").arg(QLatin1String(r.file));
    const QBitmap bitmap(base + QStringLiteral(".xbm"));
    const QBitmap mask(base + QStringLiteral("_mask.xbm"));
    if (bitmap.isNull() || mask.isNull()) break;
    return QCursor(bitmap, mask, r.hotX, r.hotY);
  }
  return QCursor(Qt::ArrowCursor);
}

void TCursorSet::Load() {
  cursors_[kCursorCenter] = LoadByName(QStringLiteral("CENTER"));
  cursors_[kCursorZoomIn] = LoadByName(QStringLiteral("ZOOMIN"));
  cursors_[kCursorZoomOut] = LoadByName(QStringLiteral("ZOOMOUT"));
}

QCursor TCursorSet::Cursor(int number) const {
  if (number < kCursorCenter || number > kCursorZoomOut) return QCursor(Qt::ArrowCursor);
  return cursors_[number];
}

}  // namespace meridal
