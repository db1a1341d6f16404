#include "ui/plan/tools/draw_tool.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>
#include <cmath>

#include "document/document.h"
#include "graphics/scale_draw.h"
#include "model/numbers.h"
#include "model/track.h"
#include "model/units.h"
#include "shape/readout.h"
#include "ui/plan/tools/readout_box.h"
#include "ui/plan/tools/shape_tool.h"

namespace meridal {

TDrawTool::TDrawTool(IPlanHost& host, const TShapeTool& shape) : TPlanTool(host), shape_(shape), handles_(host) {}

int TDrawTool::SourceAt(QPoint pixel) const {
  const TTrack& track = host_.Document().Track();
  const TScaleDraw& view = host_.Scale();
  // The open end nearest the press, within a few handles of it.
  int nearest = -1;
  double best = 3 * handles_.Size();
  for (int s = 0; s < track.NumberOfSections(); ++s) {
    const TSection& section = *track.Section(s);
    const double d = std::hypot(view.ToWindowX(section.EndX()) - pixel.x(), view.ToWindowY(section.EndY()) - pixel.y());
    if (d <= best && shape::MayDrawFrom(track, s)) best = d, nearest = s;
  }
  if (nearest >= 0) return nearest;
  const int selected = host_.Document().Selection().section;
  if (shape::MayDrawFrom(track, selected)) return selected;
  return track.NumberOfSections() - 1;
}

bool TDrawTool::Press(const TPlanPointer& p) {
  if (p.button != Qt::LeftButton || aim_) return false;
  const TTrack& track = host_.Document().Track();
  const PlanTool tool = host_.Current();
  if (tool == PlanTool::DrawStraight || tool == PlanTool::DrawArc) {
    from_ = SourceAt(p.pixel);
    kind_ = tool == PlanTool::DrawArc ? shape::DrawKind::Arc : shape::DrawKind::Straight;
  } else if (tool == PlanTool::Select && (p.modifiers & Qt::AltModifier) && handles_.At(p.pixel) == shape::Handle::End) {
    // Alt on the end handle, Alt+Shift for an arc.
    from_ = handles_.Selected() ? handles_.Selected()->Number : -1;
    if (!shape::MayDrawFrom(track, from_)) return false;
    kind_ = (p.modifiers & Qt::ShiftModifier) ? shape::DrawKind::Arc : shape::DrawKind::Straight;
  } else {
    return false;
  }
  if (!shape::MayDrawFrom(track, from_)) return tool != PlanTool::Select;
  ctrlAtPress_ = p.modifiers & Qt::ControlModifier;
  typed_.Clear();
  pointer_ = p.pixel;
  modifiers_ = p.modifiers;
  pointerWorld_ = {p.world.x(), p.world.y()};
  Aim();
  return true;
}

void TDrawTool::Aim() {
  const TTrack& track = host_.Document().Track();
  const shape::TDrawAim pointed =
      shape::AimDraw(track, from_, kind_, pointerWorld_, shape_.Rules(modifiers_, ctrlAtPress_));
  if (typed_.Empty()) {
    aim_ = pointed;
  } else if (const auto value = typed_.Value(kind_ == shape::DrawKind::Arc ? shape::Typed::Angle : shape::Typed::Length)) {
    // The arc keeps the radius and the side the pointer gives it.
    aim_ = shape::TypedDraw(pointed, *value);
  }
  host_.ToolChanged();
}

bool TDrawTool::Move(const TPlanPointer& p) {
  if (!aim_) return false;
  pointer_ = p.pixel;
  modifiers_ = p.modifiers;
  pointerWorld_ = {p.world.x(), p.world.y()};
  Aim();
  return true;
}

bool TDrawTool::Release(const TPlanPointer& p) {
  if (!aim_) return false;
  if (p.button != Qt::LeftButton) return true;
  Move(p);
  Finish();
  return true;
}

void TDrawTool::Finish() {
  const shape::TDrawAim aim = *aim_;
  const int from = from_;
  aim_.reset();
  typed_.Clear();
  if (aim.stop == shape::Stop::None)
    host_.Document().Change([&](history::TEditor& editor) {
      shape::Stop stop = aim.stop;
      auto step = shape::DrawSection(editor.Track(), from, aim, stop);
      return step ? editor.Record(std::move(step)) : history::Outcome::Refused;
    });
  host_.ToolChanged();
}

bool TDrawTool::Key(const QKeyEvent& event, bool pressed) {
  if (!aim_) return false;
  if (!pressed) {
    // Snapping follows Ctrl at once.
    if (event.key() == Qt::Key_Control) {
      modifiers_ = event.modifiers();
      Aim();
    }
    return false;
  }
  if (typed_.Key(event)) {
    Aim();
    return true;
  }
  switch (event.key()) {
    case Qt::Key_Escape:
      return Cancel();
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Finish();
      return true;
    case Qt::Key_Control:
      modifiers_ = event.modifiers();
      Aim();
      return false;
    default:
      return event.key() != Qt::Key_Shift && event.key() != Qt::Key_Alt;
  }
}

bool TDrawTool::Cancel() {
  if (!aim_) return false;
  aim_.reset();
  typed_.Clear();
  host_.ToolChanged();
  return true;
}

TPointD TDrawTool::DraftPoint(double fraction) const {
  const TSection& from = *host_.Document().Track().Section(from_);
  const double theta = OrientationToRadians(from.EndOrientation());
  TPointD p{from.EndX(), from.EndY()};
  if (aim_->kind == shape::DrawKind::Straight) {
    p.x += aim_->length * fraction * std::cos(theta);
    p.y += aim_->length * fraction * std::sin(theta);
    return p;
  }
  const double r = double(aim_->radius), a = CurvatureToRadians(int32_t(aim_->curvature)) * fraction;
  // Along the circle that leaves the end tangentially, its centre to the left.
  p.x += r * (std::sin(theta + a) - std::sin(theta));
  p.y += r * (std::cos(theta) - std::cos(theta + a));
  return p;
}

bool TDrawTool::DraftEnd(double& x, double& y, int32_t& orientation) const {
  if (!aim_ || aim_->stop != shape::Stop::None || from_ < 0) return false;
  const TPointD end = DraftPoint(1);
  x = end.x;
  y = end.y;
  orientation = host_.Document().Track().Section(from_)->EndOrientation();
  if (aim_->kind == shape::DrawKind::Arc)
    orientation = wrapAdd(orientation, int32_t(uint32_t(int32_t(aim_->curvature)) * 2u));
  return true;
}

QString TDrawTool::Readout() const {
  if (!aim_) return {};
  const TTrack& track = host_.Document().Track();
  std::string text = shape::DrawReadout(*aim_);
  double x = 0, y = 0;
  int32_t heading = 0;
  // The closure the draft would make, not the track's as it is.
  if (DraftEnd(x, y, heading)) text += "\n" + shape::DrawnLoopText(track, from_, x, y, heading);
  if (aim_->landed) text += "\nSnap on the next start";
  QString lines = QString::fromStdString(text);
  const QString typed = typed_.Line(aim_->kind == shape::DrawKind::Arc ? shape::Typed::Angle : shape::Typed::Length);
  if (!typed.isEmpty()) lines += QStringLiteral("\n") + typed;
  return lines;
}

QString TDrawTool::StopMessage() const { return aim_ ? QString::fromStdString(shape::StopText(aim_->stop)) : QString(); }

QString TDrawTool::Status() const {
  const PlanTool tool = host_.Current();
  if (aim_) {
    const QString stop = StopMessage();
    return stop.isEmpty() ? QString::fromStdString(shape::DrawReadout(*aim_)) : stop;
  }
  if (tool == PlanTool::DrawStraight)
    return QStringLiteral("Draw Straight: drag from an open end; type a length and press Enter");
  if (tool == PlanTool::DrawArc) return QStringLiteral("Draw Arc: drag from an open end; type a sweep and press Enter");
  return {};
}

void TDrawTool::Paint(QPainter& painter) const {
  if (!aim_) return;
  const TScaleDraw& view = host_.Scale();
  QPolygon drawn;  // what the read-out keeps clear of
  if (aim_->stop == shape::Stop::None && from_ >= 0) {
    // The section being drawn, as a line or an arc from the end.
    const TPointD start = DraftPoint(0);
    QPainterPath path(QPointF(view.ToWindowX(start.x), view.ToWindowY(start.y)));
    const int steps = aim_->kind == shape::DrawKind::Arc ? 48 : 1;
    for (int i = 1; i <= steps; ++i) {
      const TPointD p = DraftPoint(double(i) / steps);
      path.lineTo(view.ToWindowX(p.x), view.ToWindowY(p.y));
    }
    for (int i = 0; i < path.elementCount(); ++i) drawn << QPointF(path.elementAt(i)).toPoint();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(200, 60, 20), 2));
    painter.drawPath(path);
    painter.restore();
  }
  DrawReadout(painter, Readout(), pointer_, host_.Surface().rect(), drawn);
}

}  // namespace meridal
