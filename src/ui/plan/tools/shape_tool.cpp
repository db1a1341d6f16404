#include "ui/plan/tools/shape_tool.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QWidget>

#include "document/document.h"
#include "graphics/scale_draw.h"
#include "model/track.h"
#include "model/units.h"
#include "shape/handle_geometry.h"
#include "shape/readout.h"
#include "ui/plan/tools/select_tool.h"

namespace meridal {

using shape::Handle;

TShapeTool::TShapeTool(IPlanHost& host) : TPlanTool(host), handles_(host) {}

TShapeTool::~TShapeTool() = default;

shape::TSnapRules TShapeTool::Rules(Qt::KeyboardModifiers modifiers, bool ctrlAtPress) const {
  shape::TSnapRules rules;
  const double ppu = host_.Scale().PixelsPerUnit();
  rules.on = snapOn != (ctrlAtPress || bool(modifiers & Qt::ControlModifier));
  rules.reach = kReachPixels / ppu;
  rules.grid = shape::GridMetres(ppu) * kUnitsPerMeter;
  rules.angle = angleStep;
  return rules;
}

TPointD TShapeTool::Follow(QPoint pixel, bool fine) {
  // In pixels turned into world units at the zoom: the handle goes as the hand does.
  const double share = (fine ? 0.1 : 1.0) / host_.Scale().PixelsPerUnit();
  followed_.x += (pixel.x() - lastPixel_.x()) * share;
  followed_.y -= (pixel.y() - lastPixel_.y()) * share;
  lastPixel_ = pixel;
  return followed_;
}

bool TShapeTool::Press(const TPlanPointer& p) {
  if (host_.Current() != PlanTool::Select || p.button != Qt::LeftButton || drag_) return false;
  const TSection* section = handles_.Selected();
  if (!section) return false;
  std::optional<Handle> handle = handles_.At(p.pixel);
  if (!handle && (p.modifiers & Qt::ShiftModifier) && section->HitTest(p.world.x(), p.world.y())) handle = Handle::Move;
  if (!handle) return false;
  pointer_ = lastPixel_ = p.pixel;
  modifiers_ = p.modifiers;
  ctrlAtPress_ = p.modifiers & Qt::ControlModifier;
  bodyPress_.reset();
  if (*handle == Handle::Move) bodyPress_ = p.pixel;
  typed_.Clear();
  // The handle follows the pointer from where it was grabbed: no jump on the press.
  followed_ = *handle == Handle::Move
                  ? TPointD{p.world.x(), p.world.y()}
                  : shape::HandlePoint(*section, *handle, handles_.HeadingPixels() / host_.Scale().PixelsPerUnit());
  shape::TDragOptions options;
  options.keepJoined = keepJoined;
  options.snap = Rules(p.modifiers, ctrlAtPress_);
  drag_ = std::make_unique<shape::TDocumentDrag>(host_.Document(), section->Number, *handle, followed_, options);
  host_.ToolChanged();
  return true;
}

bool TShapeTool::Move(const TPlanPointer& p) {
  if (!drag_) {
    // No button held: the handle under the pointer lights up.
    const auto lit = handles_.At(p.pixel);
    if (lit != lit_) {
      lit_ = lit;
      host_.ToolChanged();
    }
    return false;
  }
  pointer_ = p.pixel;
  modifiers_ = p.modifiers;
  if (bodyPress_ && (p.pixel - *bodyPress_).manhattanLength() >= QApplication::startDragDistance()) bodyPress_.reset();
  host_.SetDraft(true);
  if (!typed_.Empty()) {
    // A typed number leads: the pointer only moves the read-out.
    lastPixel_ = p.pixel;
    host_.ToolChanged();
    return true;
  }
  const bool fine = (p.modifiers & Qt::ShiftModifier) && drag_->Drag()->Grabbed() != Handle::Move;
  const TPointD to = Follow(p.pixel, fine);
  drag_->Drag()->SetSnap(Rules(p.modifiers, ctrlAtPress_));
  drag_->Move(to);
  host_.ToolChanged();
  return true;
}

bool TShapeTool::Release(const TPlanPointer& p) {
  if (!drag_ || p.button != Qt::LeftButton) return drag_ != nullptr;
  if (bodyPress_) {
    // Shift pressed and let go on the section without a drag: a Shift+click.
    Cancel();
    ClickSection(host_, p.pixel, Qt::ShiftModifier);
    return true;
  }
  if (typed_.Empty()) Move(p);
  else ApplyTyped();
  Finish();
  return true;
}

void TShapeTool::ApplyTyped() {
  const TSection* section = drag_ ? host_.Document().Track().Section(drag_->Drag()->Section()) : nullptr;
  if (!section) return;
  const shape::Typed kind = shape::TypedKind(*section, drag_->Drag()->Grabbed());
  const auto value = typed_.Value(kind);
  if (!value) return;
  drag_->MoveTo(shape::TypedAim(*section, drag_->Drag()->Grabbed(), *value));
}

void TShapeTool::Finish() {
  drag_->Release();
  drag_.reset();
  typed_.Clear();
  bodyPress_.reset();
  host_.SetDraft(false);
  host_.ToolChanged();
}

bool TShapeTool::Key(const QKeyEvent& event, bool pressed) {
  if (!drag_ || !pressed) return false;
  if (typed_.Key(event)) {
    bodyPress_.reset();
    if (typed_.Empty()) drag_->Move(followed_);  // the pointer leads again
    else ApplyTyped();
    host_.ToolChanged();
    return true;
  }
  switch (event.key()) {
    case Qt::Key_Escape:
      return Cancel();
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // The value set exactly, and the drag ends as a release would end it.
      if (!typed_.Empty()) ApplyTyped();
      Finish();
      return true;
    case Qt::Key_A:
      angleStep = shape::NextAngleStep(angleStep);
      if (typed_.Empty()) {
        drag_->Drag()->SetSnap(Rules(event.modifiers(), ctrlAtPress_));
        drag_->Move(followed_);
      }
      host_.ToolChanged();
      return true;
    default:
      // Whatever else is typed during a drag means nothing to the plan.
      return event.key() != Qt::Key_Control && event.key() != Qt::Key_Shift;
  }
}

bool TShapeTool::Cancel() {
  if (!drag_) return false;
  drag_->Cancel();
  drag_.reset();
  typed_.Clear();
  bodyPress_.reset();
  host_.SetDraft(false);
  host_.ToolChanged();
  return true;
}

bool TShapeTool::MovingBody() const { return drag_ && drag_->Drag() && drag_->Drag()->Grabbed() == Handle::Move; }

QString TShapeTool::Readout() const {
  if (!drag_ || !drag_->Drag()) return {};
  const TTrack& track = host_.Document().Track();
  QString text = QString::fromStdString(shape::DragReadout(track, *drag_->Drag()));
  const TSection* section = track.Section(drag_->Drag()->Section());
  const QString typed = section ? typed_.Line(shape::TypedKind(*section, drag_->Drag()->Grabbed())) : QString();
  if (!typed.isEmpty()) text += QStringLiteral("\n") + typed;
  return text;
}

QString TShapeTool::StopMessage() const {
  if (!drag_ || !drag_->Drag()) return {};
  return QString::fromStdString(shape::StopText(drag_->LastMove().stop));
}

void TShapeTool::Paint(QPainter& painter) const {
  handles_.Paint(painter, drag_ ? std::optional<Handle>(drag_->Drag()->Grabbed()) : lit_);
  const QString text = Readout();
  if (text.isEmpty()) return;
  const TSection* section = host_.Document().Track().Section(drag_->Drag()->Section());
  const QPolygon outline = section ? TPlanHandles::Outline(*section, host_.Scale()) : QPolygon();
  DrawReadout(painter, text, pointer_, host_.Surface().rect(), outline);
}

}  // namespace meridal
