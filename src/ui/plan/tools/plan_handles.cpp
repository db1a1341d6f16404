#include "ui/plan/tools/plan_handles.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "document/document.h"
#include "graphics/scale_draw.h"
#include "graphics/section_paths.h"
#include "model/track.h"
#include "shape/handle_geometry.h"
#include "ui/plan/tools/plan_tool.h"

namespace meridal {

using shape::Handle;

namespace {

constexpr double kLogicalSize = 12;
constexpr double kStandardDpi = 96;
const QColor kHandleColour(20, 90, 200);
const QColor kLitColour(255, 140, 0);

}  // namespace

double TPlanHandles::Size() const {
  // A logical pixel already follows the screen's pixel ratio; a screen that
  // reports more dots an inch without one gets larger handles still.
  return kLogicalSize * std::max(1.0, host_.Surface().logicalDpiX() / kStandardDpi);
}

const TSection* TPlanHandles::Selected() const {
  const TDocument& document = host_.Document();
  const int s = document.Selection().section;
  return s >= 0 && s < document.Track().NumberOfSections() ? document.Track().Section(s) : nullptr;
}

std::optional<QPoint> TPlanHandles::Pixel(Handle handle) const {
  const TSection* section = Selected();
  if (!section || !shape::HasHandle(*section, handle) || handle == Handle::Move) return std::nullopt;
  const TScaleDraw& view = host_.Scale();
  const TPointD p = shape::HandlePoint(*section, handle, HeadingPixels() / view.PixelsPerUnit());
  return QPoint(view.ToWindowX(p.x), view.ToWindowY(p.y));
}

std::optional<Handle> TPlanHandles::At(QPoint pixel) const {
  // On the handle, or within a few pixels of its edge.
  const double reach = Size() / 2 + 3;
  for (Handle handle : {Handle::End, Handle::Heading, Handle::Radius})
    if (const auto at = Pixel(handle))
      if (std::hypot(at->x() - pixel.x(), at->y() - pixel.y()) <= reach) return handle;
  return std::nullopt;
}

QPolygon TPlanHandles::Outline(const TSection& section, const TScaleDraw& view) {
  PixelPath path;
  const int last = std::max(section.NumberOfWalls() - 1, 0);
  if (const auto* arc = dynamic_cast<const TCurvedSection*>(&section)) CurvedPaths(*arc, view).Outline(0, last, path);
  else if (const auto* straight = dynamic_cast<const TStraightSection*>(&section))
    StraightPaths(*straight, view).Outline(0, last, path);
  QPolygon polygon;
  for (int i = 0; i < path.size(); ++i) polygon << QPoint(path[i].x, path[i].y);
  return polygon;
}

void TPlanHandles::Paint(QPainter& painter, std::optional<Handle> lit) const {
  if (!Selected()) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  const double size = Size(), half = size / 2;
  const auto pen = [&](Handle h) { return QPen(lit == h ? kLitColour : kHandleColour, lit == h ? 2.5 : 1.5); };
  if (const auto end = Pixel(Handle::End)) {
    if (const auto heading = Pixel(Handle::Heading)) {
      painter.setPen(QPen(kHandleColour, 1, Qt::DashLine));
      painter.drawLine(*end, *heading);
      painter.setPen(pen(Handle::Heading));
      painter.setBrush(lit == Handle::Heading ? kLitColour : QColor(Qt::white));
      painter.drawEllipse(QPointF(*heading), half * 0.85, half * 0.85);
    }
    painter.setPen(pen(Handle::End));
    painter.setBrush(lit == Handle::End ? kLitColour : kHandleColour);
    painter.drawRect(QRectF(end->x() - half, end->y() - half, size, size));
  }
  if (const auto radius = Pixel(Handle::Radius)) {
    painter.setPen(pen(Handle::Radius));
    painter.setBrush(lit == Handle::Radius ? kLitColour : QColor(Qt::white));
    painter.drawEllipse(QPointF(*radius), half, half);
  }
  painter.restore();
}

}  // namespace meridal
