// The frame's menus and status bar.
#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QStatusBar>

#include <algorithm>
#include <climits>

#include "document/document.h"
#include "graphics/view_flags.h"
#include "present/position_text.h"
#include "shell/document_shell.h"
#include "ui/centreline_import.h"
#include "ui/plan/plan_view.h"
#include "ui/main_window.h"

namespace meridal {

namespace {

// The width a label needs for the longest texts of the pointer's position: each
// coordinate at its most characters in metres and in millimetres, with a sign.
int WidestPositionText(QLabel& label) {
  // -109092.17 m, -999.9472 mm, -1.0000488 m, -99.999952 m
  const int32_t longest[] = {INT32_MIN, -19684, -19686, -1968503};
  int widest = 0;
  for (int32_t x : longest)
    for (int32_t y : longest) {
      label.setText(QString::fromStdString(PositionText(x, y)));
      widest = std::max(widest, label.sizeHint().width());
    }
  label.clear();
  return widest;
}

}  // namespace

void TFormMain::BuildMenus() {
  BuildFileMenu();
  BuildEditMenu();
  BuildViewMenu();
  BuildWindowMenu();
  AboutItem = menuBar()->addAction(QStringLiteral("&About"));
  connect(AboutItem, &QAction::triggered, this, &TFormMain::AboutClick);
  Redraw = new QAction(this);
  Redraw->setShortcut(QKeySequence(Qt::Key_F5));
  connect(Redraw, &QAction::triggered, this, &TFormMain::RedrawPlan);
  addAction(Redraw);
}

void TFormMain::BuildFileMenu() {
  FileMenu = menuBar()->addMenu(QStringLiteral("&File"));
  const auto add = [this](const char* caption, void (TFormMain::*handler)()) {
    QAction* item = FileMenu->addAction(QString::fromLatin1(caption));
    connect(item, &QAction::triggered, this, handler);
    return item;
  };
  FileNew = add("&New...", &TFormMain::FileNewClick);
  FileNewWindow = add("New &Window", &TFormMain::FileNewWindowClick);
  FileOpen = add("&Open...", &TFormMain::FileOpenClick);
  FileOpenRecent = FileMenu->addMenu(QStringLiteral("Open &Recent"));
  FillRecentMenu();
  FileMenu->addSeparator()->setEnabled(false);
  FileSave = add("&Save", &TFormMain::FileSaveClick);
  FileSaveAs = add("Save &As...", &TFormMain::FileSaveAsClick);
  FileImportTrackFile = add("&Import Track File...", &TFormMain::FileImportTrackFileClick);
  FileImportCentreline = FileMenu->addAction(QStringLiteral("Import &Centreline\u2026"));
  connect(FileImportCentreline, &QAction::triggered, this, [this] { ImportCentrelineClick(*this); });
  FileExportTrackFile = add("Export &Track File...", &TFormMain::FileExportTrackFileClick);
  FileExport3DModel = add("Export &3D Model...", &TFormMain::FileExport3DModelClick);
  FileMenu->addSeparator();
  FileExit = add("E&xit", &TFormMain::FileExitClick);
  FileSave->setEnabled(false);
  FileSaveAs->setEnabled(false);
  FileExportTrackFile->setEnabled(false);
  FileExport3DModel->setEnabled(false);

  FileNew->setShortcut(QKeySequence::New);
  FileNewWindow->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
  FileOpen->setShortcut(QKeySequence::Open);
  FileSave->setShortcut(QKeySequence::Save);
  FileSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  FileImportTrackFile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
  FileImportCentreline->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
  FileExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void TFormMain::BuildEditMenu() {
  EditMenuItems = menuBar()->addMenu(QStringLiteral("&Edit"));
  EditUndo = EditMenuItems->addAction(QStringLiteral("&Undo"));
  EditRedo = EditMenuItems->addAction(QStringLiteral("&Redo"));
  EditUndo->setShortcut(QKeySequence::Undo);
  EditRedo->setShortcut(QKeySequence::Redo);
  connect(EditUndo, &QAction::triggered, this, &TFormMain::EditUndoClick);
  connect(EditRedo, &QAction::triggered, this, &TFormMain::EditRedoClick);
  EditMenuItems->addSeparator();
  EditItems.Build(*EditMenuItems, true);
  const std::pair<int, void (TFormMain::*)()> handlers[] = {
      {kEditRemove, &TFormMain::EditRemoveClick},
      {kEditAddBefore, &TFormMain::EditAddBeforeClick},
      {kEditAddAfter, &TFormMain::EditAddAfterClick},
      {kEditSplit, &TFormMain::EditSplitClick},
      {kEditChangeType, &TFormMain::EditChangeTypeClick},
      {kEditCopyWallsFrom, &TFormMain::EditCopyWallsFromClick},
      {kEditCopyWallsToAll, &TFormMain::EditCopyWallsToAllClick},
      {kEditCopyAltitude, &TFormMain::EditCopyAltitudeClick},
  };
  for (const auto& [index, handler] : handlers) connect(EditItems.Action(index), &QAction::triggered, this, handler);
}

void TFormMain::BuildViewMenu() {
  ViewMenu = menuBar()->addMenu(QStringLiteral("&View"));
  ViewMenu->setToolTipsVisible(true);  // what Unk1 and Keep Joined are
  const auto add = [this](const char* caption, void (TFormMain::*handler)()) {
    QAction* item = ViewMenu->addAction(QString::fromLatin1(caption));
    item->setCheckable(true);
    item->setChecked(true);
    connect(item, &QAction::triggered, this, handler);
    return item;
  };
  ViewTraces = add("&Traces", &TFormMain::ViewTracesClick);
  ViewZeroLine = add("&Zero Line", &TFormMain::ViewZeroLineClick);
  ViewSFLine = add("&S/F Line", &TFormMain::ViewSFLineClick);
  ViewMenu->addSeparator();
  ViewWallOutline = add("&Wall Outline", &TFormMain::ViewWallOutlineClick);
  ViewShowNonZeroHeight = add("Show Non-Zero &Height (red ///)", &TFormMain::ViewShowNonZeroHeightClick);
  ViewShowNonZeroUnk1 = add("Show Non-Zero &Unk1 (green \\\\\\)", &TFormMain::ViewShowNonZeroUnk1Click);
  ViewShowNonZeroHeight->setToolTip(QStringLiteral("Hatch the strips whose wall Height is not 0"));
  ViewShowNonZeroUnk1->setToolTip(QStringLiteral(
      "Hatch the strips whose wall's Unk1 is not 0. Unk1 is unknown field 1 of the track file: its meaning is not "
      "known, and it is kept as it is"));

  // Navigation of the graphics window, and how it is drawn.
  ViewMenu->addSeparator();
  const auto command = [this](const char* caption, void (TFormMain::*handler)(), QList<QKeySequence> keys) {
    QAction* item = ViewMenu->addAction(QString::fromLatin1(caption));
    item->setShortcuts(keys);
    connect(item, &QAction::triggered, this, handler);
    return item;
  };
  ViewZoomToFit = command("Zoom to &Fit", &TFormMain::ViewZoomToFitClick, {QKeySequence(Qt::CTRL | Qt::Key_0)});
  // Ctrl+= too: on many keyboards + is the shifted =.
  ViewZoomIn = command("Zoom &In", &TFormMain::ViewZoomInClick,
                       {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  ViewZoomOut = command("Zoom &Out", &TFormMain::ViewZoomOutClick, {QKeySequence(Qt::CTRL | Qt::Key_Minus)});
  ViewMenu->addSeparator();
  ViewSmoothDrawing = add("S&mooth Drawing", &TFormMain::ViewSmoothDrawingClick);
  // Shaping by hand: whether the sections after a dragged one follow it.
  ViewKeepJoined = ViewMenu->addAction(QStringLiteral("&Keep Joined"));
  ViewKeepJoined->setCheckable(true);
  ViewKeepJoined->setChecked(true);
  ViewKeepJoined->setToolTip(
      QStringLiteral("Keep joined: the later sections follow a section that is dragged, typed, added, removed, "
                     "split, retyped, pasted or cut; only the loop's closure at section 0 may open"));
  connect(ViewKeepJoined, &QAction::toggled, this, [this](bool on) {
    if (PlanView) PlanView->SetKeepJoined(on);
    if (TDocument* document = shell_->Document()) document->SetKeepJoined(on);
  });
  QToolBar* shaping = addToolBar(QStringLiteral("Shaping"));
  shaping->setObjectName(QStringLiteral("ShapingToolBar"));
  shaping->addAction(ViewKeepJoined);

  // The windows that show the whole track.
  ViewMenu->addSeparator();
  // Each shows or hides its window (see BuildToolWindows).
  ViewElevationProfile = ViewMenu->addAction(QStringLiteral("Elevation &Profile"));
  ViewTrackCheck = ViewMenu->addAction(QStringLiteral("Track &Check"));
  ViewLap = ViewMenu->addAction(QStringLiteral("&Lap"));
  View3DView = command("&3D View", &TFormMain::View3DViewClick, {});
}

int32_t TFormMain::ViewFlagsFromMenu() const {
  const std::pair<const QAction*, int32_t> bits[] = {
      {ViewTraces, kViewTraces},
      {ViewZeroLine, kViewZeroLine},
      {ViewWallOutline, kViewWallOutline},
      {ViewSFLine, kViewSFLine},
      {ViewShowNonZeroHeight, kViewShowNonZeroHeight},
      {ViewShowNonZeroUnk1, kViewShowNonZeroUnk1},
  };
  int32_t flags = 0;
  for (const auto& [item, bit] : bits)
    if (item->isChecked()) flags |= bit;
  return flags;
}

void TFormMain::BuildWindowMenu() {
  WindowMenu = menuBar()->addMenu(QStringLiteral("&Window"));
  WindowTile = new QAction(QStringLiteral("&Tile"), this);
  WindowCascade = new QAction(QStringLiteral("&Cascade"), this);
  connect(WindowTile, &QAction::triggered, this, &TFormMain::WindowTileClick);
  connect(WindowCascade, &QAction::triggered, this, &TFormMain::WindowCascadeClick);
  WindowHistory = new QAction(QStringLiteral("&History"), this);  // shows or hides it (see BuildToolWindows)
  FillWindowMenu();
  connect(WindowMenu, &QMenu::aboutToShow, this, &TFormMain::FillWindowMenu);
}

// Tile and Cascade, then the open child windows with the active one checked (a
// closed tool window is only hidden, and not listed).
void TFormMain::FillWindowMenu() {
  WindowMenu->clear();
  WindowMenu->addAction(WindowTile);
  WindowMenu->addAction(WindowCascade);
  WindowMenu->addAction(WindowHistory);
  QList<QMdiSubWindow*> children = MdiArea->subWindowList();
  children.removeIf([](const QMdiSubWindow* child) { return child->isHidden(); });
  if (children.isEmpty()) return;
  WindowMenu->addSeparator();
  int number = 0;
  for (QMdiSubWindow* child : children) {
    ++number;
    QAction* item = WindowMenu->addAction(QStringLiteral("&%1 %2").arg(number).arg(child->windowTitle()));
    item->setCheckable(true);
    item->setChecked(child == MdiArea->activeSubWindow());
    connect(item, &QAction::triggered, child, [this, child] {
      if (child->isMinimized()) child->showNormal();
      MdiArea->setActiveSubWindow(child);
    });
  }
}

// The recent files, newest first, numbered for the keyboard; then Clear.
void TFormMain::FillRecentMenu() {
  FileOpenRecent->clear();
  const std::vector<std::string> paths = shell_ ? shell_->Recent.Paths() : std::vector<std::string>{};
  int number = 0;
  for (const std::string& path : paths) {
    const QString file = QString::fromStdString(path);
    QAction* item = FileOpenRecent->addAction(QStringLiteral("&%1 %2").arg(++number).arg(file));
    connect(item, &QAction::triggered, this, [this, file] { FileOpenRecentClick(file); });
  }
  if (number > 0) FileOpenRecent->addSeparator();
  QAction* clear = FileOpenRecent->addAction(QStringLiteral("&Clear"));
  clear->setEnabled(number > 0);
  connect(clear, &QAction::triggered, this, &TFormMain::FileClearRecentClick);
}

void TFormMain::BuildStatusBar() {
  const int widths[2] = {140, 50};
  for (int i = 0; i < 2; ++i) {
    StatusPanels[i] = new QLabel(this);
    StatusPanels[i]->setFixedWidth(widths[i]);
    StatusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar()->addWidget(StatusPanels[i]);
  }
  // The first panel takes the pointer's position at its longest in the font it
  // is drawn with (140 pixels clip it in most fonts).
  StatusPanels[0]->setFixedWidth(std::max(widths[0], WidestPositionText(*StatusPanels[0])));
  StatusText = new QLabel(this);
  StatusText->setTextFormat(Qt::PlainText);  // it names files, whatever they are called
  statusBar()->addWidget(StatusText, 1);
  statusBar()->setSizeGripEnabled(true);
}

}  // namespace meridal
