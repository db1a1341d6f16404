#pragma once
// TProfilePlot: the elevation profile of the open track, drawn by the core's
// profile drawing into a picture at the screen's pixel ratio. A click selects
// the section under the pointer and the altitude of the trace drawn nearest to
// it, through the tree, as the plan view does; the tree's selection handling
// then moves the highlight, and the shaded section and the bold trace follow.
//
// Navigation along the track answers the plan view's gestures: the wheel and
// Shift+wheel scroll, Ctrl+wheel zooms about the pointer, the middle button or
// Space with the left button drags. The heights always fit what is in view.
#include <QImage>
#include <QWidget>
#include <memory>

#include "graphics/profile_drawing.h"
#include "graphics/profile_view.h"
#include "ui/view_gestures.h"

namespace meridal {

class TDocumentShell;
struct TDocumentChange;

class TProfilePlot : public QWidget {
  Q_OBJECT

 public:
  explicit TProfilePlot(TDocumentShell& shell, QWidget* parent = nullptr);

  // Another document is open, or none: a new one is shown whole.
  void DocumentChanged();
  // What the open document announced: the picture follows its heights and its
  // selection.
  void Changed(const TDocumentChange& change);
  // The picture is drawn anew with the next paint event.
  void Repaint();
  void ZoomToFit();
  // One zoom step about the middle of the plot.
  void ZoomStep(bool in);
  void SetSlopeColouring(bool on);
  // The lap's speed trace under the heights; nullptr for none.
  void SetSpeeds(std::shared_ptr<const TProfileSpeeds> speeds);
  void SetSmooth(bool on);

  const TProfileView& View() const { return view_; }
  // The layout of the picture on the screen, with which clicks are placed.
  const TProfileDrawing& Drawing() const { return drawing_; }
  // The picture the next paint event shows: a pending redraw is done first.
  const QImage& Picture();
  int FullRepaints() const { return fullRepaints_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void Redraw();
  // Only the pending stretch of distances, or the whole when it cannot be.
  void RedrawSpan();
  TSectionRun Shaded() const;
  void Click(QPoint at);
  void ZoomAbout(int x, bool in);
  void PanBy(int pixels);

  TDocumentShell& shell_;
  TProfileView view_;
  TProfileDrawing drawing_;
  QImage picture_;
  bool pending_ = true;
  // A stretch of distances (track units) to draw again, and the sections the
  // picture shades.
  bool spanPending_ = false;
  double spanFrom_ = 0, spanTo_ = 0;
  TSectionRun shaded_;
  bool smooth_ = false;
  bool clickPending_ = false;
  int fullRepaints_ = 0;
  bool speedsShown_ = false;
  TViewGestures gestures_;
};

}  // namespace meridal
