#include "ui/plan/plan_view.h"

#include <QAction>
#include <QApplication>
#include <QActionGroup>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "document/document.h"
#include "graphics/scale_draw.h"
#include "graphics/track_painter.h"
#include "model/track.h"
#include "present/position_text.h"
#include "ui/cursors.h"
#include "ui/plan/background_dialog.h"
#include "ui/plan/tools/background_tools.h"
#include "ui/plan/tools/draw_tool.h"
#include "ui/plan/tools/measure_tool.h"
#include "ui/plan/tools/pan_tool.h"
#include "ui/plan/tools/select_tool.h"
#include "ui/plan/tools/shape_tool.h"
#include "ui/plan/tools/zoom_click_tool.h"

namespace meridal {

namespace {

// At zoom 1 the larger extent of the track spans this many pixels.
constexpr int32_t kPlanSizePixels = 600;
// Beyond this many boxes a change is drawn with one full repaint.
constexpr size_t kMostBoxesRedrawn = 16;

TRect Around(const std::vector<TRect>& boxes) {
  TRect around = boxes.front();
  for (const TRect& b : boxes) {
    around.left = std::min(around.left, b.left);
    around.right = std::max(around.right, b.right);
    around.top = std::max(around.top, b.top);
    around.bottom = std::min(around.bottom, b.bottom);
  }
  return around;
}

}  // namespace

TPlanView::TPlanView(TDocument& document, const bool& untitled, const TCursorSet& cursors, QLabel& positionPanel,
                     int32_t viewFlags, QWidget* parent)
    : TDrawArea(parent),
      document_(document),
      untitled_(untitled),
      cursors_(cursors),
      positionPanel_(positionPanel),
      viewFlags_(viewFlags) {
  setWindowTitle(QStringLiteral("Graphics"));
  setFocusPolicy(Qt::StrongFocus);  // the tools' keys, Space for dragging
  resize(696, 480);
  scale_ = std::make_unique<TScaleDraw>(*this, document_.Track().Extent, kPlanSizePixels);
  scale_->SetFreeOrigin(true);
  Place(Placement::Centred);
  BuildPopupMenu();
  BuildChain();
  background_.Changed = [this] { ToolChanged(); };
  listener_ = document_.Subscribe([this](const TDocumentChange& change) { DocumentChanged(change); });
  RestoreCursor();
}

TPlanView::~TPlanView() {
  document_.Unsubscribe(listener_);
  // The tools let go of what they hold before the view goes.
  for (TPlanTool* tool : chain_) tool->Cancel();
}

QWidget& TPlanView::Surface() { return *viewport(); }

TScaleDraw& TPlanView::ScaleDraw() {
  // A scroll bar moved by hand moves the view; the point under the pointer is
  // found with the origin the bars give now.
  scale_->OriginFromScroll();
  return *scale_;
}

void TPlanView::BuildChain() {
  IPlanHost& host = *this;
  pan_ = std::make_unique<TPanTool>(host);
  shape_ = std::make_unique<TShapeTool>(host);
  draw_ = std::make_unique<TDrawTool>(host, *shape_);
  measure_ = std::make_unique<TMeasureTool>(host);
  others_.push_back(std::make_unique<TCalibrateTool>(host, background_));
  others_.push_back(std::make_unique<TPlaceTool>(host, background_));
  others_.push_back(std::make_unique<TZoomClickTool>(host));
  others_.push_back(std::make_unique<TSelectTool>(host));
  // The hand first (Space and the middle button work in every tool), then the
  // background's tools while its dialog has one on, then drawing (Alt on an end
  // handle before the handle's own drag), the handles, and the chosen tool.
  chain_ = {pan_.get(), others_[0].get(), others_[1].get(), draw_.get(), shape_.get(), measure_.get(),
            others_[2].get(), others_[3].get()};
}

void TPlanView::BuildPopupMenu() {
  PopupMenu = new QMenu(this);
  toolGroup_ = new QActionGroup(this);
  toolGroup_->setExclusive(true);
  const auto add = [this](const char* caption, PlanTool tool, QKeySequence key = {}) {
    QAction* item = PopupMenu->addAction(QString::fromLatin1(caption));
    item->setCheckable(true);
    item->setData(static_cast<int>(tool));
    // The menu shows the key; the plan itself answers it (ToolKey), so that
    // the letters stay letters elsewhere.
    item->setShortcut(key);
    item->setShortcutContext(Qt::WidgetShortcut);
    toolGroup_->addAction(item);
    return item;
  };
  PopupSelect = add("Select", PlanTool::Select, QKeySequence(Qt::Key_S));
  PopupCenter = add("Center", PlanTool::Center);
  PopupZoomIn = add("Zoom In", PlanTool::ZoomIn);
  PopupZoomOut = add("Zoom Out", PlanTool::ZoomOut);
  PopupMenu->addSeparator();
  PopupMeasure = add("Measure", PlanTool::Measure, QKeySequence(Qt::Key_M));
  PopupDrawStraight = add("Draw Straight", PlanTool::DrawStraight, QKeySequence(Qt::Key_D));
  PopupDrawArc = add("Draw Arc", PlanTool::DrawArc, QKeySequence(Qt::SHIFT | Qt::Key_D));
  PopupPan = add("Pan", PlanTool::Pan, QKeySequence(Qt::Key_H));
  PopupSelect->setChecked(true);
  connect(toolGroup_, &QActionGroup::triggered, this, [this](QAction* item) {
    if (item == PopupMeasure) return PopupMeasureClick();
    SetTool(static_cast<PlanTool>(item->data().toInt()));
  });
}

// ---- the tools ----

void TPlanView::SetTool(PlanTool tool) {
  // A gesture of the tool left behind ends with it, and so do the background's tools.
  for (TPlanTool* t : chain_) t->Cancel();
  grab_ = nullptr;
  measure_->Clear();
  background_.SetTool(TBackgroundLayer::Tool::None);
  if (tool != PlanTool::Measure) measureToggled_ = false;
  tool_ = tool;
  for (QAction* item : toolGroup_->actions())
    if (item->data().toInt() == static_cast<int>(tool)) item->setChecked(true);
  emit ToolChosen(tool);
  ToolChanged();
}

void TPlanView::SetKeepJoined(bool on) { shape_->keepJoined = on; }

void TPlanView::PopupMeasureClick() {
  // M again goes back to the tool before.
  if (tool_ == PlanTool::Measure && measureToggled_) return SetTool(toolBeforeMeasure_);
  const PlanTool before = tool_ == PlanTool::Measure ? toolBeforeMeasure_ : tool_;
  SetTool(PlanTool::Measure);
  toolBeforeMeasure_ = before;
  measureToggled_ = true;
}

TPlanTool* TPlanView::Busy() const {
  for (TPlanTool* tool : chain_)
    if (tool->Busy()) return tool;
  return nullptr;
}

void TPlanView::RestoreCursor() {
  if (pan_ && pan_->Active()) return;  // the hand stays while it drags
  switch (background_.ActiveTool()) {
    case TBackgroundLayer::Tool::Calibrate: return viewport()->setCursor(Qt::CrossCursor);
    case TBackgroundLayer::Tool::Place: return viewport()->setCursor(Qt::SizeAllCursor);
    case TBackgroundLayer::Tool::None: break;
  }
  switch (tool_) {
    case PlanTool::Select: return viewport()->setCursor(cursors_.Cursor(0));
    case PlanTool::Center: return viewport()->setCursor(cursors_.Cursor(kCursorCenter));
    case PlanTool::ZoomIn: return viewport()->setCursor(cursors_.Cursor(kCursorZoomIn));
    case PlanTool::ZoomOut: return viewport()->setCursor(cursors_.Cursor(kCursorZoomOut));
    case PlanTool::Measure:
    case PlanTool::DrawStraight:
    case PlanTool::DrawArc: return viewport()->setCursor(Qt::CrossCursor);
    case PlanTool::Pan: return viewport()->setCursor(Qt::OpenHandCursor);
  }
}

QString TPlanView::StatusTextNow() const {
  for (TPlanTool* tool : chain_) {
    // What the background could not read stays said until it is mended, over
    // the bare name of the mode.
    if (tool == others_[2].get() && !background_.Error().isEmpty())
      return QString(background_.Error()).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString text = tool->Status();
    if (!text.isEmpty()) return text;
  }
  return {};
}

void TPlanView::ToolChanged() {
  RestoreCursor();
  if (backgroundDialog_) backgroundDialog_->Refresh();
  // The background's tools draw into the picture's layer; the others over it.
  if (background_.HasImage()) Repaint();
  viewport()->update();
  emit StatusChanged(StatusTextNow());
}

bool TPlanView::ToolKey(const QKeyEvent& event) {
  const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
  if (mods != Qt::NoModifier && !(event.key() == Qt::Key_D && mods == Qt::ShiftModifier)) return false;
  switch (event.key()) {
    case Qt::Key_S:
    case Qt::Key_Escape: SetTool(PlanTool::Select); return true;
    case Qt::Key_D: SetTool(mods == Qt::ShiftModifier ? PlanTool::DrawArc : PlanTool::DrawStraight); return true;
    case Qt::Key_M: PopupMeasureClick(); return true;
    case Qt::Key_H: SetTool(PlanTool::Pan); return true;
    default: return false;
  }
}

// ---- painting ----

void TPlanView::PaintContent() {
  FollowFile();
  TScaleDraw& view = ScaleDraw();
  if (background_.HasImage()) background_.Paint(PicturePainter(), view);
  TTrackPainter(document_.Track(), document_.SelectedRun()).Draw(view, viewFlags_, document_.Selection());
  // Every scroll and zoom ends in a repaint: the point under a pointer that has
  // not moved is now another.
  RefreshPointerText();
}

void TPlanView::paintEvent(QPaintEvent* event) {
  TDrawArea::paintEvent(event);
  // Over the picture on the screen, never into it: the picture stays the plan's.
  QPainter overlay(viewport());
  speedLine_.Paint(overlay, ScaleDraw());
  centreline_.Paint(overlay, ScaleDraw());
  // The chosen tool's drawing last, over the handles.
  for (auto it = chain_.rbegin(); it != chain_.rend(); ++it) (*it)->Paint(overlay);
}

void TPlanView::SetViewFlags(int32_t flags) {
  viewFlags_ = flags;
  Repaint();
}

// ---- the document ----

void TPlanView::DocumentChanged(const TDocumentChange& change) {
  FollowFile();
  if (!change.track.Empty() || change.selection) RefreshPicture(change);
  if (background_.HasImage() && background_.Settings().visible && !change.track.Empty()) Repaint();
  // A measure along the track reads the track as it is now.
  if (!change.track.Empty()) emit StatusChanged(StatusTextNow());
}

void TPlanView::RefreshPicture(const TDocumentChange& change) {
  const TTrack& track = document_.Track();
  const TObjectPath& selection = document_.Selection();
  const TSection* selected = selection.section >= 0 && selection.section < track.NumberOfSections()
                                 ? track.Section(selection.section)
                                 : nullptr;
  // The highlight covers the selected section, or every section of a run.
  const TSectionRun run = document_.SelectedRun();
  TRect highlight;
  if (selected) {
    std::vector<TRect> runBoxes{selected->Extent};
    for (int s = std::max(run.first, 0); run.Count() > 1 && s <= run.last && s < track.NumberOfSections(); ++s)
      runBoxes.push_back(track.Section(s)->Extent);
    highlight = Around(runBoxes);
  }
  TScaleDraw& view = ScaleDraw();
  std::vector<TRect> boxes;
  bool local = true;
  if (!change.track.Empty()) {
    // New bounds change only the scroll bars: the view stays where it is.
    local = change.track.local && change.track.boxes.size() <= kMostBoxesRedrawn;
    boxes = change.track.boxes;
    if (!(view.Bounds() == track.Extent)) view.SetBounds(track.Extent);
  }
  if (!local || change.reset) {
    Repaint();
  } else {
    // One box around what the change touched, so that no pixel is drawn twice;
    // the highlight's old and new places on their own.
    const TTrackPainter painter(track, run);
    if (!boxes.empty()) painter.RedrawBox(view, viewFlags_, Around(boxes), selection);
    if (change.selection) {
      if (highlighted_) painter.RedrawBox(view, viewFlags_, highlightBox_, selection);
      if (selected) painter.RedrawBox(view, viewFlags_, highlight, selection);
    }
  }
  highlighted_ = selected != nullptr;
  if (selected) highlightBox_ = highlight;
  // The handles sit on the selected section as it is now.
  viewport()->update();
}

void TPlanView::FollowFile() { background_.FollowTrack(document_.FileName(), untitled_); }

// ---- the mouse ----

TPlanPointer TPlanView::Pointer(const QMouseEvent& event) const {
  TPlanPointer p;
  p.pixel = event.position().toPoint();
  const TScaleDraw& view = const_cast<TPlanView*>(this)->ScaleDraw();
  p.world = QPointF(view.ToWorldX(p.pixel.x()), view.ToWorldY(p.pixel.y()));
  p.button = event.button();
  p.buttons = event.buttons();
  p.modifiers = event.modifiers();
  return p;
}

void TPlanView::mousePressEvent(QMouseEvent* event) { PassPress(Pointer(*event)); }

void TPlanView::mouseDoubleClickEvent(QMouseEvent* event) {
  TPlanPointer p = Pointer(*event);
  p.doubleClick = true;
  PassPress(p);
}

void TPlanView::PassPress(const TPlanPointer& p) {
  LastMouseX = p.pixel.x();
  LastMouseY = p.pixel.y();
  // Another button while a tool holds one belongs to that tool.
  if (grab_) {
    grab_->Press(p);
    return;
  }
  for (TPlanTool* tool : chain_)
    if (tool->Press(p)) {
      grab_ = tool;
      return;
    }
}

void TPlanView::mouseMoveEvent(QMouseEvent* event) {
  const TPlanPointer p = Pointer(*event);
  pointer_ = p.pixel;
  if (grab_) {
    grab_->Move(p);
  } else {
    // No gesture: every tool sees where the pointer is (a handle lights up).
    for (TPlanTool* tool : chain_) tool->Move(p);
  }
  ShowPointer(p.pixel);
  // The status bar says why a handle stopped short of the pointer.
  const QString stop = grab_ == shape_.get() ? shape_->StopMessage() : grab_ == draw_.get() ? draw_->StopMessage() : QString();
  if (!stop.isEmpty()) positionPanel_.setText(stop);
}

void TPlanView::mouseReleaseEvent(QMouseEvent* event) {
  const TPlanPointer p = Pointer(*event);
  if (grab_) grab_->Release(p);
  if (!event->buttons()) grab_ = nullptr;
  // A change of size while the button was held places the view now.
  if (!event->buttons() && placePending_) {
    placePending_ = false;
    if (StillPlaced()) Place(placement_);
  }
}

void TPlanView::contextMenuEvent(QContextMenuEvent* event) {
  // No menu over a gesture under way.
  if (!Busy()) PopupMenu->popup(event->globalPos());
}

void TPlanView::ShowPointer(QPoint pixel) {
  const TScaleDraw& view = ScaleDraw();
  positionPanel_.setText(QString::fromStdString(PointerPositionText(view.ToWorldX(pixel.x()), view.ToWorldY(pixel.y()))));
}

void TPlanView::RefreshPointerText() {
  if (pointer_) ShowPointer(*pointer_);
}

bool TPlanView::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::Leave) pointer_.reset();  // the status keeps its last text
  return TDrawArea::viewportEvent(event);
}

// ---- the keys ----

bool TPlanView::event(QEvent* event) {
  // A gesture under way takes the keys that are shortcuts elsewhere (digits
  // typed, Escape, Enter), before any shortcut does.
  if (event->type() == QEvent::ShortcutOverride && Busy()) {
    event->accept();
    return true;
  }
  return TDrawArea::event(event);
}

void TPlanView::keyPressEvent(QKeyEvent* event) {
  // A gesture under way hears the keys first (a space in "150 m" is no pan).
  TPlanTool* busy = Busy();
  if (busy && busy->Key(*event, true)) return event->accept();
  for (TPlanTool* tool : chain_)
    if (tool != busy && tool->Key(*event, true)) return event->accept();
  if (busy) {
    // Escape ends any tool's gesture; other keys mean nothing meanwhile.
    if (event->key() == Qt::Key_Escape) busy->Cancel();
    return event->accept();
  }
  // Escape drops a gesture's leftovers (a measured line, the background's tool)
  // before it chooses Select.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    bool dropped = false;
    for (TPlanTool* tool : chain_)
      if (tool != measure_.get() && tool->Cancel()) dropped = true;
    if (dropped) {
      ToolChanged();
      return event->accept();
    }
  }
  if (!event->isAutoRepeat() && ToolKey(*event)) return event->accept();
  TDrawArea::keyPressEvent(event);
}

void TPlanView::keyReleaseEvent(QKeyEvent* event) {
  for (TPlanTool* tool : chain_)
    if (tool->Key(*event, false)) return event->accept();
  TDrawArea::keyReleaseEvent(event);
}

void TPlanView::focusOutEvent(QFocusEvent* event) {
  pan_->FocusOut();
  TDrawArea::focusOutEvent(event);
}

// ---- navigation ----

void TPlanView::wheelEvent(QWheelEvent* event) {
  event->accept();
  TScaleDraw& view = ScaleDraw();
  const QPoint p = event->position().toPoint();
  pointer_ = p;
  if (event->modifiers() & Qt::ControlModifier) {
    for (int steps = pan_->ZoomSteps(*event); steps != 0; steps += steps > 0 ? -1 : 1)
      view.ZoomAbout(steps > 0, p.x(), p.y());
    return;
  }
  const QPoint pixels = TViewGestures::ScrollPixels(*event, verticalScrollBar()->singleStep());
  view.ScrollBy(-pixels.x(), -pixels.y());
}

void TPlanView::ZoomStep(bool in) { ScaleDraw().ZoomAbout(in, ClientWidth() / 2.0, ClientHeight() / 2.0); }
void TPlanView::ZoomInStep() { ZoomStep(true); }
void TPlanView::ZoomOutStep() { ZoomStep(false); }
void TPlanView::ZoomToFit() { Place(Placement::Fit); }

void TPlanView::CentreOn(const TRect& box) {
  ScaleDraw().CenterOn((static_cast<double>(box.left) + box.right) / 2, (static_cast<double>(box.top) + box.bottom) / 2);
}

void TPlanView::Place(Placement placement) {
  TScaleDraw& view = ScaleDraw();
  if (placement == Placement::Fit) {
    if (!view.ZoomToFit()) return;
  } else if (placement == Placement::Centred) {
    // The track's middle at the window's, at the zoom it has.
    const TRect& box = view.Bounds();
    view.CenterOn((static_cast<double>(box.left) + box.right) / 2, (static_cast<double>(box.top) + box.bottom) / 2);
  }
  placement_ = placement;
  placedAt_ = {view.PixelsPerUnit(), view.OriginX(), view.OriginY()};
}

bool TPlanView::StillPlaced() const {
  const TScaleDraw& view = *scale_;
  return placement_ != Placement::Free && placedAt_ == Mapping{view.PixelsPerUnit(), view.OriginX(), view.OriginY()};
}

bool TPlanView::AtFit() const { return placement_ == Placement::Fit && StillPlaced(); }

void TPlanView::resizeEvent(QResizeEvent* event) {
  const bool placed = StillPlaced();
  TDrawArea::resizeEvent(event);
  // The bars span the part shown, which the new size changes; the view stays.
  scale_->SetBounds(scale_->Bounds());
  if (!placed) {
    placement_ = Placement::Free;
  } else if (QApplication::mouseButtons() != Qt::NoButton && grab_) {
    // Never under a hand that is dragging: once the button is let go.
    placePending_ = true;
  } else {
    Place(placement_);
  }
}

// ---- the background ----

TBackgroundDialog& TPlanView::ShowBackgroundDialog(IFileDialogs& fileDialogs) {
  if (!backgroundDialog_) {
    const auto load = [this](const QString& path) {
      const TScaleDraw& view = ScaleDraw();
      // Where the plan shows now, as wide as the window.
      const QPointF centre(view.ToWorldX(ClientWidth() / 2.0), view.ToWorldY(ClientHeight() / 2.0));
      if (!background_.Load(path, centre, ClientWidth() / view.PixelsPerUnit())) ToolChanged();
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

}  // namespace meridal
