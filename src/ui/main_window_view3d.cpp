// The frame's 3D view (View > 3D View) and File > Export 3D Model...
//
// The 3D view follows the open document: a new document is shown whole, an edit,
// undo or redo rebuilds only the sections it names, and the selected section is
// highlighted. A click in the view, or the drive camera moving on, selects the
// section in the document, and the other windows follow. Closing the window
// frees its meshes; View > 3D View shows it again. Its Racing Line shows the
// lap the frame's runner drives, coloured by the speeds.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <optional>
#include <string>

#include "document/document.h"
#include "graphics/speed_colours.h"
#include "ui/lap/lap_runner.h"
#include "shell/document_shell.h"
#include "shell/model_export.h"
#include "ui/document_signals.h"
#include "ui/main_window.h"
#include "ui/view3d/view3d.h"
#include "view_file/view_file.h"

namespace meridal {

namespace {

// The section the document's selection is, or lies in; -1 for the track.
int SelectedSection(const TDocument* document) {
  if (!document || document->Selection().kind == TObjectPath::Kind::Track) return -1;
  return document->Selection().section;
}

// The selected section, and the run of sections it lies in, tinted.
void ShowSelection(TView3D& view, const TDocument* document) {
  const TSectionRun run = document ? document->SelectedRun() : TSectionRun{};
  view.SetSelectedRun(run.first, run.last);
  view.SetSelectedSection(SelectedSection(document));
}

// The lap's line as the view lays it over the track.
std::vector<TView3DLinePoint> LineOf(const TLapResult& result) {
  std::vector<TView3DLinePoint> line;
  const TLap& lap = result.lap;
  if (!lap.ok) return line;
  line.reserve(lap.line.points.size());
  for (size_t i = 0; i < lap.line.points.size() && i < lap.speed.v.size(); ++i) {
    const TLinePoint& p = lap.line.points[i];
    const TStation& station = result.stations.stations[p.station];
    line.push_back({p.x, p.y, p.height, station.section, station.t, lap.speed.v[i],
                    SpeedColour(lap.speed.v[i], lap.lowestSpeed, lap.topSpeed)});
  }
  return line;
}

}  // namespace

// Like the profile and the check, the item shows the window and brings it to the
// front; its close button closes it.
void TFormMain::View3DViewClick() {
  if (!view3dChild_) {
    FormView3D = new TView3D;
    view3dChild_ = new QMdiSubWindow;
    view3dChild_->setAttribute(Qt::WA_DeleteOnClose);
    view3dChild_->setWidget(FormView3D);
    view3dChild_->setWindowTitle(QStringLiteral("3D View"));
    view3dChild_->setWindowIcon(windowIcon());
    MdiArea->addSubWindow(view3dChild_);
    // Adding a child window clears the frame's modified mark.
    setWindowModified(shell_->Modified());
    view3dChild_->resize(800, 560);
    connect(view3dChild_, &QObject::destroyed, this, [this, view = FormView3D] {
      LapRunner->Want(view, false);
      view3dChild_ = nullptr;
      FormView3D = nullptr;
    });
    // The line while Racing Line is on: each lap driven, and greyed when stale.
    const auto showLap = [this] {
      if (!FormView3D->RacingLineOn()) return;
      const auto result = LapRunner->Result();
      FormView3D->SetLine(result ? LineOf(*result) : std::vector<TView3DLinePoint>{}, LapRunner->Stale());
    };
    connect(FormView3D, &TView3D::LineWanted, this, [this, showLap](bool on) {
      LapRunner->Want(FormView3D, on);
      if (on) showLap();
    });
    connect(LapRunner, &TLapRunner::Updated, FormView3D, showLap);

    // The track goes before its document does, and the next one is shown whole.
    connect(Signals, &TDocumentSignals::Replaced, FormView3D, [this](TDocument* document) {
      if (document) ShowTrackIn3D(*document);
      else FormView3D->ClearTrack();
      ShowSelection(*FormView3D, document);
    });
    connect(Signals, &TDocumentSignals::Changed, FormView3D, [this](const TDocumentChange& change) {
      if (change.reset) FormView3D->Reset();
      else FormView3D->Changed(change.track);
      if (change.selection || change.reset || change.track.Structural())
        ShowSelection(*FormView3D, Signals->Document());
    });
    connect(FormView3D, &TView3D::SectionPicked, this, [this](int section) {
      if (TDocument* document = shell_->Document()) document->Select(TObjectPath::Section(section));
    });
    if (const TDocument* document = shell_->Document()) {
      ShowTrackIn3D(*document);
      ShowSelection(*FormView3D, document);
    }
  }
  if (view3dChild_->isMinimized()) view3dChild_->showNormal();
  view3dChild_->show();
  MdiArea->setActiveSubWindow(view3dChild_);
}

// The track, in the terrain its side file names, if any: a model that cannot be
// read is told in the status bar, and the ground then lies under the track.
void TFormMain::ShowTrackIn3D(const TDocument& document) {
  FormView3D->SetTrack(document.Track());
  std::string error;
  const auto settings = document.FileName().empty() ? std::nullopt : ReadViewSettings(document.FileName(), error);
  if (!FormView3D->SetTerrain(settings ? settings->terrain : std::nullopt, error))
    ShowStatus("The terrain model is not drawn: " + error);
}

void TFormMain::FileExport3DModelClick() {
  if (const TDocument* document = shell_->Document())
    Export3DModel(document->Track(), document->FileName(), *services_.fileDialogs, *services_.messages, *this);
}

}  // namespace meridal
