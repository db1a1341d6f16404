#include "ui/plan_screenshots.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <cmath>

#include "graphics/scale_draw.h"
#include "model/curved_section.h"
#include "model/track.h"
#include "model/units.h"
#include "shell/document_shell.h"
#include "ui/plan/plan_view.h"
#include "ui/main_window.h"
#include "ui/plan/background_dialog.h"
#include "ui/plan/tools/section_band.h"

namespace meridal {

namespace {

// The plan alone, filling the frame, the track fitted.
TPlanView* PlanAlone(TFormMain& window) {
  TPlanView* graph = window.PlanView;
  if (!graph) return nullptr;
  if (QMdiSubWindow* child = qobject_cast<QMdiSubWindow*>(graph->parentWidget()))
    child->showMaximized();
  QApplication::processEvents();
  graph->ZoomToFit();
  QApplication::processEvents();
  return graph;
}

// The zero line of the whole track, sampled every few metres.
QPolygonF ZeroLine(const TTrack& track) {
  QPolygonF line;
  for (const auto& section : track.Sections) {
    const int steps = std::max(2, static_cast<int>(section->Length / (2 * kUnitsPerMeter)));
    for (int k = 0; k <= steps; ++k) {
      const double t = static_cast<double>(k) / steps;
      if (const auto* arc = dynamic_cast<const TCurvedSection*>(section.get())) {
        const double a = arc->StartAngle + t * arc->SweptAngle();
        line << QPointF(arc->LocalToX(a, arc->Radius), arc->LocalToY(a, arc->Radius));
      } else {
        line << QPointF(section->LocalToX(t * section->Length, 0), section->LocalToY(t * section->Length, 0));
      }
    }
  }
  return line;
}

// An aerial view of the circuit: grass, a few trees, the asphalt and its kerbs.
QImage Aerial(const TTrack& track, QPointF centre, double unitsPerPixel, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(QColor(96, 138, 72));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QRandomGenerator random(17);
  for (int i = 0; i < 9000; ++i) {  // the grass's texture
    const int shade = random.bounded(-18, 18);
    p.fillRect(random.bounded(size.width()), random.bounded(size.height()), 3, 3,
               QColor(96 + shade, 138 + shade, 72 + shade / 2));
  }
  QPolygonF road;
  for (const QPointF& w : ZeroLine(track))
    road << QPointF((w.x() - centre.x()) / unitsPerPixel + size.width() / 2.0,
                    (centre.y() - w.y()) / unitsPerPixel + size.height() / 2.0);
  const double width = 14 * kUnitsPerMeter / unitsPerPixel;
  p.setPen(QPen(QColor(225, 225, 225), width + 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(road);
  p.setPen(QPen(QColor(200, 40, 40), width + 6, Qt::DashLine, Qt::FlatCap, Qt::RoundJoin));
  p.drawPolyline(road);
  p.setPen(QPen(QColor(70, 70, 74), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(road);
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 160; ++i) {  // trees, away from the road
    const QPointF at(random.bounded(size.width()), random.bounded(size.height()));
    bool clear = true;
    for (const QPointF& r : road) clear = clear && std::hypot(r.x() - at.x(), r.y() - at.y()) > width * 1.6;
    if (!clear) continue;
    const double radius = 6 + random.bounded(10);
    p.setBrush(QColor(40, 84, 38));
    p.drawEllipse(at, radius, radius);
    p.setBrush(QColor(58, 108, 50));
    p.drawEllipse(at - QPointF(radius / 4, radius / 4), radius / 2, radius / 2);
  }
  return image;
}

}  // namespace

void ShowMeasureScene(TFormMain& window) {
  TPlanView* graph = PlanAlone(window);
  if (!graph || !window.Shell().Track() || window.Shell().Track()->NumberOfSections() == 0) return;
  graph->PopupMeasureClick();
  // Along the first section and into the next, Alt held: the way along the track.
  const TTrack& track = *window.Shell().Track();
  const TScaleDraw& view = window.PlanView->ScaleDraw();
  const TSection& first = *track.Section(0);
  const QPoint from(view.ToWindowX(first.LocalToX(0.1 * first.Length, 0)),
                    view.ToWindowY(first.LocalToY(0.1 * first.Length, 0)));
  const TSection& later = *track.Section(std::min(2, track.NumberOfSections() - 1));
  const QPoint to(view.ToWindowX(later.EndX()), view.ToWindowY(later.EndY()));
  QWidget* plan = graph->viewport();
  const auto send = [plan](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), QPointF(plan->mapToGlobal(at)), button, held, Qt::AltModifier);
    QApplication::sendEvent(plan, &event);
  };
  send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

void ShowCentrelineScene(TFormMain& window) {
  TPlanView* graph = PlanAlone(window);
  if (!graph) return;
  // The bend where the source line turns most over a few points, close up: the
  // traces and the fitted arcs with the line between them.
  const std::vector<QPointF>& line = graph->Centreline().Line();
  const size_t n = line.size();
  if (n < 8) return;
  double sharpest = -1;
  QPointF bend = line.front();
  for (size_t i = 0; i < n; ++i) {
    const QPointF a = line[(i + n - 3) % n], b = line[i], c = line[(i + 3) % n];
    const double turn = std::abs(std::remainder(std::atan2(c.y() - b.y(), c.x() - b.x()) -
                                                    std::atan2(b.y() - a.y(), b.x() - a.x()),
                                                2 * 3.14159265358979323846));
    if (turn > sharpest) {
      sharpest = turn;
      bend = b;
    }
  }
  TScaleDraw& view = window.PlanView->ScaleDraw();
  for (int step = 0; step < 5; ++step) view.ZoomIn();
  view.CenterOn(bend.x(), bend.y());
  QApplication::processEvents();
}

void ShowSectionRunScene(TFormMain& window) {
  TPlanView* graph = window.PlanView;
  if (!graph || !window.Shell().Track() || window.Shell().Track()->NumberOfSections() < 5) return;
  graph->ZoomToFit();
  QApplication::processEvents();
  const TTrack& track = *window.Shell().Track();
  const TScaleDraw& view = window.PlanView->ScaleDraw();
  QWidget* plan = graph->viewport();
  const auto click = [plan](QPoint at, Qt::KeyboardModifiers keys) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), QPointF(plan->mapToGlobal(at)), Qt::LeftButton,
                      Qt::LeftButton, keys);
    QApplication::sendEvent(plan, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), QPointF(plan->mapToGlobal(at)), Qt::LeftButton,
                        Qt::NoButton, keys);
    QApplication::sendEvent(plan, &release);
    QApplication::processEvents();
  };
  click(SectionClickPoint(*track.Section(1), view), Qt::NoModifier);
  click(SectionClickPoint(*track.Section(4), view), Qt::ShiftModifier);
}

void ShowBackgroundScene(TFormMain& window, const QString& folder) {
  TPlanView* graph = PlanAlone(window);
  if (!graph || !window.Shell().Track()) return;
  const TTrack& track = *window.Shell().Track();
  const TRect box = track.Extent;
  const QPointF centre((box.left + box.right) / 2.0, (box.top + box.bottom) / 2.0);
  const QSize size(1600, 1000);
  const double unitsPerPixel = 1.25 * std::max((box.right - box.left) / double(size.width()),
                                               (box.top - box.bottom) / double(size.height()));
  const QString path = QDir(folder).filePath(QStringLiteral("aerial.png"));
  if (!Aerial(track, centre, unitsPerPixel, size).save(path, "PNG")) return;
  TBackgroundLayer& layer = graph->Background();
  if (!layer.Load(path, centre, unitsPerPixel * size.width())) return;
  layer.SetOpacity(0.8);
  TBackgroundDialog& dialog = graph->ShowBackgroundDialog(window.FileDialogs());
  dialog.move(window.geometry().topRight() - QPoint(dialog.sizeHint().width() + 40, -90));
}

}  // namespace meridal
