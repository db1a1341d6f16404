#include "ui/screenshot.h"

#include <QEventLoop>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>

#include "model/track.h"
#include "model/wall.h"
#include "shell/document_shell.h"
#include "ui/main_window.h"
#include "ui/tree_window.h"

namespace meridal {

namespace {

void Settle(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

// The section to show: the first curved one (it has the most rows), else the first.
TSection* ShowcaseSection(TTrack& track) {
  for (auto& section : track.Sections)
    if (section->Type == kCurved) return section.get();
  return track.NumberOfSections() > 0 ? track.Section(0) : nullptr;
}

}  // namespace

bool TakeScreenshot(TFormMain& window, const QString& path, int wall) {
  TDocumentShell& shell = window.Shell();
  if (!shell.Track) shell.FileNew();
  // Without a window manager nothing maximises the frame: give it the screen.
  if (QScreen* screen = window.screen()) window.setGeometry(screen->availableGeometry());
  Settle(300);
  window.TileWindows();
  if (window.FormTree) {
    window.FormTree->TreeView->expandAll();
    if (TSection* section = ShowcaseSection(*shell.Track)) {
      window.FormTree->Nodes().Select(section->TreeNode);
      if (wall >= 0 && wall < section->NumberOfWalls()) window.FormTree->Nodes().Select(section->Wall(wall)->TreeNode);
    }
  }
  Settle(700);
  QPixmap picture;
  if (QScreen* screen = window.screen()) picture = screen->grabWindow(window.winId());
  if (picture.isNull()) picture = window.grab();
  return !picture.isNull() && picture.save(path, "PNG");
}

}  // namespace meridal
