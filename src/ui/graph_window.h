#pragma once
// TFormGraph, the "Graphics" window: the track's plan view. A click selects the
// section under the pointer, or centres the view there after zooming in or out,
// by the mode chosen in the popup menu; a double-click selects the wall strip
// under the pointer within the selected section; moving the mouse shows the
// world point under it in the status bar. Shift+click extends the selection
// from its anchor to the section clicked, as a run of sections; Ctrl+click adds
// or drops a section at the run's ends; a drag with Ctrl draws a rubber band
// and selects the run of the sections it touches (plan_tools/section_band.h).
// Selections go through the document, and every view follows.
//
// Navigation: the wheel scrolls (Shift+wheel across), Ctrl+wheel zooms about the
// pointer, the middle button or Space with the left button drags the view, and
// the View menu zooms to fit or about the window's centre. The status text
// follows the view under a pointer that stays put. A view at Fit stays at Fit
// when the window changes size (Maximize, Tile); a drawing smaller than the
// window sits in its middle.
//
// Tools: the popup's Measure (or M) measures by dragging (plan_tools/
// measure_tool.h); the background image under the plan has its own dialog and
// mouse tools (plan_tools/background_layer.h). The mode, or the tool's hint and
// read-out, goes to the status bar through StatusChanged, and shows as the cursor.
#include <QPoint>
#include <cstdint>
#include <optional>

#include "model/object_path.h"
#include "ui/draw_area.h"
#include "ui/plan_tools/background_layer.h"
#include "ui/plan_tools/centreline_overlay.h"
#include "ui/plan_tools/measure_tool.h"
#include "ui/plan_tools/section_band.h"
#include "ui/shape_tool.h"
#include "ui/view_gestures.h"

class QAction;
class QLabel;
class QMenu;

namespace meridal {

class IFileDialogs;
class TBackgroundDialog;
class TCursorSet;
class TDocumentShell;
class TScaleDraw;
struct TDocumentChange;

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
  QAction* PopupMeasure;  // M, in the window, toggles it
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
  void PopupMeasureClick();

  // ---- the View menu ----
  void ZoomToFit();
  void ZoomInStep();   // about the window's centre
  void ZoomOutStep();

  // ---- the tools ----
  // The mode or the active tool and what it reads, for the status bar.
  QString StatusTextNow() const;
  TBackgroundLayer& Background() { return background_; }
  // View > Background Image…: its dialog, made the first time.
  TBackgroundDialog& ShowBackgroundDialog(IFileDialogs& fileDialogs);
  TBackgroundDialog* BackgroundDialog() const { return backgroundDialog_; }
  // The centreline the track was fitted to, over the plan (File > Import Centreline…).
  TCentrelineOverlay& Centreline() { return centreline_; }
  // The document changed: a background under the plan needs whole repaints, as
  // the local redraws blank their boxes in white; the side file follows the name.
  void DocumentChanged(const TDocumentChange& change);

 signals:
  void StatusChanged(const QString& text);

 protected:
  void PaintContent() override { FormPaint(); }
  // The picture, then over it the source centreline, the handles and the
  // read-out, the measure line and the calibration marks.
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
  void resizeEvent(QResizeEvent* event) override;

 private:
  bool ToolPress(QMouseEvent& event);
  void ToolsChanged();
  void FollowFile();
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
  Qt::KeyboardModifiers clickModifiers_;  // held at that press
  // A Shift press on the selected section's body: a move of the section, or,
  // released before it went the drag distance, a Shift+click.
  std::optional<QPoint> bodyPress_;
  TSectionBand band_;
  int modeCursor_ = 0;
  QAction* clickMode_ = nullptr;  // Select, Center, Zoom In or Zoom Out
  QAction* modeBeforeMeasure_ = nullptr;
  // Zoom to Fit was the latest zoom: a change of size fits again.
  bool fitted_ = false;
  TMeasureTool measure_;
  TBackgroundLayer background_;
  TCentrelineOverlay centreline_;
  TBackgroundDialog* backgroundDialog_ = nullptr;
  TViewGestures gestures_;
  std::optional<QPoint> pointer_;  // over the window, or gone
};

}  // namespace meridal
