#include "ui/plan_tools/plan_menu.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

#include "ui/document_signals.h"
#include "ui/graph_window.h"
#include "ui/main_window.h"

namespace meridal {

namespace {

const char kModePanel[] = "planModePanel";

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
}

}  // namespace meridal
