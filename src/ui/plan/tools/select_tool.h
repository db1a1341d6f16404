#pragma once
// TSelectTool: selecting in the plan. A click selects the section under the
// pointer; Shift+click extends the selection from its anchor to the section
// clicked, as a run of sections; Ctrl+click adds or drops a section at the run's
// ends; a drag with Ctrl draws a rubber band and selects the run of the sections
// it touches (section_band.h). A double-click selects the wall strip under the
// pointer within the selected section, or the track off every strip. A click
// acts on the release, so that the double-click that may follow sees the
// selection the click made. Selections go through the document, and every view
// follows.
#include "ui/plan/tools/plan_tool.h"
#include "ui/plan/tools/section_band.h"

namespace meridal {

class TSelectTool : public TPlanTool {
 public:
  explicit TSelectTool(IPlanHost& host) : TPlanTool(host), band_(host.Surface()) {}

  bool Press(const TPlanPointer& p) override;
  bool Move(const TPlanPointer& p) override;
  bool Release(const TPlanPointer& p) override;
  bool Cancel() override;
  bool Busy() const override { return band_.Dragging(); }
  QString Status() const override;

 private:
  TSectionBand band_;
  bool clickPending_ = false;
  Qt::KeyboardModifiers clickModifiers_;
  QPoint clickAt_;  // a click acts where it was pressed
};

// What a click at a pixel does in the Select tool, with these modifiers held.
void ClickSection(IPlanHost& host, QPoint pixel, Qt::KeyboardModifiers modifiers);

}  // namespace meridal
