#include "ui/shape_screenshot.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>

#include "document/document.h"
#include "graphics/scale_draw.h"
#include "model/track.h"
#include "shell/document_shell.h"
#include "ui/plan/plan_view.h"
#include "ui/plan/tools/shape_tool.h"
#include "ui/main_window.h"

namespace meridal {

namespace {

void Send(QWidget& viewport, QEvent::Type type, QPoint at, Qt::KeyboardModifiers modifiers) {
  QMouseEvent event(type, at, viewport.mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                    Qt::LeftButton, modifiers);
  QCoreApplication::sendEvent(&viewport, &event);
  QCoreApplication::processEvents();
}

}  // namespace

void ShowShaping(TFormMain& window, bool drawArc) {
  TDocumentShell& shell = window.Shell();
  if (!window.PlanView || !shell.Track()) return;
  const TTrack& track = *shell.Track();
  int s = track.NumberOfSections() - 1;
  if (!drawArc)
    for (int i = 0; i < track.NumberOfSections(); ++i)
      if (track.Section(i)->IsCurved()) {
        s = i;
        break;
      }
  shell.Document()->Select(TObjectPath::Section(s));
  if (QMdiSubWindow* child = qobject_cast<QMdiSubWindow*>(window.PlanView->parentWidget())) child->showMaximized();
  QCoreApplication::processEvents();
  TScaleDraw& view = window.PlanView->ScaleDraw();
  const TSection& section = *track.Section(s);
  view.ZoomIn();
  view.CenterOn(section.EndX(), section.EndY());
  QCoreApplication::processEvents();
  QWidget& viewport = *window.PlanView->viewport();
  const auto end = window.PlanView->Shape().HandlePixel(shape::Handle::End);
  if (!end) return;
  const Qt::KeyboardModifiers modifiers = drawArc ? Qt::AltModifier | Qt::ShiftModifier : Qt::NoModifier;
  Send(viewport, QEvent::MouseButtonPress, *end, modifiers);
  const QPoint to = *end + (drawArc ? QPoint(120, -90) : QPoint(40, 50));
  for (int i = 1; i <= 4; ++i) Send(viewport, QEvent::MouseMove, *end + (to - *end) * i / 4, modifiers & ~Qt::ShiftModifier);
}

}  // namespace meridal
