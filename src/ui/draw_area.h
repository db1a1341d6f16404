#pragma once
// TDrawArea: a scroll area whose viewport is a drawing window for the track.
// Everything is drawn into a picture the size of the viewport, which each paint
// event puts on the screen. A full repaint redraws the picture through
// PaintContent; drawing done between paint events (the highlight following the
// tree's selection) lands on the same picture, so the screen never shows one
// without the other and a full repaint gives the same pixels.
//
// The scroll bars take the drawing's pixel extents as their ranges; a position
// always stays within 0 .. max(0, range - client extent), also when the range or
// the viewport's size changes. Scrolling repaints the picture.
//
// The picture has the screen's device pixel ratio: the drawing works in the
// viewport's pixels and the painter scales them, so lines, edges and text are
// drawn at the screen's own resolution. Smooth drawing turns antialiasing on.
#include <QAbstractScrollArea>
#include <QImage>
#include <memory>

#include "platform/draw_window.h"

class QPainter;
class QScrollBar;

namespace meridal {

class TWindowCanvas;

class TDrawArea : public QAbstractScrollArea, public IDrawWindow {
  Q_OBJECT

 public:
  explicit TDrawArea(QWidget* parent = nullptr);
  ~TDrawArea() override;

  // ---- IDrawWindow ----
  // The picture's canvas, ready until the next paint event shows the picture.
  ICanvas& Canvas() override;
  int ClientWidth() const override;
  int ClientHeight() const override;
  void SetScrollRange(ScrollBar bar, int32_t range) override;
  void SetScrollPosition(ScrollBar bar, int32_t position) override;
  int32_t ScrollRange(ScrollBar bar) const override;
  int32_t ScrollPosition(ScrollBar bar) const override;
  // Asks for a full repaint; it happens with the next paint event.
  void Repaint() override;

  // The picture the next paint event shows: a pending full repaint is done first.
  const QImage& Picture();
  bool RepaintPending() const { return repaintPending_; }
  // How many full repaints the picture has had.
  int FullRepaints() const { return fullRepaints_; }
  // Antialiasing on or off; the picture is drawn again.
  void SetSmooth(bool smooth);
  bool Smooth() const { return smooth_; }
  // A draft is drawn without antialiasing, whatever Smooth says: while the track
  // is shaped by hand, every move of the pointer may redraw the whole plan, and
  // smooth edges cost most of that. What was drawn as a draft is drawn smooth
  // again when the draft ends.
  void SetDraft(bool draft);

 protected:
  // Draws the whole content on the white picture.
  virtual void PaintContent() = 0;
  // The painter of the picture, for what the canvas does not draw (an image
  // under the plan); its state is the caller's to save and restore.
  QPainter& PicturePainter();

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  QScrollBar* Bar(ScrollBar bar) const;
  int32_t& RangeOf(ScrollBar bar) { return bar == ScrollBar::Horizontal ? ranges_[0] : ranges_[1]; }
  int32_t RangeOf(ScrollBar bar) const { return bar == ScrollBar::Horizontal ? ranges_[0] : ranges_[1]; }
  // The largest position the bar may take: max(0, range - client extent).
  int32_t LastPosition(ScrollBar bar) const;
  void ApplyRange(ScrollBar bar);
  void FitPicture();
  void Redraw();
  void EndDrawing();

  QImage picture_;
  bool smooth_ = false;
  bool draft_ = false, draftDrawn_ = false;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<TWindowCanvas> canvas_;
  int32_t ranges_[2] = {0, 0};
  bool repaintPending_ = true;
  bool redrawing_ = false;
  bool settingPosition_ = false;
  int fullRepaints_ = 0;
};

}  // namespace meridal
