#include "ui/shape_screenshot.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>

#include "document/document.h"
#include "graphics/scale_draw.h"
#include "model/track.h"
#include "shell/document_shell.h"
#include "ui/main_window.h"
#include "ui/plan/plan_view.h"
#include "ui/plan/tools/shape_tool.h"

namespace meridal {

namespace {

void Send(QWidget& viewport, QEvent::Type type, QPoint at) {
  QMouseEvent event(type, at, viewport.mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&viewport, &event);
  QCoreApplication::processEvents();
}

// A key pressed and let go in the plan, as the hand types it.
void Type(QWidget& viewport, int key, Qt::KeyboardModifiers modifiers, const QString& text = {}) {
  for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
    QKeyEvent event(type, key, modifiers, text);
    QCoreApplication::sendEvent(&viewport, &event);
  }
  QCoreApplication::processEvents();
}

}  // namespace

void ShowShaping(TFormMain& window, ScreenshotView scene) {
  TDocumentShell& shell = window.Shell();
  if (!window.PlanView || !shell.Track()) return;
  const TTrack& track = *shell.Track();
  int s = track.NumberOfSections() - 1;
  if (scene == ScreenshotView::Drag)
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
  viewport.setFocus();
  const auto end = window.PlanView->Shape().HandlePixel(shape::Handle::End);
  if (!end) return;
  // Drawing is chosen by its key in the Tools toolbar's set: D, or Shift+D for an arc.
  if (scene == ScreenshotView::DrawStraight) Type(viewport, Qt::Key_D, Qt::NoModifier, QStringLiteral("d"));
  if (scene == ScreenshotView::DrawArc) Type(viewport, Qt::Key_D, Qt::ShiftModifier, QStringLiteral("D"));
  Send(viewport, QEvent::MouseButtonPress, *end);
  const QPoint to = *end + (scene == ScreenshotView::DrawArc ? QPoint(120, -90) : QPoint(40, 50));
  for (int i = 1; i <= 4; ++i) Send(viewport, QEvent::MouseMove, *end + (to - *end) * i / 4);
  // The straight's length typed as it is dragged, not yet entered.
  if (scene == ScreenshotView::DrawStraight)
    for (const QChar c : QStringLiteral("150 m")) Type(viewport, c == QLatin1Char(' ') ? Qt::Key_Space : c.toUpper().unicode(), Qt::NoModifier, QString(c));
}

}  // namespace meridal
