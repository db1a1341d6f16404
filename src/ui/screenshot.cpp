#include "ui/screenshot.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QPixmap>
#include <QScreen>
#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include "model/track.h"
#include "model/wall.h"
#include "document/document.h"
#include "shell/document_shell.h"
#include "ui/check_window.h"
#include "ui/lap/lap_runner.h"
#include "ui/lap/racing_line_item.h"
#include "ui/main_window.h"
#include "ui/plan_screenshots.h"
#include "ui/profile_window.h"
#include "ui/shape_screenshot.h"
#include "ui/tree_window.h"

namespace meridal {

namespace {

void Settle(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

// The section to show: the first curved one (it has the most rows), else the first.
const TSection* ShowcaseSection(const TTrack& track) {
  for (auto& section : track.Sections)
    if (section->IsCurved()) return section.get();
  return track.NumberOfSections() > 0 ? track.Section(0) : nullptr;
}

// A change the drawing does not show (a wall's height), so the picture stays the
// track's, then an export into a folder of its own: the title gets its mark and
// the status bar its note.
void EditAndExport(TDocumentShell& shell, const TSection& section) {
  if (section.NumberOfWalls() == 0) return;
  const TWall& wall = *section.Wall(0);
  shell.Document()->SetValue(PathOf(wall), "Height", wall.Height + 1);
  static QTemporaryDir folder;
  const QString name = QFileInfo(QString::fromStdString(shell.FileName())).completeBaseName() + QStringLiteral(".trk");
  shell.ExportTo(folder.filePath(name).toStdString());
}

// Edits as a user makes them, through the Edit menu, and the last one taken back;
// then the History window beside the tree and the plan.
void ShowHistory(TFormMain& window, const TSection& section) {
  TDocument& document = *window.Shell().Document();
  const int n = section.Number;
  document.SetValue(TObjectPath::Section(n), "Length", section.Length + 100000);
  document.Select(TObjectPath::Section(n));
  document.Add(TObjectPath::Section(n), false);
  document.ChangeType(TObjectPath::Section(n + 1));
  window.EditUndoClick();
  window.WindowHistoryClick();
  window.TileWindows();
}

// The Lap window and the profile's speeds beside the tree and the plan with the
// racing line, once the lap is driven.
void ShowLap(TFormMain& window) {
  RacingLineItem(window)->setChecked(true);
  window.ViewElevationProfile->trigger();
  window.FormProfile->SpeedTrace->setChecked(true);
  window.ViewLap->trigger();
  window.TileWindows();
  for (int waited = 0; waited < 200 && (window.LapRunner->Busy() || !window.LapRunner->Result()); ++waited) Settle(50);
}

// One of the views of the whole track, filling the frame's client area.
void ShowView(TFormMain& window, const TSection* section, ScreenshotView view) {
  static QTemporaryDir scratch;
  if (view == ScreenshotView::Measure) return ShowMeasureScene(window);
  if (view == ScreenshotView::SectionRun) return ShowSectionRunScene(window);
  if (view == ScreenshotView::Background) return ShowBackgroundScene(window, scratch.path());
  if (view == ScreenshotView::Centreline) return ShowCentrelineScene(window);
  if (view == ScreenshotView::Lap) return ShowLap(window);
  if (view == ScreenshotView::History) {
    if (section) ShowHistory(window, *section);
    return;
  }
  if (view == ScreenshotView::Drag || view == ScreenshotView::DrawArc || view == ScreenshotView::DrawStraight) {
    ShowShaping(window, view);
    return;
  }
  if (view == ScreenshotView::Profile) {
    if (section && section->NumberOfAltitudes() > 0)
      window.Shell().Document()->Select(TObjectPath::Altitude(section->Number, section->NumberOfAltitudes() / 2));
    window.ViewElevationProfile->trigger();
    window.FormProfile->SlopeColouring->setChecked(true);
  } else {
    window.ViewTrackCheck->trigger();
    TFormCheck& check = *window.FormCheck;
    check.Table->setCurrentIndex(check.Model().index(0, 0));
  }
  window.MdiArea->activeSubWindow()->showMaximized();
}

// The frame as the screen shows it, the title bar and any box over it too.
QPixmap GrabFrame(TFormMain& window) {
  QPixmap picture;
  if (QScreen* screen = window.screen()) {
    const QRect frame = window.frameGeometry();
    picture = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
  }
  return picture.isNull() ? window.grab() : picture;
}

}  // namespace

void ScreenshotOfNextMessage(TFormMain& window, const QString& path, bool* taken) {
  if (QScreen* screen = window.screen()) window.setGeometry(screen->availableGeometry());
  Settle(300);
  auto* watch = new QTimer(&window);
  QObject::connect(watch, &QTimer::timeout, &window, [&window, watch, path, taken] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box) return;
    watch->stop();
    watch->deleteLater();
    // Once the box and the windows behind it are drawn.
    QTimer::singleShot(700, &window, [&window, box, path, taken] {
      *taken = GrabFrame(window).save(path, "PNG");
      box->close();
    });
  });
  watch->start(100);
}

bool TakeScreenshot(TFormMain& window, const QString& path, const ScreenshotOptions& options) {
  TDocumentShell& shell = window.Shell();
  if (!shell.Track()) shell.FileNew();
  // Without a window manager nothing maximises the frame: give it the screen.
  if (QScreen* screen = window.screen()) window.setGeometry(screen->availableGeometry());
  Settle(300);
  window.TileWindows();
  if (window.FormTree) {
    window.FormTree->TreeView->expandAll();
    if (const TSection* section = ShowcaseSection(*shell.Track())) {
      shell.Document()->Select(PathOf(*section));
      if (options.edited) EditAndExport(shell, *section);
      if (options.wall >= 0 && options.wall < section->NumberOfWalls())
        shell.Document()->Select(TObjectPath::Wall(section->Number, options.wall));
    }
    if (options.view != ScreenshotView::Main) ShowView(window, ShowcaseSection(*shell.Track()), options.view);
  }
  Settle(700);
  const QPixmap picture = GrabFrame(window);  // the title bar too, when a window manager draws one
  return !picture.isNull() && picture.save(path, "PNG");
}

}  // namespace meridal
