// The frame's menus and status bar.
#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "graphics/view_flags.h"
#include "shell/document_shell.h"
#include "ui/main_window.h"

namespace meridal {

void TFormMain::BuildMenus() {
  BuildFileMenu();
  BuildEditMenu();
  BuildViewMenu();
  BuildWindowMenu();
  AboutItem = menuBar()->addAction(QStringLiteral("&About"));
  connect(AboutItem, &QAction::triggered, this, &TFormMain::AboutClick);
}

void TFormMain::BuildFileMenu() {
  FileMenu = menuBar()->addMenu(QStringLiteral("&File"));
  const auto add = [this](const char* caption, void (TFormMain::*handler)()) {
    QAction* item = FileMenu->addAction(QString::fromLatin1(caption));
    connect(item, &QAction::triggered, this, handler);
    return item;
  };
  FileNew = add("&New...", &TFormMain::FileNewClick);
  FileOpen = add("&Open...", &TFormMain::FileOpenClick);
  FileOpenRecent = FileMenu->addMenu(QStringLiteral("Open &Recent"));
  FillRecentMenu();
  FileMenu->addSeparator()->setEnabled(false);
  FileSave = add("&Save", &TFormMain::FileSaveClick);
  FileSaveAs = add("Save &As...", &TFormMain::FileSaveAsClick);
  FileImportTrackFile = add("&Import Track File...", &TFormMain::FileImportTrackFileClick);
  FileExportTrackFile = add("Export &Track File...", &TFormMain::FileExportTrackFileClick);
  FileMenu->addSeparator();
  FileExit = add("E&xit", &TFormMain::FileExitClick);
  FileSave->setEnabled(false);
  FileSaveAs->setEnabled(false);
  FileExportTrackFile->setEnabled(false);

  FileNew->setShortcut(QKeySequence::New);
  FileOpen->setShortcut(QKeySequence::Open);
  FileSave->setShortcut(QKeySequence::Save);
  FileSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  FileImportTrackFile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
  FileExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void TFormMain::BuildEditMenu() {
  EditMenuItems = menuBar()->addMenu(QStringLiteral("&Edit"));
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
  FillWindowMenu();
  connect(WindowMenu, &QMenu::aboutToShow, this, &TFormMain::FillWindowMenu);
}

// Tile and Cascade, then the open child windows with the active one checked.
void TFormMain::FillWindowMenu() {
  WindowMenu->clear();
  WindowMenu->addAction(WindowTile);
  WindowMenu->addAction(WindowCascade);
  const QList<QMdiSubWindow*> children = MdiArea->subWindowList();
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
  statusBar()->setSizeGripEnabled(true);
}

}  // namespace meridal
