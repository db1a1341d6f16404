#pragma once
// TPlanView, the "Graphics" window: the track's plan view. It owns the plan's
// mapping (TScaleDraw), its picture and its state (zoom, fit, tool), listens to
// its document and redraws what each change touched.
//
// The mouse goes down an ordered chain of tools (tools/plan_tool.h): Pan,
// Calibrate and Place (the background image's), Draw, Shape (the handles),
// Measure, Center/Zoom clicks and Select. The tool chosen in the Tools toolbar,
// the popup menu or by its key (S or Escape Select, D Draw Straight, Shift+D
// Draw Arc, M Measure, H Pan) shows as checked, as the cursor and in the status
// bar. Moving the mouse shows the world point under it in the status bar.
//
// Navigation: the wheel scrolls (Shift+wheel across), Ctrl+wheel zooms about the
// pointer, keeping the world point under it within a pixel; the View menu zooms
// to fit or about the window's centre. A view at Fit fits again when the window
// changes size, never while a button is held and never because of an edit: the
// view does not move under the pointer while the track is shaped.
#include <QPoint>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "model/base.h"
#include "ui/draw_area.h"
#include "ui/plan/background_layer.h"
#include "ui/lap/speed_line_overlay.h"
#include "ui/plan/centreline_overlay.h"
#include "ui/plan/tools/plan_tool.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;

namespace meridal {

class IFileDialogs;
class TBackgroundDialog;
class TCursorSet;
class TDrawTool;
class TMeasureTool;
class TPanTool;
class TScaleDraw;
class TShapeTool;
struct TDocumentChange;

class TPlanView : public TDrawArea, private IPlanHost {
  Q_OBJECT

 public:
  // `untitled`: whether the document has a file of its own yet (the background's
  // side file needs one). The mode cursors come from the main window's set; the
  // pointer's position goes to `positionPanel`.
  TPlanView(TDocument& document, const bool& untitled, const TCursorSet& cursors, QLabel& positionPanel,
            int32_t viewFlags, QWidget* parent = nullptr);
  ~TPlanView() override;

  // The plan's mapping, its origin where the window shows it now.
  TScaleDraw& ScaleDraw();
  TDocument& PlanDocument() { return document_; }

  QMenu* PopupMenu;
  QAction* PopupSelect;
  QAction* PopupCenter;
  QAction* PopupZoomIn;
  QAction* PopupZoomOut;
  QAction* PopupMeasure;
  QAction* PopupDrawStraight;
  QAction* PopupDrawArc;
  QAction* PopupPan;
  // The client position of the latest press of any mouse button.
  int32_t LastMouseX = 0;
  int32_t LastMouseY = 0;

  void PopupSelectClick() { SetTool(PlanTool::Select); }
  void PopupCenterClick() { SetTool(PlanTool::Center); }
  void PopupZoomInClick() { SetTool(PlanTool::ZoomIn); }
  void PopupZoomOutClick() { SetTool(PlanTool::ZoomOut); }
  // M: Measure, and M again the tool before.
  void PopupMeasureClick();

  // ---- the tools ----
  void SetTool(PlanTool tool);
  PlanTool Tool() const { return tool_; }
  TShapeTool& Shape() { return *shape_; }
  // Keep Joined: the later sections follow a dragged one.
  void SetKeepJoined(bool on);
  TDrawTool& Draw() { return *draw_; }
  TMeasureTool& Measure() { return *measure_; }
  // The chosen tool or the tool at work, and what it reads, for the status bar.
  QString StatusTextNow() const;

  // ---- the View menu ----
  void SetViewFlags(int32_t flags);
  int32_t ViewFlags() const { return viewFlags_; }
  void ZoomToFit();
  void ZoomInStep();  // about the window's centre
  void ZoomOutStep();
  // Whether the view is at Fit: a change of the window's size fits it again.
  bool AtFit() const;
  // Go to Section: the section's middle at the window's.
  void CentreOn(const TRect& box);

  // ---- the background and the overlay ----
  TBackgroundLayer& Background() { return background_; }
  // View > Background Image…: its dialog, made the first time.
  TBackgroundDialog& ShowBackgroundDialog(IFileDialogs& fileDialogs);
  TBackgroundDialog* BackgroundDialog() const { return backgroundDialog_; }
  // The centreline the track was fitted to, over the plan (File > Import Centreline…).
  TCentrelineOverlay& Centreline() { return centreline_; }
  // The lap's line coloured by speed (View > Racing Line).
  TSpeedLineOverlay& SpeedLine() { return speedLine_; }

 signals:
  void StatusChanged(const QString& text);
  // The tool chosen changed: the toolbar follows.
  void ToolChosen(meridal::PlanTool tool);

 protected:
  void PaintContent() override;
  // The picture, then over it the centreline and the tools' drawing.
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
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // ---- IPlanHost ----
  TDocument& Document() override { return document_; }
  TScaleDraw& Scale() override { return ScaleDraw(); }
  QWidget& Surface() override;
  PlanTool Current() const override { return tool_; }
  void ToolChanged() override;
  void SetDraft(bool on) override { TDrawArea::SetDraft(on); }
  void RestoreCursor() override;

  // How the view was last placed, so that a change of size places it so again
  // while the user has not moved it since.
  enum class Placement { Centred, Fit, Free };
  void Place(Placement placement);
  bool StillPlaced() const;

  void BuildPopupMenu();
  void BuildChain();
  TPlanPointer Pointer(const QMouseEvent& event) const;
  // A press goes to the tool holding the buttons, or down the chain to the first that takes it.
  void PassPress(const TPlanPointer& p);
  // The document changed: the extent, the boxes the change touched drawn again
  // (or the whole plan), the background's side file, the tools' texts.
  void DocumentChanged(const TDocumentChange& change);
  void RefreshPicture(const TDocumentChange& change);
  // The status text for the pointer where it last was over the window.
  void ShowPointer(QPoint pixel);
  void RefreshPointerText();
  void ZoomStep(bool in);
  void FollowFile();
  // The tool whose gesture is under way, if any.
  TPlanTool* Busy() const;
  // A key that chooses a tool: S, Escape, D, Shift+D, M, H.
  bool ToolKey(const QKeyEvent& event);

  TDocument& document_;
  const bool& untitled_;
  int listener_ = 0;
  const TCursorSet& cursors_;
  QLabel& positionPanel_;
  int32_t viewFlags_;
  std::unique_ptr<TScaleDraw> scale_;
  PlanTool tool_ = PlanTool::Select;
  PlanTool toolBeforeMeasure_ = PlanTool::Select;
  bool measureToggled_ = false;
  QActionGroup* toolGroup_ = nullptr;

  TBackgroundLayer background_;
  TCentrelineOverlay centreline_;
  TSpeedLineOverlay speedLine_;
  TBackgroundDialog* backgroundDialog_ = nullptr;

  std::unique_ptr<TPanTool> pan_;
  std::unique_ptr<TShapeTool> shape_;
  std::unique_ptr<TDrawTool> draw_;
  std::unique_ptr<TMeasureTool> measure_;
  std::vector<std::unique_ptr<TPlanTool>> others_;
  std::vector<TPlanTool*> chain_;  // in the order events go down
  TPlanTool* grab_ = nullptr;      // the tool that took the press the buttons still hold

  Placement placement_ = Placement::Centred;
  struct Mapping {
    double ppu = 0, x = 0, y = 0;
    bool operator==(const Mapping& o) const { return ppu == o.ppu && x == o.x && y == o.y; }
  } placedAt_;
  bool placePending_ = false;  // the size changed while a button was held
  // The highlight as it was last drawn, so that a new selection can blank it.
  bool highlighted_ = false;
  TRect highlightBox_;
  std::optional<QPoint> pointer_;  // over the window, or gone
};

}  // namespace meridal
