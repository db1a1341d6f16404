#include "ui/plan/tools/section_band.h"

#include <QApplication>
#include <QPolygon>
#include <QRubberBand>
#include <QWidget>
#include <algorithm>

#include "graphics/scale_draw.h"
#include "graphics/section_paths.h"
#include "model/track.h"

namespace meridal {

TSectionBand::TSectionBand(QWidget& surface) : surface_(surface) {}

TSectionBand::~TSectionBand() = default;

void TSectionBand::Press(QPoint at) {
  from_ = at;
  pressed_ = true;
  dragging_ = false;
}

bool TSectionBand::Move(QPoint at) {
  if (!pressed_) return false;
  if (!dragging_ && (at - from_).manhattanLength() < QApplication::startDragDistance()) return true;
  if (!band_) band_ = std::make_unique<QRubberBand>(QRubberBand::Rectangle, &surface_);
  dragging_ = true;
  band_->setGeometry(Rectangle(at));
  band_->show();
  return true;
}

std::optional<QRect> TSectionBand::Release(QPoint at) {
  if (!pressed_) return std::nullopt;
  const bool dragged = dragging_ || (at - from_).manhattanLength() >= QApplication::startDragDistance();
  Cancel();
  if (!dragged) return std::nullopt;
  return Rectangle(at);
}

bool TSectionBand::Cancel() {
  const bool was = pressed_;
  pressed_ = dragging_ = false;
  if (band_) band_->hide();
  return was;
}

namespace {

// The closed outline of a section between its outermost walls, in window pixels.
QPolygon Outline(const TSection& section, const TScaleDraw& view) {
  PixelPath path;
  const int walls = section.NumberOfWalls();
  if (const auto* straight = dynamic_cast<const TStraightSection*>(&section))
    StraightPaths(*straight, view).Outline(0, walls - 1, path);
  else if (const auto* arc = dynamic_cast<const TCurvedSection*>(&section))
    CurvedPaths(*arc, view).Outline(0, walls - 1, path);
  QPolygon polygon;
  polygon.reserve(path.size());
  for (int i = 0; i < path.size(); ++i) polygon.append(QPoint(path[i].x, path[i].y));
  return polygon;
}

}  // namespace

TSectionRun SectionsTouched(const TTrack& track, const TScaleDraw& view, const QRect& pixels) {
  // Checked first against the sections' boxes in world units, then exactly
  // against the outline of each section whose box meets the rectangle.
  const double x0 = view.ToWorldX(pixels.left()), x1 = view.ToWorldX(pixels.right() + 1);
  const double y0 = view.ToWorldY(pixels.bottom() + 1), y1 = view.ToWorldY(pixels.top());
  const QPolygon band(QRect(pixels.topLeft(), pixels.size() + QSize(1, 1)), true);
  TSectionRun run;
  for (int s = 0; s < track.NumberOfSections(); ++s) {
    const TSection& section = *track.Section(s);
    const TRect& box = section.Extent;
    if (box.right < std::min(x0, x1) || box.left > std::max(x0, x1) || box.top < std::min(y0, y1) ||
        box.bottom > std::max(y0, y1))
      continue;
    if (section.NumberOfWalls() > 1 && !Outline(section, view).intersects(band)) continue;
    if (run.first < 0) run.first = s;
    run.last = s;
  }
  return run;
}

QPoint SectionClickPoint(const TSection& section, const TScaleDraw& view) {
  constexpr double kAlong = 0.4;
  double x, y;
  if (const auto* arc = dynamic_cast<const TCurvedSection*>(&section)) {
    const double a = arc->StartAngle + arc->SweptAngle() * kAlong;
    x = arc->LocalToX(a, arc->Radius);
    y = arc->LocalToY(a, arc->Radius);
  } else {
    x = section.LocalToX(section.Length * kAlong, 0);
    y = section.LocalToY(section.Length * kAlong, 0);
  }
  return QPoint(view.ToWindowX(x), view.ToWindowY(y));
}

}  // namespace meridal
