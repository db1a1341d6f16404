#include "ui/draw_area.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "ui/window_canvas.h"

namespace meridal {

namespace {

constexpr int kScrollLineStep = 16;

}  // namespace

TDrawArea::TDrawArea(QWidget* parent) : QAbstractScrollArea(parent) {
  viewport()->setAutoFillBackground(true);
  QPalette palette = viewport()->palette();
  palette.setColor(QPalette::Window, Qt::white);
  palette.setColor(QPalette::Base, Qt::white);
  viewport()->setPalette(palette);
  // The picture covers the whole viewport: nothing needs erasing before it.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setMouseTracking(true);
  // Bars that come and go would change the client size under a centring: the
  // point centred on would end up half a bar's width off the centre.
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  for (ScrollBar bar : {ScrollBar::Horizontal, ScrollBar::Vertical}) {
    Bar(bar)->setSingleStep(kScrollLineStep);
    ApplyRange(bar);
  }
}

TDrawArea::~TDrawArea() { EndDrawing(); }

// ---- the picture ----

ICanvas& TDrawArea::Canvas() {
  if (!painter_) {
    FitPicture();
    painter_ = std::make_unique<QPainter>(&picture_);
    canvas_ = std::make_unique<TWindowCanvas>(*painter_, viewport()->size().expandedTo(QSize(1, 1)), smooth_ && !draft_);
    draftDrawn_ = draftDrawn_ || (draft_ && smooth_);
    // Drawing between paint events reaches the screen with the next one.
    if (!redrawing_) viewport()->update();
  }
  return *canvas_;
}

QPainter& TDrawArea::PicturePainter() {
  Canvas();
  return *painter_;
}

void TDrawArea::FitPicture() {
  const qreal ratio = viewport()->devicePixelRatioF();
  const QSize size = (QSizeF(viewport()->size().expandedTo(QSize(1, 1))) * ratio).toSize();
  if (picture_.size() == size && picture_.devicePixelRatio() == ratio) return;
  EndDrawing();
  picture_ = QImage(size, QImage::Format_RGB32);
  picture_.setDevicePixelRatio(ratio);
  picture_.fill(Qt::white);
  repaintPending_ = true;
}

void TDrawArea::SetSmooth(bool smooth) {
  if (smooth == smooth_) return;
  EndDrawing();  // the next canvas is made with the new setting
  smooth_ = smooth;
  Repaint();
}

void TDrawArea::SetDraft(bool draft) {
  if (draft == draft_) return;
  EndDrawing();  // the next canvas is made with the new setting
  draft_ = draft;
  if (!draft && draftDrawn_) Repaint();
  draftDrawn_ = false;
}

void TDrawArea::EndDrawing() {
  if (!painter_) return;
  canvas_->Finish();
  canvas_.reset();
  painter_->end();
  painter_.reset();
}

void TDrawArea::Redraw() {
  EndDrawing();
  FitPicture();
  picture_.fill(Qt::white);
  repaintPending_ = false;
  redrawing_ = true;
  PaintContent();
  EndDrawing();
  redrawing_ = false;
  ++fullRepaints_;
}

const QImage& TDrawArea::Picture() {
  FitPicture();
  if (repaintPending_) Redraw();
  EndDrawing();
  return picture_;
}

void TDrawArea::Repaint() {
  repaintPending_ = true;
  viewport()->update();
}

void TDrawArea::paintEvent(QPaintEvent* event) {
  const QImage& picture = Picture();
  QPainter screen(viewport());
  // The source rectangle is in the picture's own pixels.
  const qreal ratio = picture.devicePixelRatio();
  const QRectF source(QPointF(event->rect().topLeft()) * ratio, QSizeF(event->rect().size()) * ratio);
  screen.drawImage(QRectF(event->rect()), picture, source);
}

void TDrawArea::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  // The positions are clamped anew against the new client extents.
  ApplyRange(ScrollBar::Horizontal);
  ApplyRange(ScrollBar::Vertical);
  Repaint();
}

// A position the view set itself comes with its own repaint where the picture
// moved; a bar the user moved moves the picture.
void TDrawArea::scrollContentsBy(int, int) {
  if (!settingPosition_) Repaint();
}

// ---- the scroll bars ----

QScrollBar* TDrawArea::Bar(ScrollBar bar) const {
  return bar == ScrollBar::Horizontal ? horizontalScrollBar() : verticalScrollBar();
}

int TDrawArea::ClientWidth() const { return viewport()->width(); }
int TDrawArea::ClientHeight() const { return viewport()->height(); }

int32_t TDrawArea::LastPosition(ScrollBar bar) const {
  const int64_t client = bar == ScrollBar::Horizontal ? ClientWidth() : ClientHeight();
  return static_cast<int32_t>(std::max<int64_t>(0, int64_t{RangeOf(bar)} - client));
}

// A QScrollBar's maximum is the range less the page, the page being the client extent.
void TDrawArea::ApplyRange(ScrollBar bar) {
  const int client = bar == ScrollBar::Horizontal ? ClientWidth() : ClientHeight();
  Bar(bar)->setPageStep(std::max(client, 1));
  Bar(bar)->setRange(0, LastPosition(bar));
}

void TDrawArea::SetScrollRange(ScrollBar bar, int32_t range) {
  RangeOf(bar) = std::max<int32_t>(range, 0);
  ApplyRange(bar);
}

void TDrawArea::SetScrollPosition(ScrollBar bar, int32_t position) {
  settingPosition_ = true;
  Bar(bar)->setValue(std::clamp<int32_t>(position, 0, LastPosition(bar)));
  settingPosition_ = false;
}

int32_t TDrawArea::ScrollRange(ScrollBar bar) const { return RangeOf(bar); }
int32_t TDrawArea::ScrollPosition(ScrollBar bar) const { return Bar(bar)->value(); }

}  // namespace meridal
