#include "ui/picture_export.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <algorithm>

#include "graphics/offscreen_window.h"
#include "graphics/profile_drawing.h"
#include "graphics/profile_view.h"
#include "graphics/profile_sampling.h"
#include "graphics/scale_draw.h"
#include "graphics/track_painter.h"
#include "model/object_path.h"
#include "model/track.h"
#include "shell/shell_texts.h"
#include "ui/window_canvas.h"

namespace meridal {

bool DrawPlanPicture(QPainter& painter, QSize size, const TTrack& track, const TObjectPath& selection,
                     const TScaleDraw& shown, int32_t viewFlags, bool smooth) {
  TWindowCanvas canvas(painter, size, smooth);
  TOffscreenWindow window(canvas);
  TScaleDraw view(window, shown.Bounds(), shown.SizePixels());
  // The window's mapping itself, scaled to the picture: the window's view, not
  // one held to the drawing's corner.
  view.SetFreeOrigin(true);
  const double shownWidth = std::max(shown.ClientWidth(), 1), shownHeight = std::max(shown.ClientHeight(), 1);
  const double factor = std::min(size.width() / shownWidth, size.height() / shownHeight);
  const double ppu = shown.PixelsPerUnit() * factor;
  // The shown part's top-left corner, placed so that the part sits in the middle.
  const double originX = shown.OriginX() - (size.width() - shownWidth * factor) / 2 / ppu;
  const double originY = shown.OriginY() + (size.height() - shownHeight * factor) / 2 / ppu;
  if (!view.SetMapping(ppu, originX, originY)) return false;
  // The one call that draws the plan, as the graphics window's FormPaint makes it.
  TTrackPainter(track).Draw(view, viewFlags, selection);
  canvas.Finish();
  return true;
}

void DrawProfilePicture(QPainter& painter, QSize size, const TTrack& track, const TObjectPath& selection,
                        const TProfileView& view, bool smooth) {
  TProfileView shown = view;
  shown.SetExtent(TrackDistances(track, SectionStarts(track)));
  TWindowCanvas canvas(painter, size, smooth);
  TProfileDrawing().Draw(track, selection, shown, canvas);
  canvas.Finish();
}

bool WritePicture(const QString& path, QSize size, const std::function<bool(QPainter&)>& draw, QString& error) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const bool svg = QFileInfo(path).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0;
  bool drawn = false;
  if (svg) {
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    // At the web's 96 pixels an inch, the picture's size in pixels is the one asked for.
    generator.setResolution(96);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QFileInfo(path).completeBaseName());
    generator.setDescription(QStringLiteral("Drawn by Meridal"));
    QPainter painter(&generator);
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    drawn = draw(painter);
  } else {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      drawn = draw(painter);
    }
    drawn = drawn && image.save(&buffer, "PNG");
  }
  if (!drawn) {
    error = QStringLiteral("The picture cannot be drawn at %1 \u00d7 %2 pixels.").arg(size.width()).arg(size.height());
    return false;
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    error = QStringLiteral("%1\n%2: %3").arg(QString::fromLatin1(kCannotOpenFile), path, file.errorString());
    return false;
  }
  return true;
}

}  // namespace meridal
