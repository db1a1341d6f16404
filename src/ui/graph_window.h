#pragma once
// TFormGraph, the "Graphics" window: the track's plan view. A click selects the
// section under the pointer, or centres the view there after zooming in or out,
// by the mode chosen in the popup menu; a double-click selects the wall strip
// under the pointer within the selected section; moving the mouse shows the
// world point under it in the status bar. Selections go through the tree
// window: the window selects the object's tree node, and the tree's selection
// handling fills the list and moves the highlight.
//
// Navigation: the wheel scrolls (Shift+wheel across), Ctrl+wheel zooms about the
// pointer, the middle button or Space with the left button drags the view, and
// the View menu zooms to fit or about the window's centre. The status text
// follows the view under a pointer that stays put.
#include <QPoint>
#include <cstdint>
#include <optional>

#include "model/object_path.h"
#include "ui/draw_area.h"
#include "ui/shape_tool.h"
#include "ui/view_gestures.h"

class QAction;
class QLabel;
class QMenu;

namespace meridal {

class TCursorSet;
class TDocumentShell;
class TScaleDraw;

class TFormGraph : public TDrawArea {
  Q_OBJECT

 public:
  // The document's track, scale draw and View options come from the shell; the
  // mode cursors from the main window's set; the pointer's position goes to
  // `positionPanel`.
  TFormGraph(TDocumentShell& shell, const TCursorSet& cursors, QLabel& positionPanel, QWidget* parent = nullptr);

  QMenu* PopupMenu;
  QAction* PopupSelect;
  QAction* PopupCenter;
  QAction* PopupZoomIn;
  QAction* PopupZoomOut;
  // The handles of the selected section and their drags (see shape_tool.h).
  TShapeTool Shape;
  // The client position of the latest press of any mouse button.
  int32_t LastMouseX = 0;
  int32_t LastMouseY = 0;

  // ---- handlers ----
  void FormPaint();
  void FormMouseDown(Qt::MouseButton button, int x, int y);
  void FormClick();
  void FormDblClick();
  void FormMouseMove(int x, int y);
  void PopupSelectClick();
  void PopupCenterClick();
  void PopupZoomInClick();
  void PopupZoomOutClick();

  // ---- the View menu ----
  void ZoomToFit();
  void ZoomInStep();   // about the window's centre
  void ZoomOutStep();

 protected:
  void PaintContent() override { FormPaint(); }
  // The picture, then the handles and the read-out on top of it.
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  // The status text for the pointer where it last was over the window.
  void RefreshPointerText();
  void ZoomStep(bool in);
  void RestoreCursor();
  void BuildPopupMenu();
  void SetMode(QAction* item, int cursorNumber);
  // The scale draw with its origin as the scroll bars place it, or nullptr
  // while the document has none.
  TScaleDraw* View();
  // The document selects the object at the path; every view follows.
  void Select(const TObjectPath& path);

  TDocumentShell& shell_;
  const TCursorSet& cursors_;
  QLabel& positionPanel_;
  // A left press that may still become a click: a click acts on the release, so
  // that the double-click that may follow sees the selection the click made.
  bool clickPending_ = false;
  int modeCursor_ = 0;
  TViewGestures gestures_;
  std::optional<QPoint> pointer_;  // over the window, or gone
};

}  // namespace meridal
