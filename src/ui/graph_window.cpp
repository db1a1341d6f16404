#include "ui/graph_window.h"

#include <QAction>
#include <QActionGroup>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>

#include "graphics/scale_draw.h"
#include "model/track.h"
#include "model/wall.h"
#include "present/position_text.h"
#include "shell/document_shell.h"
#include "ui/cursors.h"

namespace meridal {

namespace {

constexpr int kArrowCursor = 0;

}  // namespace

TFormGraph::TFormGraph(TDocumentShell& shell, const TCursorSet& cursors, QLabel& positionPanel, QWidget* parent)
    : TDrawArea(parent), shell_(shell), cursors_(cursors), positionPanel_(positionPanel) {
  setWindowTitle(QStringLiteral("Graphics"));
  BuildPopupMenu();
  resize(696, 480);
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
  PopupSelect->setChecked(true);
}

// ---- the popup menu: the mode and its cursor ----

void TFormGraph::SetMode(QAction* item, int cursorNumber) {
  item->setChecked(true);
  viewport()->setCursor(cursors_.Cursor(cursorNumber));
}

void TFormGraph::PopupSelectClick() { SetMode(PopupSelect, kArrowCursor); }
void TFormGraph::PopupCenterClick() { SetMode(PopupCenter, kCursorCenter); }
void TFormGraph::PopupZoomInClick() { SetMode(PopupZoomIn, kCursorZoomIn); }
void TFormGraph::PopupZoomOutClick() { SetMode(PopupZoomOut, kCursorZoomOut); }

// ---- painting ----

void TFormGraph::FormPaint() {
  if (!shell_.Track || !shell_.ScaleDraw) return;  // the mapping comes just after the window
  shell_.ScaleDraw->OriginFromScroll();
  shell_.Track->Draw(*shell_.ScaleDraw, shell_.ViewFlags);
}

TScaleDraw* TFormGraph::View() {
  if (!shell_.Track || !shell_.ScaleDraw) return nullptr;
  // A centring or a scroll may not have been painted yet: the point under the
  // pointer is found with the origin the scroll bars now give.
  shell_.ScaleDraw->OriginFromScroll();
  return shell_.ScaleDraw.get();
}

void TFormGraph::SelectNode(NodeHandle node) {
  if (node && shell_.Track && shell_.Track->Nodes) shell_.Track->Nodes->Select(node);
}

// ---- the mouse ----

void TFormGraph::FormMouseDown(Qt::MouseButton, int x, int y) {
  LastMouseX = x;
  LastMouseY = y;
}

void TFormGraph::FormClick() {
  TScaleDraw* view = View();
  if (!view) return;
  TTrack& track = *shell_.Track;
  const double wx = view->ToWorldX(LastMouseX), wy = view->ToWorldY(LastMouseY);
  if (PopupSelect->isChecked()) {
    // Clicking the highlighted section again keeps its wall or trace selected.
    const int i = track.SectionAt(wx, wy);
    if (i >= 0 && i != track.SelectedChild) SelectNode(track.Section(i)->TreeNode);
    return;
  }
  // A zoom step the drawing's 32-bit extents cannot take is refused: the click
  // then only centres.
  if (PopupZoomIn->isChecked()) view->ZoomIn();
  else if (PopupZoomOut->isChecked()) view->ZoomOut();
  view->CenterOn(wx, wy);
}

void TFormGraph::FormDblClick() {
  if (!PopupSelect->isChecked()) return;
  TScaleDraw* view = View();
  if (!view) return;
  TTrack& track = *shell_.Track;
  TSection* section = track.HighlightedSection();
  if (!section) return;
  const int k = section->FindWallStrip(view->ToWorldX(LastMouseX), view->ToWorldY(LastMouseY));
  // Off every strip of the selected section: the track, which clears the highlight.
  SelectNode(k >= 0 ? section->Wall(k)->TreeNode : track.TreeNode);
}

void TFormGraph::FormMouseMove(int x, int y) {
  TScaleDraw* view = View();
  if (!view) return;
  positionPanel_.setText(QString::fromStdString(PointerPositionText(view->ToWorldX(x), view->ToWorldY(y))));
}

void TFormGraph::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  FormMouseDown(event->button(), p.x(), p.y());
  clickPending_ = event->button() == Qt::LeftButton;
}

void TFormGraph::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !clickPending_) return;
  clickPending_ = false;
  if (viewport()->rect().contains(event->position().toPoint())) FormClick();
}

void TFormGraph::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double-click: a press like any other, and no click.
  const QPoint p = event->position().toPoint();
  FormMouseDown(event->button(), p.x(), p.y());
  clickPending_ = false;
  if (event->button() == Qt::LeftButton) FormDblClick();
}

void TFormGraph::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  FormMouseMove(p.x(), p.y());
}

void TFormGraph::contextMenuEvent(QContextMenuEvent* event) { PopupMenu->popup(event->globalPos()); }

}  // namespace meridal
