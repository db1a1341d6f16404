// The frame's views of the document beside the tree and the plan: the history,
// the elevation profile, the track check and the lap, tool windows that × closes and
// their menu items show or hide; and the View menu's zoom, which acts on the
// plan or on the profile, whichever is the active window.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "shell/document_shell.h"
#include "document/document.h"
#include "ui/check_window.h"
#include "ui/document_signals.h"
#include "ui/plan/plan_view.h"
#include "ui/history_window.h"
#include "ui/lap/lap_runner.h"
#include "ui/lap/racing_line_item.h"
#include "ui/lap/lap_window.h"
#include "ui/main_window.h"
#include "ui/profile_plot.h"
#include "ui/profile_window.h"
#include "ui/tool_window.h"
#include "ui/tree_window.h"

namespace meridal {

void TFormMain::BuildToolWindows() {
  // The lap is driven again after every change of the track.
  LapRunner = new TLapRunner(*shell_, this);
  connect(Signals, &TDocumentSignals::Replaced, LapRunner, [this] { LapRunner->TrackChanged(); });
  connect(Signals, &TDocumentSignals::Changed, LapRunner, [this](const TDocumentChange& change) {
    if (change.reset || !change.track.Empty()) LapRunner->TrackChanged();
  });
  AddRacingLineItem(*this);

  historyTool_ = new TToolWindow(*MdiArea, *WindowHistory, [this] {
    FormHistory = new TFormHistory([this](size_t index) { shell_->GoTo(index); });
    FormHistory->Show(shell_->Document() ? &shell_->Document()->History() : nullptr);
    // The steps of whichever document is open, as they change.
    connect(Signals, &TDocumentSignals::Replaced, FormHistory,
            [this](TDocument* document) { FormHistory->Show(document ? &document->History() : nullptr); });
    connect(Signals, &TDocumentSignals::Changed, FormHistory, [this](const TDocumentChange& change) {
      if (change.history) FormHistory->Refresh();
    });
    return FormHistory;
  }, QSize(300, 400), this);

  profileTool_ = new TToolWindow(*MdiArea, *ViewElevationProfile, [this] {
    FormProfile = new TFormProfile(*shell_, LapRunner);
    FormProfile->Plot->SetSmooth(ViewSmoothDrawing->isChecked());
    connect(Signals, &TDocumentSignals::Replaced, FormProfile, [this] { FormProfile->Plot->DocumentChanged(); });
    connect(Signals, &TDocumentSignals::Changed, FormProfile,
            [this](const TDocumentChange& change) { FormProfile->Plot->Changed(change); });
    return FormProfile;
  }, QSize(800, 360), this);

  lapTool_ = new TToolWindow(*MdiArea, *ViewLap, [this] {
    FormLap = new TFormLap(*shell_, *LapRunner, FileDialogs(), Messages());
    return FormLap;
  }, QSize(380, 440), this);

  checkTool_ = new TToolWindow(*MdiArea, *ViewTrackCheck, [this] {
    FormCheck = new TFormCheck(*shell_);
    connect(Signals, &TDocumentSignals::Replaced, FormCheck, [this] { FormCheck->DocumentReplaced(); });
    connect(Signals, &TDocumentSignals::Changed, FormCheck,
            [this](const TDocumentChange& change) { FormCheck->Changed(change); });
    return FormCheck;
  }, QSize(640, 360), this);
}

void TFormMain::WindowHistoryClick() { historyTool_->Show(); }
void TFormMain::ViewElevationProfileClick() { profileTool_->Show(); }
void TFormMain::ViewTrackCheckClick() { checkTool_->Show(); }
void TFormMain::ViewLapClick() { lapTool_->Show(); }

void TFormMain::SelectionMoved() {
  if (FormTree) FormTree->RefillProperties();
}

// ---- zoom ----

bool TFormMain::ProfileActive() const {
  return FormProfile && profileTool_->Shown() && MdiArea->activeSubWindow() == profileTool_->Window();
}

void TFormMain::ViewZoomToFitClick() {
  if (ProfileActive()) FormProfile->Plot->ZoomToFit();
  else if (PlanView) PlanView->ZoomToFit();
}

void TFormMain::ViewZoomInClick() {
  if (ProfileActive()) FormProfile->Plot->ZoomStep(true);
  else if (PlanView) PlanView->ZoomInStep();
}

void TFormMain::ViewZoomOutClick() {
  if (ProfileActive()) FormProfile->Plot->ZoomStep(false);
  else if (PlanView) PlanView->ZoomOutStep();
}

void TFormMain::ViewSmoothDrawingClick() {
  const bool smooth = ViewSmoothDrawing->isChecked();
  if (PlanView) PlanView->SetSmooth(smooth);
  if (FormProfile) FormProfile->Plot->SetSmooth(smooth);
}

}  // namespace meridal
