#include "ui/graph_window.h"

#include <QAction>
#include <QApplication>
#include <QActionGroup>
#include <QContextMenuEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include "graphics/scale_draw.h"
#include "graphics/track_painter.h"
#include "model/track.h"
#include "model/wall.h"
#include "present/position_text.h"
#include "document/document.h"
#include "shell/document_shell.h"
#include "ui/cursors.h"
#include "ui/plan_tools/background_dialog.h"

namespace meridal {

namespace {

constexpr int kArrowCursor = 0;

}  // namespace

TFormGraph::TFormGraph(TDocumentShell& shell, const TCursorSet& cursors, QLabel& positionPanel, QWidget* parent)
    : TDrawArea(parent),
      Shape(shell, *viewport()),
      shell_(shell),
      cursors_(cursors),
      positionPanel_(positionPanel),
      band_(*viewport()),
      gestures_(*viewport(), [this] { RestoreCursor(); }) {
  setWindowTitle(QStringLiteral("Graphics"));
  BuildPopupMenu();
  setFocusPolicy(Qt::StrongFocus);  // Space for dragging
  resize(696, 480);
  background_.Changed = [this] { ToolsChanged(); };
  // A scroll bar moved by hand leaves Fit behind.
  for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()})
    connect(bar, &QScrollBar::actionTriggered, this, [this] { fitted_ = false; });
}

void TFormGraph::BuildPopupMenu() {
  PopupMenu = new QMenu(this);
  auto* group = new QActionGroup(this);
  group->setExclusive(true);
  const auto add = [this, group](const char* caption, void (TFormGraph::*handler)()) {
    QAction* item = PopupMenu->addAction(QString::fromLatin1(caption));
    item->setCheckable(true);
    group->addAction(item);
    connect(item, &QAction::triggered, this, handler);
    return item;
  };
  PopupSelect = add("Select", &TFormGraph::PopupSelectClick);
  PopupCenter = add("Center", &TFormGraph::PopupCenterClick);
  PopupZoomIn = add("Zoom In", &TFormGraph::PopupZoomInClick);
  PopupZoomOut = add("Zoom Out", &TFormGraph::PopupZoomOutClick);
  PopupMenu->addSeparator();
  PopupMeasure = add("Measure", &TFormGraph::PopupMeasureClick);
  // M while the plan has the focus; the menus show the key.
  PopupMeasure->setShortcut(QKeySequence(Qt::Key_M));
  PopupMeasure->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  addAction(PopupMeasure);
  PopupSelect->setChecked(true);
  clickMode_ = PopupSelect;
}

// ---- the popup menu: the mode and its cursor ----

void TFormGraph::SetMode(QAction* item, int cursorNumber) {
  item->setChecked(true);
  modeCursor_ = cursorNumber;
  if (item != PopupMeasure) {
    clickMode_ = item;
    modeBeforeMeasure_ = nullptr;
    measure_.Clear();
    viewport()->update();
  }
  if (!gestures_.Active()) RestoreCursor();
  emit StatusChanged(StatusTextNow());
}

void TFormGraph::RestoreCursor() {
  switch (background_.ActiveTool()) {
    case TBackgroundLayer::Tool::Calibrate: return viewport()->setCursor(Qt::CrossCursor);
    case TBackgroundLayer::Tool::Place: return viewport()->setCursor(Qt::SizeAllCursor);
    case TBackgroundLayer::Tool::None: break;
  }
  if (PopupMeasure->isChecked()) return viewport()->setCursor(Qt::CrossCursor);
  viewport()->setCursor(cursors_.Cursor(modeCursor_));
}

void TFormGraph::PopupSelectClick() { SetMode(PopupSelect, kArrowCursor); }
void TFormGraph::PopupCenterClick() { SetMode(PopupCenter, kCursorCenter); }
void TFormGraph::PopupZoomInClick() { SetMode(PopupZoomIn, kCursorZoomIn); }
void TFormGraph::PopupZoomOutClick() { SetMode(PopupZoomOut, kCursorZoomOut); }

void TFormGraph::PopupMeasureClick() {
  // M again goes back to the mode before.
  if (modeBeforeMeasure_) {
    QAction* before = modeBeforeMeasure_;
    modeBeforeMeasure_ = nullptr;
    return before->trigger();
  }
  // The item is checked already when this runs: the mode before is the one kept.
  modeBeforeMeasure_ = clickMode_;
  SetMode(PopupMeasure, modeCursor_);
}

QString TFormGraph::StatusTextNow() const {
  const QString hint = background_.ToolHint();
  if (!hint.isEmpty()) return hint;
  if (PopupMeasure->isChecked()) {
    const QString reading = shell_.Track() ? measure_.Text(*shell_.Track()) : QString();
    return reading.isEmpty() ? QStringLiteral("Measure: drag in the plan (Alt: along the track)")
                             : QStringLiteral("Measure: ") + reading;
  }
  // What the background could not read stays said until it is mended.
  if (!background_.Error().isEmpty()) return QString(background_.Error()).replace(QLatin1Char('\n'), QLatin1Char(' '));
  for (QAction* mode : {PopupSelect, PopupCenter, PopupZoomIn, PopupZoomOut})
    if (mode->isChecked()) return QStringLiteral("Mode: ") + mode->text();
  return {};
}

// ---- painting ----

void TFormGraph::FormPaint() {
  TScaleDraw* view = View();
  if (!view) return;  // the mapping comes just after the window
  FollowFile();
  if (background_.HasImage()) background_.Paint(PicturePainter(), *view);
  const TDocument& document = *shell_.Document();
  TTrackPainter(*shell_.Track(), document.SelectedRun()).Draw(*shell_.ScaleDraw, shell_.ViewFlags, document.Selection());
  // Every scroll and zoom ends in a repaint: the point under a pointer that has
  // not moved is now another.
  RefreshPointerText();
}

void TFormGraph::RefreshPointerText() {
  if (pointer_) FormMouseMove(pointer_->x(), pointer_->y());
}

TScaleDraw* TFormGraph::View() {
  if (!shell_.Track() || !shell_.ScaleDraw) return nullptr;
  // A centring or a scroll may not have been painted yet: the point under the
  // pointer is found with the origin the scroll bars now give.
  if (!shell_.ScaleDraw->CentreSmall()) shell_.ScaleDraw->SetCentreSmall(true);
  shell_.ScaleDraw->OriginFromScroll();
  return shell_.ScaleDraw.get();
}

void TFormGraph::Select(const TObjectPath& path) {
  if (TDocument* document = shell_.Document()) document->Select(path);
}

// ---- the mouse ----

void TFormGraph::FormMouseDown(Qt::MouseButton, int x, int y) {
  LastMouseX = x;
  LastMouseY = y;
}

void TFormGraph::FormClick() {
  TScaleDraw* view = View();
  if (!view) return;
  const TTrack& track = *shell_.Track();
  const double wx = view->ToWorldX(LastMouseX), wy = view->ToWorldY(LastMouseY);
  if (PopupSelect->isChecked()) {
    TDocument& document = *shell_.Document();
    const int i = track.SectionAt(wx, wy);
    if (i < 0) return;
    if (clickModifiers_ & Qt::ShiftModifier) return document.ExtendRun(i);
    if (clickModifiers_ & Qt::ControlModifier) return document.ToggleInRun(i);
    // Clicking the highlighted section again keeps its wall or trace selected;
    // in a run of several it leaves the run for that section alone.
    if (i != document.Selection().section) Select(TObjectPath::Section(i));
    else if (document.SelectedRun().Count() > 1) document.SelectRun(i, i);
    return;
  }
  // A zoom step the drawing's 32-bit extents cannot take is refused: the click
  // then only centres.
  fitted_ = false;
  if (PopupZoomIn->isChecked()) view->ZoomIn();
  else if (PopupZoomOut->isChecked()) view->ZoomOut();
  view->CenterOn(wx, wy);
}

void TFormGraph::FormDblClick() {
  if (!PopupSelect->isChecked()) return;
  TScaleDraw* view = View();
  if (!view) return;
  const TTrack& track = *shell_.Track();
  const int s = shell_.Document()->Selection().section;
  if (s < 0 || s >= track.NumberOfSections()) return;
  const int k = track.Section(s)->FindWallStrip(view->ToWorldX(LastMouseX), view->ToWorldY(LastMouseY));
  // Off every strip of the selected section: the track, which clears the highlight.
  Select(k >= 0 ? TObjectPath::Wall(s, k) : TObjectPath::Track());
}

void TFormGraph::FormMouseMove(int x, int y) {
  TScaleDraw* view = View();
  if (!view) return;
  positionPanel_.setText(QString::fromStdString(PointerPositionText(view->ToWorldX(x), view->ToWorldY(y))));
}

void TFormGraph::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  FormMouseDown(event->button(), p.x(), p.y());
  // A handle of the selected section (or Shift on its body) starts a drag.
  if (event->button() == Qt::LeftButton && PopupSelect->isChecked() && !gestures_.SpaceHeld() && View() &&
      Shape.Press(p, event->modifiers())) {
    clickPending_ = false;
    bodyPress_.reset();
    if (Shape.MovingBody()) bodyPress_ = p;
    return;
  }
  if (gestures_.Press(event->button(), p)) {
    fitted_ = false;
    clickPending_ = false;
    return;
  }
  clickModifiers_ = event->modifiers();
  clickPending_ = event->button() == Qt::LeftButton && !ToolPress(*event);
  if (clickPending_ && (clickModifiers_ & Qt::ControlModifier) && PopupSelect->isChecked() && View()) band_.Press(p);
}

// A left press that a tool takes is no click.
bool TFormGraph::ToolPress(QMouseEvent& event) {
  if (event.button() != Qt::LeftButton) return false;
  TScaleDraw* view = View();
  if (!view) return false;
  const QPointF world(view->ToWorldX(event.position().x()), view->ToWorldY(event.position().y()));
  if (background_.Press(world, event.modifiers() & Qt::ShiftModifier)) return true;
  if (!PopupMeasure->isChecked()) return false;
  measure_.Begin(world, event.modifiers() & Qt::AltModifier);
  ToolsChanged();
  return true;
}

void TFormGraph::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && Shape.Active()) {
    if (bodyPress_) {
      // Shift pressed and let go on the section without a drag: a click.
      Shape.Cancel();
      SetDraft(false);
      bodyPress_.reset();
      clickModifiers_ = Qt::ShiftModifier;
      FormClick();
      return;
    }
    if (View()) Shape.Release(event->position().toPoint(), event->modifiers());
    SetDraft(Shape.Active());
    return;
  }
  if (event->button() == Qt::LeftButton && band_.Pressed()) {
    if (const auto rectangle = band_.Release(event->position().toPoint())) {
      clickPending_ = false;
      if (TScaleDraw* view = View()) {
        const TSectionRun run = SectionsTouched(*shell_.Track(), *view, *rectangle);
        if (!run.Empty()) shell_.Document()->SelectRun(run.first, run.last);
      }
      return;
    }
  }
  if (gestures_.Release(event->button())) return;
  if (event->button() == Qt::LeftButton && measure_.Dragging()) {
    measure_.End();
    return ToolsChanged();
  }
  if (event->button() == Qt::LeftButton) background_.Release();
  if (event->button() != Qt::LeftButton || !clickPending_) return;
  clickPending_ = false;
  if (viewport()->rect().contains(event->position().toPoint())) FormClick();
}

void TFormGraph::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double-click: a press like any other, and no click.
  if (gestures_.SpaceHeld() || event->button() == Qt::MiddleButton) return mousePressEvent(event);  // a drag
  // In a tool the second press is a press of the tool's own.
  if (background_.ActiveTool() != TBackgroundLayer::Tool::None || PopupMeasure->isChecked())
    return mousePressEvent(event);
  const QPoint p = event->position().toPoint();
  FormMouseDown(event->button(), p.x(), p.y());
  clickPending_ = false;
  if (event->button() == Qt::LeftButton) FormDblClick();
}

void TFormGraph::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  pointer_ = p;
  if (bodyPress_ && (p - *bodyPress_).manhattanLength() >= QApplication::startDragDistance()) bodyPress_.reset();
  if (Shape.Active()) {
    SetDraft(true);
    if (View()) Shape.Move(p, event->modifiers());
    FormMouseMove(p.x(), p.y());
    // The status bar says why the handle stopped short of the pointer.
    if (const QString stop = Shape.StopMessage(); !stop.isEmpty()) positionPanel_.setText(stop);
    return;
  }
  if ((event->buttons() & Qt::LeftButton) && band_.Move(p)) {
    if (band_.Dragging()) clickPending_ = false;
    FormMouseMove(p.x(), p.y());
    return;
  }
  // The world point under the press stays under the pointer.
  if (const auto moved = gestures_.Move(p))
    if (TScaleDraw* view = View()) view->ScrollBy(-moved->x(), -moved->y());
  if ((event->buttons() & Qt::LeftButton) && !gestures_.Active())
    if (TScaleDraw* view = View()) {
      const QPointF world(view->ToWorldX(p.x()), view->ToWorldY(p.y()));
      if (measure_.Dragging()) {
        measure_.Drag(world, event->modifiers() & Qt::AltModifier);
        ToolsChanged();
      } else {
        background_.Drag(world);
      }
    }
  FormMouseMove(p.x(), p.y());
}

void TFormGraph::contextMenuEvent(QContextMenuEvent* event) { PopupMenu->popup(event->globalPos()); }

// ---- navigation ----

void TFormGraph::wheelEvent(QWheelEvent* event) {
  event->accept();
  TScaleDraw* view = View();
  if (!view) return;
  const QPoint p = event->position().toPoint();
  pointer_ = p;
  fitted_ = false;
  if (event->modifiers() & Qt::ControlModifier) {
    for (int steps = gestures_.ZoomSteps(*event); steps != 0; steps += steps > 0 ? -1 : 1)
      view->ZoomAbout(steps > 0, p.x(), p.y());
    return;
  }
  const QPoint pixels = TViewGestures::ScrollPixels(*event, verticalScrollBar()->singleStep());
  view->ScrollBy(-pixels.x(), -pixels.y());
}

void TFormGraph::ZoomStep(bool in) {
  fitted_ = false;
  if (TScaleDraw* view = View()) view->ZoomAbout(in, ClientWidth() / 2, ClientHeight() / 2);
}

void TFormGraph::ZoomInStep() { ZoomStep(true); }
void TFormGraph::ZoomOutStep() { ZoomStep(false); }

void TFormGraph::ZoomToFit() {
  if (TScaleDraw* view = View()) fitted_ = view->ZoomToFit();
}

void TFormGraph::resizeEvent(QResizeEvent* event) {
  TDrawArea::resizeEvent(event);
  if (fitted_) ZoomToFit();
}

void TFormGraph::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && band_.Cancel()) {
    clickPending_ = false;
    return event->accept();
  }
  if (Shape.Key(*event)) {
    if (!Shape.Active()) bodyPress_.reset();
    SetDraft(Shape.Active());
    return event->accept();
  }
  if (gestures_.Key(*event, true)) return event->accept();
  TDrawArea::keyPressEvent(event);
}

void TFormGraph::keyReleaseEvent(QKeyEvent* event) {
  if (gestures_.Key(*event, false)) return event->accept();
  TDrawArea::keyReleaseEvent(event);
}

void TFormGraph::focusOutEvent(QFocusEvent* event) {
  gestures_.FocusOut();
  if (band_.Cancel()) clickPending_ = false;
  TDrawArea::focusOutEvent(event);
}

void TFormGraph::paintEvent(QPaintEvent* event) {
  TDrawArea::paintEvent(event);
  // Over the picture on the screen, never into it: the picture stays the plan's.
  QPainter overlay(viewport());
  TScaleDraw* view = View();
  if (view) centreline_.Paint(overlay, *view);
  Shape.Paint(overlay);
  if (!view || (!measure_.HasLine() && background_.CalibrationPoints().empty())) return;
  measure_.Paint(overlay, *view);
  background_.PaintMarks(overlay, *view);
}

// ---- the tools ----

void TFormGraph::ToolsChanged() {
  if (!gestures_.Active()) RestoreCursor();
  if (backgroundDialog_) backgroundDialog_->Refresh();
  Repaint();
  emit StatusChanged(StatusTextNow());
}

void TFormGraph::FollowFile() {
  if (shell_.Document()) background_.FollowTrack(shell_.FileName(), shell_.Untitled);
}

void TFormGraph::DocumentChanged(const TDocumentChange&) {
  FollowFile();
  if (background_.HasImage() && background_.Settings().visible) Repaint();
}

TBackgroundDialog& TFormGraph::ShowBackgroundDialog(IFileDialogs& fileDialogs) {
  if (!backgroundDialog_) {
    const auto load = [this](const QString& path) {
      TScaleDraw* view = View();
      if (!view) return;
      // Where the plan shows now, as wide as the window.
      const QPointF centre(view->ToWorldX(ClientWidth() / 2.0), view->ToWorldY(ClientHeight() / 2.0));
      if (!background_.Load(path, centre, ClientWidth() / view->PixelsPerUnit())) ToolsChanged();
    };
    backgroundDialog_ = new TBackgroundDialog(background_, fileDialogs, load, this);
    backgroundDialog_->setWindowFlag(Qt::Tool);
  }
  FollowFile();
  backgroundDialog_->Refresh();
  backgroundDialog_->show();
  backgroundDialog_->raise();
  return *backgroundDialog_;
}

bool TFormGraph::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::Leave) pointer_.reset();  // the status keeps its last text
  return TDrawArea::viewportEvent(event);
}

}  // namespace meridal
