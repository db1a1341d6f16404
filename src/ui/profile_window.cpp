#include "ui/profile_window.h"

#include <QAction>
#include <QToolBar>
#include <QVBoxLayout>

#include "ui/lap/lap_runner.h"
#include "ui/profile_plot.h"

namespace meridal {

namespace {

// The lap's speeds where it passes each section.
std::shared_ptr<TProfileSpeeds> SpeedsOf(const TLapResult& result, bool stale) {
  auto speeds = std::make_shared<TProfileSpeeds>();
  speeds->stale = stale;
  const TLap& lap = result.lap;
  if (!lap.ok) return speeds;
  speeds->points.reserve(lap.line.points.size());
  for (size_t i = 0; i < lap.line.points.size() && i < lap.speed.v.size(); ++i) {
    const TStation& station = result.stations.stations[lap.line.points[i].station];
    speeds->points.push_back({station.section, station.t, lap.speed.v[i]});
  }
  return speeds;
}

}  // namespace

TFormProfile::TFormProfile(TDocumentShell& shell, TLapRunner* runner, QWidget* parent)
    : QWidget(parent), ToolBar(new QToolBar(this)), Plot(new TProfilePlot(shell, this)), runner_(runner) {
  setWindowTitle(QStringLiteral("Elevation Profile"));
  SlopeColouring = ToolBar->addAction(QStringLiteral("Slope Colouring"));
  SlopeColouring->setCheckable(true);
  SlopeColouring->setToolTip(QStringLiteral("Colour the selected trace by its gradient"));
  connect(SlopeColouring, &QAction::toggled, Plot, &TProfilePlot::SetSlopeColouring);
  SpeedTrace = ToolBar->addAction(QStringLiteral("Speed"));
  SpeedTrace->setCheckable(true);
  SpeedTrace->setToolTip(QStringLiteral("The speeds of the lap (the Lap window's vehicle and line) under the heights"));
  SpeedTrace->setEnabled(runner_ != nullptr);
  connect(SpeedTrace, &QAction::toggled, this, &TFormProfile::FollowLap);
  if (runner_) connect(runner_, &TLapRunner::Updated, this, &TFormProfile::FollowLap);
  ZoomToFit = ToolBar->addAction(QStringLiteral("Zoom to Fit"));
  connect(ZoomToFit, &QAction::triggered, Plot, &TProfilePlot::ZoomToFit);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(ToolBar);
  layout->addWidget(Plot, 1);
  resize(800, 360);
}

void TFormProfile::FollowLap() {
  if (!runner_) return;
  const bool on = SpeedTrace->isChecked() && isVisible();
  runner_->Want(this, on);
  const auto result = runner_->Result();
  Plot->SetSpeeds(on && result ? SpeedsOf(*result, runner_->Stale()) : nullptr);
}

void TFormProfile::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FollowLap();
}

void TFormProfile::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  FollowLap();
}

}  // namespace meridal
