#include "ui/plan_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>

#include "document/document.h"
#include "ui/document_signals.h"
#include "ui/main_window.h"
#include "ui/plan/plan_view.h"

namespace meridal {

namespace {

const char kModePanel[] = "planModePanel";
const char kOverlayItem[] = "viewCentrelineOverlay";
const char kToolBar[] = "ToolsToolBar";

QLabel* ModePanel(TFormMain& window) { return window.statusBar()->findChild<QLabel*>(QLatin1String(kModePanel)); }

void BuildToolsToolBar(TFormMain& window) {
  QToolBar* bar = window.addToolBar(QStringLiteral("Tools"));
  bar->setObjectName(QLatin1String(kToolBar));
  auto* group = new QActionGroup(bar);
  // Center and the zoom clicks, chosen in the plan's popup, leave none checked.
  group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  const struct {
    const char* caption;
    const char* keys;
    PlanTool tool;
  } tools[] = {
      {"Select", "S, Esc", PlanTool::Select},         {"Draw Straight", "D", PlanTool::DrawStraight},
      {"Draw Arc", "Shift+D", PlanTool::DrawArc},     {"Measure", "M", PlanTool::Measure},
      {"Pan", "H", PlanTool::Pan},
  };
  for (const auto& t : tools) {
    QAction* item = bar->addAction(QString::fromLatin1(t.caption));
    item->setCheckable(true);
    item->setData(static_cast<int>(t.tool));
    item->setToolTip(QStringLiteral("%1 (%2)").arg(QLatin1String(t.caption), QLatin1String(t.keys)));
    group->addAction(item);
    const PlanTool tool = t.tool;
    QObject::connect(item, &QAction::triggered, &window, [&window, item, tool] {
      if (!window.PlanView) return;
      if (tool == PlanTool::Measure) window.PlanView->PopupMeasureClick();
      else window.PlanView->SetTool(tool);
      item->setChecked(window.PlanView->Tool() == tool);
      window.PlanView->setFocus();  // the tool's keys go to the plan
    });
  }
  bar->setEnabled(false);
}

// The toolbar shows the plan's tool.
void ShowTool(TFormMain& window, PlanTool tool) {
  for (QAction* item : ToolsToolBar(window)->actions()) item->setChecked(item->data().toInt() == static_cast<int>(tool));
}

}  // namespace

QToolBar* ToolsToolBar(TFormMain& window) { return window.findChild<QToolBar*>(QLatin1String(kToolBar)); }

void AddPlanToolItems(TFormMain& window) {
  BuildToolsToolBar(window);
  window.ViewMenu->addSeparator();
  // The key itself belongs to the plan window (M there, letters elsewhere stay
  // letters): the menu only shows it.
  QAction* measure = window.ViewMenu->addAction(QStringLiteral("&Measure\tM"));
  QObject::connect(measure, &QAction::triggered, &window, [&window] {
    if (window.PlanView) window.PlanView->PopupMeasureClick();
  });
  QAction* background = window.ViewMenu->addAction(QStringLiteral("&Background Image…"));
  QObject::connect(background, &QAction::triggered, &window, [&window] {
    if (window.PlanView) window.PlanView->ShowBackgroundDialog(window.FileDialogs());
  });
  QAction* overlay = window.ViewMenu->addAction(QStringLiteral("&Centreline Overlay"));
  overlay->setObjectName(QLatin1String(kOverlayItem));
  overlay->setCheckable(true);
  overlay->setEnabled(false);
  QObject::connect(overlay, &QAction::toggled, &window, [&window](bool on) {
    if (!window.PlanView) return;
    window.PlanView->Centreline().SetVisible(on);
    window.PlanView->viewport()->update();
  });
  auto* panel = new QLabel(&window);
  panel->setObjectName(QLatin1String(kModePanel));
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  window.statusBar()->addPermanentWidget(panel);
}

void ConnectPlanTools(TFormMain& window) {
  TPlanView* plan = window.PlanView;
  if (!plan) return;
  QToolBar* bar = ToolsToolBar(window);
  bar->setEnabled(true);
  ShowTool(window, plan->Tool());
  QObject::connect(plan, &TPlanView::ToolChosen, bar, [&window](PlanTool tool) { ShowTool(window, tool); });
  QObject::connect(plan, &QObject::destroyed, bar, [bar] {
    bar->setEnabled(false);
    for (QAction* item : bar->actions()) item->setChecked(false);
  });
  if (QLabel* panel = ModePanel(window)) {
    QObject::connect(plan, &TPlanView::StatusChanged, panel, &QLabel::setText);
    // The plan goes with its document: the panel empties with it.
    QObject::connect(plan, &QObject::destroyed, panel, &QLabel::clear);
    panel->setText(plan->StatusTextNow());
  }
  // A new plan has no centreline until an import gives it one.
  QAction* overlay = CentrelineOverlayItem(window);
  const auto off = [overlay] {
    overlay->setChecked(false);
    overlay->setEnabled(false);
  };
  off();
  QObject::connect(plan, &QObject::destroyed, overlay, off);  // no plan, nothing to show
  QObject::connect(window.Signals, &TDocumentSignals::Changed, plan, [overlay, plan](const TDocumentChange& change) {
    // The first edit makes the track another than the line's fit.
    if (!change.track.Empty() && plan->Centreline().TrackChanged()) overlay->setChecked(false);
  });
}

void ShowCentrelineOverlay(TFormMain& window, std::vector<QPointF> points) {
  TPlanView* plan = window.PlanView;
  if (!plan) return;
  plan->Centreline().SetLine(std::move(points));
  QAction* overlay = CentrelineOverlayItem(window);
  overlay->setEnabled(plan->Centreline().HasLine());
  overlay->setChecked(plan->Centreline().Visible());
  plan->viewport()->update();
}

QAction* CentrelineOverlayItem(TFormMain& window) {
  return window.findChild<QAction*>(QLatin1String(kOverlayItem));
}

}  // namespace meridal
