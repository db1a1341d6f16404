#include "ui/profile_plot.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "model/track.h"
#include "document/document.h"
#include "shell/document_shell.h"
#include "ui/window_canvas.h"

namespace meridal {

namespace {

constexpr int kScrollLineStep = 16;  // pixels, as the plan view's lines

}  // namespace

TProfilePlot::TProfilePlot(TDocumentShell& shell, QWidget* parent)
    : QWidget(parent), shell_(shell), gestures_(*this, [this] { unsetCursor(); }) {
  // The picture covers the whole widget: nothing needs erasing before it.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);  // Space for dragging
  setMinimumSize(160, 120);
}

// ---- the picture ----

void TProfilePlot::DocumentChanged() {
  // A document that went takes its zoom with it: the next is shown whole.
  if (!shell_.Track()) {
    const bool slope = view_.SlopeColouring;
    view_ = TProfileView();
    view_.SlopeColouring = slope;
  }
  Repaint();
}

void TProfilePlot::Changed(const TDocumentChange& change) {
  if (change.track.Empty() && !change.selection) return;
  const TTrackChange& track = change.track;
  // Heights of a few sections, or the shaded section, change only their stretch
  // of the picture; anything else draws it whole.
  if (track.traceAt >= 0) drawing_.TraceMoved(track.traceAt, track.traceAdded);
  if (pending_ || change.reset || !track.splices.empty() || track.traceAt >= 0 || !shell_.Track()) return Repaint();
  const TTrack& now = *shell_.Track();
  const std::vector<int64_t> starts = SectionStarts(now);
  bool any = spanPending_;
  const auto add = [&](TSectionRun run) {
    if (run.Empty() || run.last >= now.NumberOfSections()) return;
    const double a = static_cast<double>(starts[static_cast<size_t>(run.first)]);
    const double b = static_cast<double>(starts[static_cast<size_t>(run.last)]) + now.Section(run.last)->Length;
    spanFrom_ = any ? std::min(spanFrom_, a) : a;
    spanTo_ = any ? std::max(spanTo_, b) : b;
    any = true;
  };
  for (int s : track.sections) add({s, s});
  if (change.selection) {
    add(shaded_);
    add(Shaded());
  }
  if (!any) return;
  spanPending_ = true;
  const TProfileFrame& frame = drawing_.Frame();
  const double x0 = std::max(frame.XOf(spanFrom_), -1.0), x1 = std::min(frame.XOf(spanTo_), width() + 1.0);
  if (x1 < x0) return;
  update(QRect(static_cast<int>(x0) - 4, 0, static_cast<int>(x1 - x0) + 9, height()));
}

void TProfilePlot::Repaint() {
  pending_ = true;
  update();
}

void TProfilePlot::SetSlopeColouring(bool on) {
  view_.SlopeColouring = on;
  Repaint();
}

void TProfilePlot::SetSpeeds(std::shared_ptr<const TProfileSpeeds> speeds) {
  // None before and none now (an edit while the speeds are off): nothing to draw again.
  if (!speeds && !speedsShown_) return;
  speedsShown_ = speeds != nullptr;
  drawing_.ShowSpeeds(std::move(speeds));
  Repaint();
}

void TProfilePlot::SetSmooth(bool on) {
  smooth_ = on;
  Repaint();
}

const QImage& TProfilePlot::Picture() {
  const qreal ratio = devicePixelRatioF();
  const QSize size = (QSizeF(this->size().expandedTo(QSize(1, 1))) * ratio).toSize();
  if (pending_ || picture_.size() != size || picture_.devicePixelRatio() != ratio) Redraw();
  else if (spanPending_) RedrawSpan();
  return picture_;
}

void TProfilePlot::RedrawSpan() {
  spanPending_ = false;
  if (!shell_.Track()) return Redraw();
  const TTrack& track = *shell_.Track();
  view_.SetExtent(TrackDistances(track, SectionStarts(track)));
  bool drawn = false;
  {
    QPainter painter(&picture_);
    TWindowCanvas canvas(painter, size().expandedTo(QSize(1, 1)), smooth_);
    drawn = drawing_.DrawSpan(track, shell_.Document()->Selection(), view_, canvas, spanFrom_, spanTo_,
                              shell_.Document()->SelectedRun());
    canvas.Finish();
  }
  if (!drawn) return Redraw();
  shaded_ = Shaded();
}

TSectionRun TProfilePlot::Shaded() const {
  return ShadedSections(shell_.Document()->Selection(), shell_.Document()->SelectedRun());
}

void TProfilePlot::Redraw() {
  const qreal ratio = devicePixelRatioF();
  const QSize client = size().expandedTo(QSize(1, 1));
  const QSize pixels = (QSizeF(client) * ratio).toSize();
  if (picture_.size() != pixels || picture_.devicePixelRatio() != ratio) {
    picture_ = QImage(pixels, QImage::Format_RGB32);
    picture_.setDevicePixelRatio(ratio);
  }
  pending_ = spanPending_ = false;
  ++fullRepaints_;
  if (!shell_.Track()) {
    picture_.fill(Qt::white);
    shaded_ = {};
    return;
  }
  const TTrack& track = *shell_.Track();
  view_.SetExtent(TrackDistances(track, SectionStarts(track)));
  QPainter painter(&picture_);
  // The drawing works in the widget's pixels; the painter scales them.
  TWindowCanvas canvas(painter, client, smooth_);
  drawing_.Draw(track, shell_.Document()->Selection(), view_, canvas, shell_.Document()->SelectedRun());
  canvas.Finish();
  shaded_ = Shaded();
}

void TProfilePlot::paintEvent(QPaintEvent*) {
  const QImage& picture = Picture();
  QPainter screen(this);
  screen.drawImage(QPoint(0, 0), picture);
}

void TProfilePlot::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Repaint();
}

// ---- zoom and pan ----

void TProfilePlot::ZoomToFit() {
  view_.ZoomToFit();
  Repaint();
}

void TProfilePlot::ZoomStep(bool in) {
  const TProfileFrame& frame = drawing_.Frame();
  ZoomAbout(frame.left + frame.Width() / 2, in);
}

void TProfilePlot::ZoomAbout(int x, bool in) {
  const TProfileFrame& frame = drawing_.Frame();
  if (frame.Width() <= 0) return;
  if (view_.ZoomAbout(double(x - frame.left) / frame.Width(), in)) Repaint();
}

void TProfilePlot::PanBy(int pixels) {
  if (pixels == 0) return;
  view_.PanBy(pixels, drawing_.Frame().Width());
  Repaint();
}

// ---- the mouse and the keys ----

void TProfilePlot::Click(QPoint at) {
  if (!shell_.Track()) return;
  const TTrack& track = *shell_.Track();
  // Placed with the layout of the picture the user sees.
  const TProfileHit hit = drawing_.HitTest(track, at.x(), at.y());
  if (hit.section < 0 || hit.section >= track.NumberOfSections()) return;
  const TSection& section = *track.Section(hit.section);
  const bool trace = hit.trace >= 0 && hit.trace < section.NumberOfAltitudes();
  shell_.Document()->Select(trace ? TObjectPath::Altitude(hit.section, hit.trace) : TObjectPath::Section(hit.section));
}

void TProfilePlot::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  clickPending_ = !gestures_.Press(event->button(), p) && event->button() == Qt::LeftButton;
}

void TProfilePlot::mouseReleaseEvent(QMouseEvent* event) {
  if (gestures_.Release(event->button())) return;
  if (event->button() != Qt::LeftButton || !clickPending_) return;
  clickPending_ = false;
  if (rect().contains(event->position().toPoint())) Click(event->position().toPoint());
}

void TProfilePlot::mouseMoveEvent(QMouseEvent* event) {
  // The distance under the press stays under the pointer.
  if (const auto moved = gestures_.Move(event->position().toPoint())) PanBy(-moved->x());
}

void TProfilePlot::wheelEvent(QWheelEvent* event) {
  event->accept();
  if (event->modifiers() & Qt::ControlModifier) {
    const int x = event->position().toPoint().x();
    for (int steps = gestures_.ZoomSteps(*event); steps != 0; steps += steps > 0 ? -1 : 1) ZoomAbout(x, steps > 0);
    return;
  }
  // Only the distance scrolls: a wheel turned either way moves along the track.
  const QPoint pixels = TViewGestures::ScrollPixels(*event, kScrollLineStep);
  PanBy(-(pixels.x() != 0 ? pixels.x() : pixels.y()));
}

void TProfilePlot::keyPressEvent(QKeyEvent* event) {
  if (gestures_.Key(*event, true)) return event->accept();
  QWidget::keyPressEvent(event);
}

void TProfilePlot::keyReleaseEvent(QKeyEvent* event) {
  if (gestures_.Key(*event, false)) return event->accept();
  QWidget::keyReleaseEvent(event);
}

void TProfilePlot::focusOutEvent(QFocusEvent* event) {
  gestures_.FocusOut();
  QWidget::focusOutEvent(event);
}

}  // namespace meridal
