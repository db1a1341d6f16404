#include "ui/shape_tool.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>
#include <cmath>

#include "graphics/scale_draw.h"
#include "model/curved_section.h"
#include "model/track.h"
#include "model/units.h"
#include "shape/readout.h"
#include "shell/document_shell.h"

namespace meridal {

using shape::Handle;

TShapeTool::TShapeTool(TDocumentShell& shell, QWidget& viewport) : shell_(shell), viewport_(viewport) {}

TShapeTool::~TShapeTool() = default;

const TScaleDraw* TShapeTool::View() const { return shell_.Track() ? shell_.ScaleDraw.get() : nullptr; }

const TSection* TShapeTool::Selected() const {
  const TDocument* document = shell_.Document();
  if (!document || !View()) return nullptr;
  const int s = document->Selection().section;
  return s >= 0 && s < document->Track().NumberOfSections() ? document->Track().Section(s) : nullptr;
}

std::optional<QPoint> TShapeTool::HandlePixel(Handle handle) const {
  const TSection* section = Selected();
  if (!section || !shape::HasHandle(*section, handle) || handle == Handle::Move) return std::nullopt;
  const TScaleDraw& view = *View();
  const TPointD p = shape::HandlePoint(*section, handle, kHeadingPixels / view.PixelsPerUnit());
  return QPoint(view.ToWindowX(p.x), view.ToWindowY(p.y));
}

std::optional<Handle> TShapeTool::HandleAt(QPoint pixel) const {
  // The end before the heading before the radius: the end is what is most often dragged.
  for (Handle handle : {Handle::End, Handle::Heading, Handle::Radius})
    if (const auto at = HandlePixel(handle))
      if ((*at - pixel).manhattanLength() <= kGrabPixels * 2 && std::abs(at->x() - pixel.x()) <= kGrabPixels &&
          std::abs(at->y() - pixel.y()) <= kGrabPixels)
        return handle;
  return std::nullopt;
}

shape::TSnapRules TShapeTool::Rules(Qt::KeyboardModifiers modifiers) const {
  shape::TSnapRules rules;
  const double ppu = View() ? View()->PixelsPerUnit() : 1;
  rules.on = snapOn != (ctrlAtPress_ || bool(modifiers & Qt::ControlModifier));
  rules.reach = kReachPixels / ppu;
  rules.grid = shape::GridMetres(ppu) * kUnitsPerMeter;
  rules.angle = angleStep;
  return rules;
}

TPointD TShapeTool::Follow(QPoint pixel, Qt::KeyboardModifiers modifiers) {
  // In pixels turned into world units at the zoom: the plan may scroll under the
  // pointer as the track's bounds change, the handle still goes as the hand does.
  const double share = (modifiers & Qt::ShiftModifier ? 0.1 : 1.0) / View()->PixelsPerUnit();
  followed_.x += (pixel.x() - lastPixel_.x()) * share;
  followed_.y -= (pixel.y() - lastPixel_.y()) * share;
  lastPixel_ = pixel;
  return followed_;
}

bool TShapeTool::Press(QPoint pixel, Qt::KeyboardModifiers modifiers) {
  const TSection* section = Selected();
  if (!section || Active()) return false;
  const TScaleDraw& view = *View();
  const TPointD world = {view.ToWorldX(pixel.x()), view.ToWorldY(pixel.y())};
  std::optional<Handle> handle = HandleAt(pixel);
  const int s = section->Number;
  pointer_ = pixel;
  modifiers_ = modifiers;
  ctrlAtPress_ = modifiers & Qt::ControlModifier;
  drawArc_ = modifiers & Qt::ShiftModifier;
  if (handle == Handle::End && (modifiers & Qt::AltModifier)) {
    if (!shape::MayDrawFrom(*shell_.Track(), s)) return false;
    drawFrom_ = s;
    followed_ = world;
    drawing_ = DrawAim(modifiers);
    Update();
    return true;
  }
  if (!handle && (modifiers & Qt::ShiftModifier) && section->HitTest(world.x, world.y)) handle = Handle::Move;
  if (!handle) return false;
  // The handle follows the pointer from where it was grabbed: no jump on the press.
  followed_ = *handle == Handle::Move ? world : shape::HandlePoint(*section, *handle, kHeadingPixels / view.PixelsPerUnit());
  lastPixel_ = pixel;
  shape::TDragOptions options;
  options.keepJoined = keepJoined;
  options.snap = Rules(modifiers);
  drag_ = std::make_unique<shape::TDocumentDrag>(*shell_.Document(), s, *handle, followed_, options);
  Update();
  return true;
}

shape::TDrawAim TShapeTool::DrawAim(Qt::KeyboardModifiers modifiers) const {
  const auto kind = drawArc_ ? shape::DrawKind::Arc : shape::DrawKind::Straight;
  return shape::AimDraw(*shell_.Track(), drawFrom_, kind, followed_, Rules(modifiers));
}

bool TShapeTool::Move(QPoint pixel, Qt::KeyboardModifiers modifiers) {
  if (!Active() || !View()) return false;
  pointer_ = pixel;
  modifiers_ = modifiers;
  if (drawing_) {
    // Shift at the press chose the arc: no finer pace here.
    const TScaleDraw& view = *View();
    followed_ = {view.ToWorldX(pixel.x()), view.ToWorldY(pixel.y())};
    drawing_ = DrawAim(modifiers);
    Update();
    return true;
  }
  const bool fine = (modifiers & Qt::ShiftModifier) && drag_->Drag()->Grabbed() != Handle::Move;
  const TPointD p = Follow(pixel, fine ? Qt::ShiftModifier : Qt::NoModifier);
  drag_->Drag()->SetSnap(Rules(modifiers));
  drag_->Move(p);
  Update();
  return true;
}

bool TShapeTool::Release(QPoint pixel, Qt::KeyboardModifiers modifiers) {
  if (!Active()) return false;
  Move(pixel, modifiers);
  if (drawing_) {
    const shape::TDrawAim aim = *drawing_;
    drawing_.reset();
    shape::Stop stop = aim.stop;
    if (stop == shape::Stop::None)
      shell_.Document()->Change([&](history::TEditor& editor) {
        auto step = shape::DrawSection(editor.Track(), drawFrom_, aim, stop);
        return step ? editor.Record(std::move(step)) : history::Outcome::Refused;
      });
  } else {
    drag_->Release();
    drag_.reset();
  }
  Update();
  return true;
}

bool TShapeTool::Key(const QKeyEvent& event) {
  if (!Active()) return false;
  if (event.key() == Qt::Key_Escape) {
    Cancel();
    return true;
  }
  if (event.key() == Qt::Key_A) {
    angleStep = shape::NextAngleStep(angleStep);
    Move(pointer_, event.modifiers());
    return true;
  }
  if (event.key() == Qt::Key_Control) {
    // Snapping follows the key at once.
    if (drawing_) {
      drawing_ = DrawAim(event.modifiers());
      Update();
    }
    return false;
  }
  return false;
}

void TShapeTool::Cancel() {
  if (drag_) drag_->Cancel();
  drag_.reset();
  drawing_.reset();
  Update();
}

bool TShapeTool::MovingBody() const { return drag_ && drag_->Drag() && drag_->Drag()->Grabbed() == Handle::Move; }

QString TShapeTool::Readout() const {
  const TTrack* track = shell_.Track();
  if (!track) return {};
  if (drawing_) {
    std::string text = shape::DrawReadout(*drawing_) + "\n" + shape::LoopText(*track);
    if (drawing_->landed) text += "\nSnap on the next start";
    return QString::fromStdString(text);
  }
  if (!drag_ || !drag_->Drag()) return {};
  return QString::fromStdString(shape::DragReadout(*track, *drag_->Drag()));
}

QString TShapeTool::StopMessage() const {
  if (drawing_) return QString::fromStdString(shape::StopText(drawing_->stop));
  if (!drag_ || !drag_->Drag()) return {};
  return QString::fromStdString(shape::StopText(drag_->LastMove().stop));
}

void TShapeTool::Update() { viewport_.update(); }

void TShapeTool::Paint(QPainter& painter) const {
  const TSection* section = Selected();
  if (!section) return;
  const TScaleDraw& view = *View();
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  const QColor handleColour(20, 90, 200);
  painter.setPen(QPen(handleColour, 1.5));
  if (const auto end = HandlePixel(Handle::End)) {
    if (const auto heading = HandlePixel(Handle::Heading)) {
      painter.setPen(QPen(handleColour, 1, Qt::DashLine));
      painter.drawLine(*end, *heading);
      painter.setPen(QPen(handleColour, 1.5));
      painter.setBrush(Qt::white);
      painter.drawEllipse(*heading, 4, 4);
    }
    painter.setBrush(handleColour);
    painter.drawRect(QRect(end->x() - 4, end->y() - 4, 8, 8));
  }
  if (const auto radius = HandlePixel(Handle::Radius)) {
    painter.setBrush(Qt::white);
    painter.drawEllipse(*radius, 5, 5);
  }
  if (drawing_ && drawing_->stop == shape::Stop::None && drawFrom_ >= 0) {
    // The section being drawn, as a line or an arc from the end.
    const TSection& from = *shell_.Track()->Section(drawFrom_);
    const double theta = OrientationToRadians(from.EndOrientation());
    const double ex = from.EndX(), ey = from.EndY();
    QPainterPath path(QPointF(view.ToWindowX(ex), view.ToWindowY(ey)));
    const int steps = drawing_->kind == shape::DrawKind::Arc ? 48 : 1;
    for (int i = 1; i <= steps; ++i) {
      double x = ex, y = ey;
      if (drawing_->kind == shape::DrawKind::Straight) {
        x += drawing_->length * std::cos(theta);
        y += drawing_->length * std::sin(theta);
      } else {
        const double r = double(drawing_->radius), a = CurvatureToRadians(int32_t(drawing_->curvature)) * i / steps;
        // Along the circle that leaves the end tangentially, its centre to the left.
        x += r * (std::sin(theta + a) - std::sin(theta));
        y += r * (std::cos(theta) - std::cos(theta + a));
      }
      path.lineTo(view.ToWindowX(x), view.ToWindowY(y));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(200, 60, 20), 2));
    painter.drawPath(path);
  }
  const QString text = Readout();
  if (!text.isEmpty()) {
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect box = metrics.boundingRect(QRect(0, 0, 600, 200), Qt::AlignLeft, text).adjusted(-6, -4, 6, 4);
    QRect placed = box.translated(pointer_ + QPoint(18, 18) - box.topLeft());
    // Kept within the window.
    if (placed.right() > viewport_.width()) placed.moveRight(pointer_.x() - 12);
    if (placed.bottom() > viewport_.height()) placed.moveBottom(pointer_.y() - 12);
    painter.setPen(QColor(90, 90, 90));
    painter.setBrush(QColor(255, 255, 225, 235));
    painter.drawRect(placed);
    painter.setPen(Qt::black);
    painter.drawText(placed.adjusted(6, 4, -6, -4), Qt::AlignLeft, text);
  }
  painter.restore();
}

}  // namespace meridal
