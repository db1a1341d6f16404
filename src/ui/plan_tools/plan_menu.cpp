#include "ui/plan_tools/plan_menu.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

#include "document/document.h"
#include "ui/document_signals.h"
#include "ui/graph_window.h"
#include "ui/main_window.h"

namespace meridal {

namespace {

const char kModePanel[] = "planModePanel";
const char kOverlayItem[] = "viewCentrelineOverlay";

QLabel* ModePanel(TFormMain& window) { return window.statusBar()->findChild<QLabel*>(QLatin1String(kModePanel)); }

}  // namespace

void AddPlanToolItems(TFormMain& window) {
  window.ViewMenu->addSeparator();
  // The key itself belongs to the plan window (M there, letters elsewhere stay
  // letters): the menu only shows it.
  QAction* measure = window.ViewMenu->addAction(QStringLiteral("&Measure\tM"));
  QObject::connect(measure, &QAction::triggered, &window, [&window] {
    if (window.FormGraph) window.FormGraph->PopupMeasure->trigger();
  });
  QAction* background = window.ViewMenu->addAction(QStringLiteral("&Background Image…"));
  QObject::connect(background, &QAction::triggered, &window, [&window] {
    if (window.FormGraph) window.FormGraph->ShowBackgroundDialog(window.FileDialogs());
  });
  QAction* overlay = window.ViewMenu->addAction(QStringLiteral("&Centreline Overlay"));
  overlay->setObjectName(QLatin1String(kOverlayItem));
  overlay->setCheckable(true);
  overlay->setEnabled(false);
  QObject::connect(overlay, &QAction::toggled, &window, [&window](bool on) {
    if (!window.FormGraph) return;
    window.FormGraph->Centreline().SetVisible(on);
    window.FormGraph->viewport()->update();
  });
  auto* panel = new QLabel(&window);
  panel->setObjectName(QLatin1String(kModePanel));
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  window.statusBar()->addPermanentWidget(panel);
}

void ConnectPlanTools(TFormMain& window) {
  TFormGraph* graph = window.FormGraph;
  if (!graph) return;
  if (QLabel* panel = ModePanel(window)) {
    QObject::connect(graph, &TFormGraph::StatusChanged, panel, &QLabel::setText);
    // The graph goes with its document: the panel empties with it.
    QObject::connect(graph, &QObject::destroyed, panel, &QLabel::clear);
    panel->setText(graph->StatusTextNow());
  }
  QObject::connect(window.Signals, &TDocumentSignals::Changed, graph, &TFormGraph::DocumentChanged);
  // A new plan has no centreline until an import gives it one.
  QAction* overlay = CentrelineOverlayItem(window);
  const auto off = [overlay] {
    overlay->setChecked(false);
    overlay->setEnabled(false);
  };
  off();
  QObject::connect(graph, &QObject::destroyed, overlay, off);  // no plan, nothing to show
  QObject::connect(window.Signals, &TDocumentSignals::Changed, graph, [overlay, graph](const TDocumentChange& change) {
    // The first edit makes the track another than the line's fit.
    if (!change.track.Empty() && graph->Centreline().TrackChanged()) overlay->setChecked(false);
  });
}

void ShowCentrelineOverlay(TFormMain& window, std::vector<QPointF> points) {
  TFormGraph* graph = window.FormGraph;
  if (!graph) return;
  graph->Centreline().SetLine(std::move(points));
  QAction* overlay = CentrelineOverlayItem(window);
  overlay->setEnabled(graph->Centreline().HasLine());
  overlay->setChecked(graph->Centreline().Visible());
  graph->viewport()->update();
}

QAction* CentrelineOverlayItem(TFormMain& window) {
  return window.findChild<QAction*>(QLatin1String(kOverlayItem));
}

}  // namespace meridal
