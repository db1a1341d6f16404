#include "ui/lap/racing_line_item.h"

#include <QAction>
#include <QMenu>

#include "ui/lap/lap_runner.h"
#include "ui/main_window.h"
#include "ui/plan/plan_view.h"

namespace meridal {

namespace {

constexpr char kItem[] = "racingLineItem";

}  // namespace

QAction* RacingLineItem(TFormMain& window) { return window.findChild<QAction*>(QLatin1String(kItem)); }

void AddRacingLineItem(TFormMain& window) {
  QAction* item = window.ViewMenu->addAction(QStringLiteral("&Racing Line"));
  item->setObjectName(QLatin1String(kItem));
  item->setCheckable(true);
  item->setToolTip(QStringLiteral("The lap's line over the plan, coloured by speed (the Lap window's vehicle and line)"));
  const auto show = [&window, item] {
    TPlanView* plan = window.PlanView;
    if (!plan) return;
    plan->SpeedLine().SetLap(item->isChecked() ? window.LapRunner->Result() : nullptr, window.LapRunner->Stale());
    plan->viewport()->update();
  };
  QObject::connect(item, &QAction::toggled, &window, [&window, item, show](bool on) {
    window.LapRunner->Want(item, on);
    show();
  });
  QObject::connect(window.LapRunner, &TLapRunner::Updated, item, show);
}

}  // namespace meridal
