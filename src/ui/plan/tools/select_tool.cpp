#include "ui/plan/tools/select_tool.h"

#include <QWidget>

#include "document/document.h"
#include "graphics/scale_draw.h"
#include "model/track.h"

namespace meridal {

void ClickSection(IPlanHost& host, QPoint pixel, Qt::KeyboardModifiers modifiers) {
  TDocument& document = host.Document();
  const TScaleDraw& view = host.Scale();
  const int i = document.Track().SectionAt(view.ToWorldX(pixel.x()), view.ToWorldY(pixel.y()));
  if (i < 0) return;
  if (modifiers & Qt::ShiftModifier) return document.ExtendRun(i);
  if (modifiers & Qt::ControlModifier) return document.ToggleInRun(i);
  // Clicking the highlighted section again keeps its wall or trace selected;
  // in a run of several it leaves the run for that section alone.
  if (i != document.Selection().section) document.Select(TObjectPath::Section(i));
  else if (document.SelectedRun().Count() > 1) document.SelectRun(i, i);
}

bool TSelectTool::Press(const TPlanPointer& p) {
  if (host_.Current() != PlanTool::Select || p.button != Qt::LeftButton) return false;
  if (p.doubleClick) {
    clickPending_ = false;
    TDocument& document = host_.Document();
    const TTrack& track = document.Track();
    const int s = document.Selection().section;
    if (s < 0 || s >= track.NumberOfSections()) return true;
    const int k = track.Section(s)->FindWallStrip(p.world.x(), p.world.y());
    // Off every strip of the selected section: the track, which clears the highlight.
    document.Select(k >= 0 ? TObjectPath::Wall(s, k) : TObjectPath::Track());
    return true;
  }
  clickPending_ = true;
  clickModifiers_ = p.modifiers;
  clickAt_ = p.pixel;
  if (p.modifiers & Qt::ControlModifier) band_.Press(p.pixel);
  return true;
}

bool TSelectTool::Move(const TPlanPointer& p) {
  if (!clickPending_ || !(p.buttons & Qt::LeftButton) || !band_.Move(p.pixel)) return false;
  if (band_.Dragging()) host_.ToolChanged();
  return true;
}

bool TSelectTool::Release(const TPlanPointer& p) {
  if (p.button != Qt::LeftButton || !clickPending_) return false;
  clickPending_ = false;
  if (band_.Pressed()) {
    if (const auto rectangle = band_.Release(p.pixel)) {
      const TSectionRun run = SectionsTouched(host_.Document().Track(), host_.Scale(), *rectangle);
      if (!run.Empty()) host_.Document().SelectRun(run.first, run.last);
      return true;
    }
  }
  if (host_.Surface().rect().contains(p.pixel)) ClickSection(host_, clickAt_, clickModifiers_);
  return true;
}

bool TSelectTool::Cancel() {
  if (!band_.Cancel()) return false;
  clickPending_ = false;
  return true;
}

QString TSelectTool::Status() const {
  return host_.Current() == PlanTool::Select ? QStringLiteral("Mode: Select") : QString();
}

}  // namespace meridal
