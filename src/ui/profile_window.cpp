#include "ui/profile_window.h"

#include <QAction>
#include <QToolBar>
#include <QVBoxLayout>

#include "ui/profile_plot.h"

namespace meridal {

TFormProfile::TFormProfile(TDocumentShell& shell, QWidget* parent)
    : QWidget(parent), ToolBar(new QToolBar(this)), Plot(new TProfilePlot(shell, this)) {
  setWindowTitle(QStringLiteral("Elevation Profile"));
  SlopeColouring = ToolBar->addAction(QStringLiteral("Slope Colouring"));
  SlopeColouring->setCheckable(true);
  SlopeColouring->setToolTip(QStringLiteral("Colour the selected trace by its gradient"));
  connect(SlopeColouring, &QAction::toggled, Plot, &TProfilePlot::SetSlopeColouring);
  ZoomToFit = ToolBar->addAction(QStringLiteral("Zoom to Fit"));
  connect(ZoomToFit, &QAction::triggered, Plot, &TProfilePlot::ZoomToFit);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(ToolBar);
  layout->addWidget(Plot, 1);
  resize(800, 360);
}

}  // namespace meridal
